# Klaxon horn, "a-OO-gah!" twice: a buzzy horn note that swoops up, then opens
# out, with the rattle of the horn's motor.
set -euo pipefail
R=44100

# "a-oo": the swoop up, muffled.
sox -r $R -c 2 -n "$TMP/aoo.wav" synth 0.38 square 140:285 sawtooth 141:287 remix - gain -10 \
    lowpass 1000 equalizer 450 1q 5 fade h 0.04 0.38 0.03
# "gah": the held note opening out, sagging a little.
sox -r $R -c 2 -n "$TMP/gah.wav" synth 0.42 square 285:262 sawtooth 287:263 remix - gain -10 \
    lowpass 2400 equalizer 1000 1q 6 fade h 0.03 0.42 0.14 pad 0.35

sox -m -v 1 "$TMP/aoo.wav" -v 1 "$TMP/gah.wav" "$TMP/one.wav" \
    tremolo 32 35 overdrive 6 10 lowpass 3500 gain -n -6
sox "$TMP/one.wav" "$TMP/one-gap.wav" pad 0 0.18
sox "$TMP/one-gap.wav" "$TMP/one.wav" "$TMP/two.wav" pad 0 0.3
sox "$TMP/two.wav" "$TMP/room.wav" reverb 25 50 50
sox "$TMP/room.wav" "$OUT" fade h 0 -0 0.2
