# Flute: a short happy phrase in G major climbing G-A-B-D, B-D, up to a
# long top G, breathy, with a light vibrato.
set -euo pipefail
R=44100

# Seconds as sox wants them, from milliseconds.
secs() { printf '%d.%03d' $(( $1 / 1000 )) $(( $1 % 1000 )); }

# Pitch for synth ("%semitones from A4") from cents relative to A4.
pitch() {
  local c=$1 s=
  (( c < 0 )) && { s=-; c=$(( -c )); }
  printf '%%%s%d.%02d' "$s" $(( c / 100 )) $(( c % 100 ))
}

# vibrato <ms> <cents>: sets bends to the bend effect's triples for a 5 Hz vibrato
# of +-<cents> over <ms> milliseconds, from 0.15 s in.
vibrato() {
  local ms=$1 c=$2 t=200 sign=-1
  bends=("0.15,$2,0.05")
  while (( t + 200 <= ms )); do
    bends+=("0,$(( sign * 2 * c )),0.1")
    sign=$(( -sign )) t=$(( t + 100 ))
  done
}

sox -r $R -n "$TMP/noise.wav" synth 3 whitenoise gain -8 highpass 1200 lowpass 7000

# note <out> <cents from A4> <ms> <n>: a soft, nearly pure tone with a little
# second and third harmonic, a steady breath and a puff of air at the start.
note() {
  local out=$1 c=$2 ms=$3 n=$4 len
  len=$(secs "$ms")
  sox -r $R -c 3 -n "$TMP/tone.wav" synth "$len" sine "$(pitch "$c")" sine "$(pitch $(( c + 1200 )))" \
      sine "$(pitch $(( c + 1902 )))" remix 1v0.75,2v0.18,3v0.07 gain -8
  sox "$TMP/noise.wav" "$TMP/air.wav" trim "$(secs $(( n * 300 )))" "$len"
  sox "$TMP/noise.wav" "$TMP/puff.wav" trim "$(secs $(( n * 300 + 150 )))" 0.05 fade l 0 0.05 0.045
  sox -m -v 1 "$TMP/tone.wav" -v 0.1 "$TMP/air.wav" -v 0.35 "$TMP/puff.wav" "$out" \
      fade h 0.03 "$len" 0.04
}

G5=1000 A5=1200 B5=1400 D6=1700 G6=2200
PHRASE=("$G5 150" "$A5 150" "$B5 150" "$D6 300" "$B5 150" "$D6 150" "$G6 800")

parts=()
total=0
for i in "${!PHRASE[@]}"; do
  read -r c ms <<<"${PHRASE[i]}"
  note "$TMP/n$i.wav" "$c" "$ms" "$i"
  parts+=("$TMP/n$i.wav")
  total=$(( total + ms ))
done
sox "${parts[@]}" "$TMP/phrase.wav"
vibrato "$total" 10
sox "$TMP/phrase.wav" "$TMP/sung.wav" bend -f 50 "${bends[@]}" fade q 0.01 "$(secs $total)" 0.06 pad 0 0.45
sox "$TMP/sung.wav" "$TMP/room.wav" reverb 45 60 60
sox "$TMP/room.wav" "$OUT" fade h 0 -0 0.2
