# Button click: a soft wooden "tock", about 40 ms.
# level: -13
set -euo pipefail
R=44100

# Body: a short falling tone with a quick exponential decay.
sox -r $R -n "$TMP/tone.wav" synth 0.04 sine 1400/900 sine 2900/2100 remix 1v0.8,2v0.2 \
    fade h 0.0015 fade l 0 -0 0.0385
# Contact: a 4 ms breath of low-passed noise, kept well under the tone.
sox -r $R -n "$TMP/tick.wav" synth 0.004 whitenoise lowpass 3000 gain -16 fade l 0 -0 0.0035

sox -m -v 1 "$TMP/tone.wav" -v 1 "$TMP/tick.wav" "$OUT" lowpass 6000
