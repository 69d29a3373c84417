# Clapping along: six people clap a rhythm together, "clap, clap, clap-clap-clap"
# twice, in a bright hall.
set -euo pipefail
R=44100

# Seconds as sox wants them, from milliseconds.
secs() { printf '%d.%03d' $(( $1 / 1000 )) $(( $1 % 1000 )); }
# rand <n>: sets r to a number from 0 to n-1, from a fixed pseudo-random sequence.
seed=31337
rand() { seed=$(( (seed * 1103515245 + 12345) % 2147483648 )); r=$(( seed / 65536 % $1 )); }

# Four kinds of clap, cut from different stretches of one noise file.
sox -r $R -n "$TMP/noise.wav" synth 1 whitenoise gain -3
KINDS=4
for k in $(seq 0 $(( KINDS - 1 ))); do
  centre=$(( 800 + k * 250 ))
  sox "$TMP/noise.wav" "$TMP/clap$k.wav" trim "$(secs $(( 150 + k * 150 )))" 0.07 \
      gain -16 highpass 400 equalizer $centre 1.2q 7 lowpass 6000 fade h 0.003 fade l 0 0.07 0.066
done

# The rhythm (ms), played twice.
BEATS=(0 300 600 750 900 1200 1500 1800 1950 2100)
LENGTH_MS=2700

mix=()
for c in $(seq 0 5); do
  parts=()
  rand 15; lead=$(( 5 + r ))
  sox -r $R -n "$TMP/lead$c.wav" trim 0 "$(secs $lead)"
  for i in "${!BEATS[@]}"; do
    # Each person is a little early or late on every beat.
    if (( i + 1 < ${#BEATS[@]} )); then
      rand 31; gap=$(( BEATS[i + 1] - BEATS[i] + r - 15 ))
    else
      gap=$(( LENGTH_MS - BEATS[i] + 150 ))
    fi
    rand $KINDS
    sox "$TMP/clap$r.wav" "$TMP/c$c-$i.wav" pad 0 "$(secs $(( gap - 70 )))"
    parts+=("$TMP/c$c-$i.wav")
  done
  pan=$(( 10 + c * 16 ))        # percent towards the right
  sox "$TMP/lead$c.wav" "${parts[@]}" "$TMP/clapper$c.wav" \
      remix 1v"$(secs $(( (100 - pan) * 10 )))" 1v"$(secs $(( pan * 10 )))" trim 0 "$(secs $LENGTH_MS)"
  mix+=(-v 0.3 "$TMP/clapper$c.wav")
done

sox -m "${mix[@]}" "$TMP/group.wav"
# A bright hall, and a compressor to round off the claps that land together.
sox "$TMP/group.wav" "$OUT" gain -n -8 reverb 55 40 90 100 5 -4 \
    compand 0.002,0.08 6:-30,-30,-4,-14 0 -90 0.002 fade h 0 "$(secs $LENGTH_MS)" 0.4
