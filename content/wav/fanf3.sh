# Fanfare: a bugle call, "Charge!" (G-C-E-G, E-G), echoing across a field.
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

# bugle <out> <cents from A4> <seconds>: one sawtooth with a rising "bell" shelf,
# a brassy bump round 1.4 kHz, a quick attack and a short release.
bugle() {
  sox -r $R -n "$1" synth "$3" sawtooth "$(pitch "$2")" \
      gain -9 lowpass 2400 lowpass 5000 equalizer 1400 1q 6 bass -4 300 \
      fade q 0.02 "$3" 0.05
}

G4=-200 C5=300 E5=700 G5=1000

i=0
for note in "$G4 0.12 0.03" "$C5 0.12 0.03" "$E5 0.12 0.03" "$G5 0.28 0.07" "$E5 0.12 0.03"; do
  read -r cents len gap <<<"$note"
  bugle "$TMP/b.wav" "$cents" "$len"
  sox "$TMP/b.wav" "$TMP/call$i.wav" pad 0 "$gap"
  i=$(( i + 1 ))
done
bugle "$TMP/b.wav" $G5 0.8
vibrato 800 15
sox "$TMP/b.wav" "$TMP/call5.wav" bend -f 50 "${bends[@]}" fade q 0.02 0.8 0.06

sox "$TMP/call0.wav" "$TMP/call1.wav" "$TMP/call2.wav" "$TMP/call3.wav" "$TMP/call4.wav" \
    "$TMP/call5.wav" "$TMP/call.wav" pad 0 0.7

# Two echoes off distant hills, softer and duller than the call.
sox "$TMP/call.wav" "$OUT" echo 0.8 0.8 230 0.3 470 0.12 lowpass 6000 trim 0 2.4 fade h 0 2.4 0.3
