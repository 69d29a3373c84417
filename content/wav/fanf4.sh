# Fanfare: a brass section climbs C-E-G to a held C major chord over a timpani stroke.
set -euo pipefail
R=44100

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

# brass <out> <cents from A4> <seconds>: two slightly detuned sawtooths, rounded
# by low-pass filters with a horn-like bump round 1.2 kHz, a soft attack and release.
brass() {
  sox -r $R -c 2 -n "$1" synth "$3" sawtooth "$(pitch "$2")" sawtooth "$(pitch $(( $2 + 7 )))" remix - \
      gain -10 lowpass 1800 lowpass 3200 equalizer 1200 1.5q 4 \
      fade q 0.035 "$3" 0.08
}

C3=-2100 E3=-1700 G3=-1400 C4=-900 E4=-500 G4=-200 C5=300

# The climb: three short notes doubled an octave down, with little gaps.
i=0
for pair in "$C4 $C3" "$E4 $E3" "$G4 $G3"; do
  read -r high low <<<"$pair"
  brass "$TMP/hi.wav" "$high" 0.17
  brass "$TMP/lo.wav" "$low" 0.17
  sox -m -v 0.5 "$TMP/hi.wav" -v 0.35 "$TMP/lo.wav" "$TMP/climb$i.wav" pad 0 0.03
  i=$(( i + 1 ))
done

# The held chord, the top voice with a gentle vibrato.
brass "$TMP/top.wav" $C5 1.3
vibrato 1300 12
sox "$TMP/top.wav" "$TMP/top-v.wav" bend -f 50 "${bends[@]}" fade q 0.03 1.3 0.08
brass "$TMP/h1.wav" $G4 1.28
brass "$TMP/h2.wav" $E4 1.28
brass "$TMP/h3.wav" $C4 1.28
brass "$TMP/h4.wav" $C3 1.28
sox -m -v 0.5 "$TMP/top-v.wav" -v 0.3 "$TMP/h1.wav" -v 0.3 "$TMP/h2.wav" -v 0.3 "$TMP/h3.wav" \
    -v 0.35 "$TMP/h4.wav" "$TMP/chord.wav"

# Timpani under the chord: a low decaying tone and a soft felt knock.
sox -r $R -n "$TMP/timp.wav" synth 1.2 sine 66/64 sine 100 remix 1v0.8,2v0.25 gain -8 \
    fade h 0.006 fade l 0 1.2 1.15 pad 0.6
sox -r $R -n "$TMP/felt.wav" synth 0.05 brownnoise lowpass 300 gain -14 fade l 0 0.05 0.045 pad 0.6

sox "$TMP/climb0.wav" "$TMP/climb1.wav" "$TMP/climb2.wav" "$TMP/chord.wav" "$TMP/melody.wav"
sox -m -v 1 "$TMP/melody.wav" -v 0.8 "$TMP/timp.wav" -v 0.6 "$TMP/felt.wav" "$TMP/mix.wav"

# A hall round it; its tail fades by 2.4 s.
sox "$TMP/mix.wav" "$OUT" pad 0 0.5 trim 0 2.4 reverb 40 50 70 fade h 0 2.4 0.35
