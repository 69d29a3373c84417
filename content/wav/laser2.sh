# Sci-fi laser, "pew-pew": two quick zaps sweeping down from high to low, with a
# buzzy edge and a spacey echo.
set -euo pipefail
R=44100

# pew <out> <from Hz> <to Hz> <seconds>: a tone falling by the same musical step
# every moment, given a few harmonics by light overdrive, buzzing at 60 Hz and
# fading as it falls. (Only sine sweeps downwards cleanly in sox's synth.)
pew() {
  sox -r $R -n "$1" synth "$4" sine "$2/$3" gain -6 overdrive 8 lowpass 5000 tremolo 60 40 \
      fade h 0.003 "$4" "$4"
}
pew "$TMP/pew1.wav" 2400 300 0.24
pew "$TMP/pew2.wav" 2800 350 0.24

sox "$TMP/pew1.wav" "$TMP/pew1-gap.wav" pad 0 0.05
sox "$TMP/pew1-gap.wav" "$TMP/pew2.wav" "$TMP/pews.wav" pad 0 0.2
sox "$TMP/pews.wav" "$TMP/space.wav" echo 0.8 0.7 120 0.25 240 0.1
sox "$TMP/space.wav" "$OUT" fade h 0 -0 0.1
