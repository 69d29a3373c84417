# Firework whizz: a whistle that climbs as the rocket shoots up, wobbling a
# little, then a soft sparkle of tiny pings as it bursts (no bang).
set -euo pipefail
R=44100

# Seconds as sox wants them, from milliseconds.
secs() { printf '%d.%03d' $(( $1 / 1000 )) $(( $1 % 1000 )); }
# rand <n>: sets r to a number from 0 to n-1, from a fixed pseudo-random sequence.
seed=1105
rand() { seed=$(( (seed * 1103515245 + 12345) % 2147483648 )); r=$(( seed / 65536 % $1 )); }

# The whistle: a sine gliding up, with an airy rush under it, and a fast wobble.
sox -r $R -n "$TMP/tone.wav" synth 1.1 sine 650/2000 gain -8
sox -r $R -n "$TMP/rush.wav" synth 1.1 pinknoise gain -20 highpass 1500 lowpass 5000
sox -m -v 1 "$TMP/tone.wav" -v 0.8 "$TMP/rush.wav" "$TMP/whistle.wav" \
    tremolo 14 30 fade q 0.15 1.1 0.12 pad 0 0.05

# The sparkle: sixteen tiny high pings scattered over half a second, either side.
pings=()
for i in $(seq 0 15); do
  rand 2500; hz=$(( 2500 + r ))
  rand 500; at=$(( 1100 + i * 25 + r / 4 ))
  rand 60; pan=$(( i % 2 ? 60 + r / 2 : 10 + r / 2 ))
  sox -r $R -n "$TMP/ping$i.wav" synth 0.12 sine $hz gain -10 fade h 0.001 fade l 0 0.12 0.115 \
      pad "$(secs $at)" remix 1v"$(secs $(( (100 - pan) * 10 )))" 1v"$(secs $(( pan * 10 )))"
  pings+=(-v 0.35 "$TMP/ping$i.wav")
done

sox "$TMP/whistle.wav" "$TMP/whistle-st.wav" remix 1v0.7 1v0.7
sox -m -v 0.8 "$TMP/whistle-st.wav" "${pings[@]}" "$TMP/mix.wav" pad 0 0.4
sox "$TMP/mix.wav" "$TMP/room.wav" reverb 40 50 70
sox "$TMP/room.wav" "$OUT" fade h 0 -0 0.3
