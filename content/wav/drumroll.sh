# Drum roll: a snare roll growing from soft to loud, ending on a big stroke with a
# bass drum and a cymbal crash.
set -euo pipefail
R=44100

sox -r $R -n "$TMP/noise.wav" synth 3 whitenoise gain -10

# stroke <out> <noise offset>: one snare stroke, the rattle of the wires over the
# thump of the head.
stroke() {
  sox "$TMP/noise.wav" "$TMP/wires.wav" trim "$2" 0.12 highpass 1500 lowpass 9000 equalizer 4000 1q 4 \
      fade h 0.002 fade l 0 0.12 0.115
  sox -r $R -c 2 -n "$TMP/head.wav" synth 0.06 sine 190:165 triangle 330:300 remix 1v0.7,2v0.3 gain -12 \
      fade h 0.001 fade l 0 0.06 0.058
  sox -m -v 0.7 "$TMP/wires.wav" -v 1 "$TMP/head.wav" "$1"
}
stroke "$TMP/right.wav" 0
stroke "$TMP/left.wav" 0.5
stroke "$TMP/accent.wav" 1.0

# The roll: right and left hands taking turns, 24 strokes a second.
sox "$TMP/right.wav" "$TMP/r.wav" trim 0 0.042 fade h 0 0.042 0.004
sox "$TMP/left.wav" "$TMP/l.wav" trim 0 0.042 vol 0.85 fade h 0 0.042 0.004
sox "$TMP/r.wav" "$TMP/l.wav" "$TMP/pair.wav"
sox "$TMP/pair.wav" "$TMP/roll.wav" repeat 17
# Growing from a third of full strength to full.
sox "$TMP/roll.wav" "$TMP/roll-up.wav" fade t 1.5
sox -m -v 0.33 "$TMP/roll.wav" -v 0.67 "$TMP/roll-up.wav" "$TMP/roll-cresc.wav"

# The last stroke (at 1.512 s): snare, bass drum and cymbal crash.
sox -r $R -n "$TMP/kick.wav" synth 0.35 sine 95/45 gain -6 fade h 0.002 fade l 0 0.35 0.34
sox "$TMP/noise.wav" "$TMP/crash.wav" trim 1.3 1.6 highpass 2500 lowpass 10000 equalizer 5500 1q 4 \
    phaser 0.8 0.74 3 0.4 0.6 -t fade h 0.004 fade l 0 1.6 1.6
sox -m -v 0.6 "$TMP/accent.wav" -v 0.35 "$TMP/kick.wav" -v 0.8 "$TMP/crash.wav" "$TMP/end.wav"

sox "$TMP/roll-cresc.wav" "$TMP/end.wav" "$TMP/drums.wav"
sox "$TMP/drums.wav" "$TMP/room.wav" trim 0 2.5 reverb 30 50 60
sox "$TMP/room.wav" "$OUT" fade h 0 -0 0.4
