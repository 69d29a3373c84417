# Fanfare: bright trumpets in F, "ta-ta-ta TAA, ta TAAA", ending on an F major chord.
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

# trumpet <out> <cents from A4> <seconds>: sawtooth and a narrow square, detuned a
# little, filtered to a bright brass tone; quick attack, short release.
trumpet() {
  sox -r $R -c 3 -n "$1" synth "$3" sawtooth "$(pitch "$2")" sawtooth "$(pitch $(( $2 - 6 )))" \
      square "$(pitch $(( $2 + 4 )))" 0 0 30 remix 1v0.45,2v0.45,3v0.25 \
      gain -10 highpass 60 lowpass 2600 lowpass 4500 equalizer 1500 1.2q 5 \
      fade q 0.025 "$3" 0.06
}

F3=-1600 F4=-400 A4=0 C5=300 F5=800

# The tune: three quick repeated notes, a long one, a pick-up, and the last note.
i=0
for note in "$C5 0.11 0.02" "$C5 0.11 0.02" "$C5 0.11 0.02" "$F5 0.34 0.04" "$C5 0.12 0.02"; do
  read -r cents len gap <<<"$note"
  trumpet "$TMP/t.wav" "$cents" "$len"
  sox "$TMP/t.wav" "$TMP/tune$i.wav" pad 0 "$gap"
  i=$(( i + 1 ))
done

# Last note: the tune on top with vibrato, an F major chord underneath.
trumpet "$TMP/top.wav" $F5 1.1
vibrato 1100 12
sox "$TMP/top.wav" "$TMP/top-v.wav" bend -f 50 "${bends[@]}" fade q 0.02 1.1 0.08
trumpet "$TMP/h1.wav" $C5 1.07
trumpet "$TMP/h2.wav" $A4 1.07
trumpet "$TMP/h3.wav" $F4 1.07
trumpet "$TMP/h4.wav" $F3 1.07
sox -m -v 0.5 "$TMP/top-v.wav" -v 0.28 "$TMP/h1.wav" -v 0.28 "$TMP/h2.wav" -v 0.28 "$TMP/h3.wav" \
    -v 0.35 "$TMP/h4.wav" "$TMP/chord.wav"

# The earlier notes sit a little below the full chord.
sox "$TMP/tune0.wav" "$TMP/tune1.wav" "$TMP/tune2.wav" "$TMP/tune3.wav" "$TMP/tune4.wav" \
    "$TMP/tune.wav" vol 0.75
sox "$TMP/tune.wav" "$TMP/chord.wav" "$TMP/all.wav" pad 0 0.45

sox "$TMP/all.wav" "$OUT" trim 0 2.3 reverb 30 50 60 fade h 0 2.3 0.3
