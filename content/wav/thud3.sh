# Soft thud as a label drops into its box: a low falling tone with a padded knock,
# about 0.22 s.
# level: -4
set -euo pipefail
R=44100

sox -r $R -n "$TMP/body.wav" synth 0.22 sine 130/48 gain -3 fade h 0.004 fade l 0 -0 0.215
sox -r $R -n "$TMP/knock.wav" synth 0.06 brownnoise lowpass 450 gain -4 fade h 0.002 fade l 0 -0 0.055

sox -m -v 1 "$TMP/body.wav" -v 0.8 "$TMP/knock.wav" "$OUT" lowpass 900
