# Applause: a room of sixteen people clapping, swelling up and dying away.
set -euo pipefail
R=44100

# Seconds as sox wants them, from milliseconds.
secs() { printf '%d.%03d' $(( $1 / 1000 )) $(( $1 % 1000 )); }
# rand <n>: sets r to a number from 0 to n-1, from a fixed pseudo-random sequence.
seed=77
rand() { seed=$(( (seed * 1103515245 + 12345) % 2147483648 )); r=$(( seed / 65536 % $1 )); }

# Six kinds of clap: short bursts of noise (each cut from a different stretch of
# one noise file, so they differ), each hand pair with its own hollow resonance.
sox -r $R -n "$TMP/noise.wav" synth 1 whitenoise gain -3
KINDS=6
for k in $(seq 0 $(( KINDS - 1 ))); do
  centre=$(( 900 + k * 260 ))
  sox "$TMP/noise.wav" "$TMP/clap$k.wav" trim "$(secs $(( k * 100 )))" 0.05 \
      gain -16 highpass 500 equalizer $centre 1.5q 9 lowpass 6500 fade h 0.001 fade l 0 0.05 0.045
done

# segment <kind> <ms>: one clap followed by silence, <ms> long in all (made once).
segment() {
  local f="$TMP/seg-$1-$2.wav"
  [[ -e $f ]] || sox "$TMP/clap$1.wav" "$f" pad 0 "$(secs $(( $2 - 50 )))"
  echo "$f"
}

# Each clapper: own pace (about 4 to 6 claps a second, a little uneven), own
# start, own loudness and place between the speakers.
LENGTH_MS=2600
mix=()
for c in $(seq 0 15); do
  rand 80; period=$(( 160 + r ))
  t=0
  parts=()
  while (( t < LENGTH_MS )); do
    rand 30; step=$(( (period + r - 15) / 10 * 10 ))
    rand $KINDS; parts+=("$(segment $r $step)")
    t=$(( t + step ))
  done
  rand 40; pan=$(( c % 2 ? 55 + r : 5 + r ))   # percent towards the right
  rand 41; level=$(( 60 + r ))                 # percent
  rand 200; sox -r $R -n "$TMP/lead.wav" trim 0 "$(secs $(( 1 + r )))"
  sox "$TMP/lead.wav" "${parts[@]}" "$TMP/clapper$c.wav" \
      remix 1v"$(secs $(( (100 - pan) * level / 10 )))" 1v"$(secs $(( pan * level / 10 )))" \
      trim 0 "$(secs $LENGTH_MS)"
  mix+=(-v 0.25 "$TMP/clapper$c.wav")
done

sox -m "${mix[@]}" "$TMP/crowd.wav"
# A little room, and a gentle compressor so that chance pile-ups of claps do not
# stick out.
sox "$TMP/crowd.wav" "$OUT" gain -n -8 reverb 35 50 70 100 0 -3 \
    compand 0.002,0.06 6:-25,-25,-5,-12 0 -90 0.002 fade q 0.3 "$(secs $LENGTH_MS)" 0.9
