# Typewriter key: a crisp strike, a short clack of the key on the plate and a
# little low knock of the carriage, about 75 ms.
# level: -10
set -euo pipefail
R=44100

sox -r $R -n "$TMP/noise.wav" synth 0.3 whitenoise gain -6

# Strike: bright, a few milliseconds.
sox "$TMP/noise.wav" "$TMP/strike.wav" trim 0 0.008 highpass 2500 lowpass 7000 gain 6 fade l 0 -0 0.007
# Clack: a band of noise round 1.8 kHz with a fast decay.
sox "$TMP/noise.wav" "$TMP/clack.wav" trim 0.1 0.05 sinc 1100-2700 fade h 0.001 fade l 0 -0 0.048 gain -2
# Knock: a falling low tone.
sox -r $R -n "$TMP/knock.wav" synth 0.07 sine 260/170 gain -10 fade h 0.002 fade l 0 -0 0.065 pad 0.003

# A second, softer tick as the key springs back.
sox "$TMP/noise.wav" "$TMP/back.wav" trim 0.2 0.006 highpass 3000 lowpass 6000 gain -14 \
    fade l 0 -0 0.005 pad 0.065

sox -m -v 1 "$TMP/strike.wav" -v 1 "$TMP/clack.wav" -v 1 "$TMP/knock.wav" -v 1 "$TMP/back.wav" \
    "$OUT" fade h 0.0005 -0 0.005
