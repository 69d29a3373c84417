# A group cheer, "hoo-RAY!": a soft rising "hoo" swelling into a loud, falling
# "ray", grown-ups and children together.
set -euo pipefail
R=44100

# Seconds as sox wants them, from milliseconds.
secs() { printf '%d.%03d' $(( $1 / 1000 )) $(( $1 % 1000 )); }

# vowel <in> <out> <F1> <F2> <F3>: shapes a buzzy source into a vowel with three
# broad formant resonances in parallel; the result peaks at -6 dB.
vowel() {
  sox "$1" "$TMP/f1.wav" bandpass "$3" 200h
  sox "$1" "$TMP/f2.wav" bandpass "$4" 250h
  sox "$1" "$TMP/f3.wav" bandpass "$5" 300h
  sox -m -v 1 "$TMP/f1.wav" -v 0.6 "$TMP/f2.wav" -v 0.3 "$TMP/f3.wav" "$2" gain -n -6
}

# Voices: starting pitch (Hz) and how late each joins in (ms).
VOICES=("196 30" "220 0" "247 45" "262 15" "311 60" "349 20" "392 35")

# syllable <out> <ms> <start %> <end %> <F1> <F2> <F3>: every voice glides from
# <start %> to <end %> of its pitch, joining at its own moment; all through one vowel.
syllable() {
  local out=$1 ms=$2 from=$3 to=$4 f1=$5 f2=$6 f3=$7 v hz late n=0
  local parts=()
  for v in "${VOICES[@]}"; do
    read -r hz late <<<"$v"
    sox -r $R -n "$TMP/voice$n.wav" synth "$(secs "$ms")" \
        sawtooth $(( hz * from / 100 )):$(( hz * to / 100 )) gain -6 \
        fade h 0.03 "$(secs "$ms")" 0.06 pad "$(secs "$late")"
    parts+=(-v 0.2 "$TMP/voice$n.wav")
    n=$(( n + 1 ))
  done
  # A breath of noise under the voices, for a shouted sound.
  sox -r $R -n "$TMP/breath.wav" synth "$(secs "$ms")" pinknoise gain -24 fade h 0.05 "$(secs "$ms")" 0.1
  sox -m "${parts[@]}" -v 0.5 "$TMP/breath.wav" "$TMP/src.wav"
  vowel "$TMP/src.wav" "$out" "$f1" "$f2" "$f3"
}

syllable "$TMP/hoo.wav" 450 100 125 350 800 2300   # "oo"
syllable "$TMP/ray.wav" 1000 150 115 600 1800 2600 # "ay"

# "hoo" swells up and stays softer; "ray" comes in strong and dies away.
sox "$TMP/hoo.wav" "$TMP/hoo-env.wav" fade t 0.35 vol 0.5
sox "$TMP/ray.wav" "$TMP/ray-env.wav" fade h 0.02 1.06 0.6
sox "$TMP/hoo-env.wav" "$TMP/ray-env.wav" "$TMP/cheer.wav" pad 0 0.5
sox "$TMP/cheer.wav" "$OUT" reverb 40 50 70 fade h 0 2.0 0.3
