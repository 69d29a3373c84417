# Clown's bulb horn, "honk honk!": a squeezed reed note, nasal and rattly, that
# scoops up to pitch and creeps sharp as the bulb is squeezed.
set -euo pipefail
R=44100

# honk <out> <Hz> <seconds>
honk() {
  local lo=$(( $2 * 92 / 100 )) hi=$(( $2 * 105 / 100 ))
  # Up quickly to the note...
  sox -r $R -c 2 -n "$TMP/in.wav" synth 0.05 sawtooth "$lo:$2" square "$lo:$2" remix 1v0.6,2v0.4
  # ...and hold it, creeping sharp.
  sox -r $R -c 2 -n "$TMP/hold.wav" synth "$3" sawtooth "$2:$hi" square "$2:$hi" remix 1v0.6,2v0.4
  sox "$TMP/in.wav" "$TMP/hold.wav" "$TMP/raw.wav"
  sox "$TMP/raw.wav" "$1" gain -12 overdrive 12 20 equalizer 1300 1.2q 8 equalizer 2600 2q 4 \
      lowpass 4000 highpass 150 tremolo 27 45 fade h 0.015 -0 0.06
}
honk "$TMP/h1.wav" 370 0.2
honk "$TMP/h2.wav" 370 0.26

sox "$TMP/h1.wav" "$TMP/h1-gap.wav" pad 0 0.12
sox "$TMP/h1-gap.wav" "$TMP/h2.wav" "$TMP/honks.wav" pad 0 0.3
sox "$TMP/honks.wav" "$TMP/room.wav" reverb 20 50 40
sox "$TMP/room.wav" "$OUT" fade h 0 -0 0.15
