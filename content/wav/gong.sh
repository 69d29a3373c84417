# Gong: a soft mallet stroke on a big gong; inharmonic partials that beat gently
# against each other and die away slowly, the high ones first, with a shimmer
# that blooms just after the stroke.
set -euo pipefail
R=44100
LENGTH=2.9

# Partials: frequency (Hz, first to last), level (percent), ring time (ms, over
# which it dies away exponentially by 100 dB). The lowest sweeps up a little, as
# a gong's note does; close pairs beat slowly.
PARTIALS=(
  "98/101 100 9000" "98.7/101.5 50 8500" "147 45 7000" "205 60 7500" "206.2 30 7000"
  "241 40 6000" "288 45 6500" "355 40 5500" "417 35 5000" "418.4 20 5000" "510 30 4500"
  "620 25 4000" "780 18 3500" "990 13 3000" "1250 9 2500" "1580 6 2000"
)

mix=()
i=0
for p in "${PARTIALS[@]}"; do
  read -r hz level ms <<<"$p"
  len=$(printf '%d.%03d' $(( ms / 1000 )) $(( ms % 1000 )))
  sox -r $R -n "$TMP/p$i.wav" synth "$len" sine "$hz" gain -20 fade h 0.004 fade l 0 "$len" "$len"
  mix+=(-v "$(printf '%d.%02d' $(( level / 100 )) $(( level % 100 )))" "$TMP/p$i.wav")
  i=$(( i + 1 ))
done

# The felt mallet's thump.
sox -r $R -n "$TMP/mallet.wav" synth 0.08 brownnoise gain -10 lowpass 250 fade h 0.005 fade l 0 0.08 0.075
# The shimmer: a band of noise that swells for a third of a second, then fades.
sox -r $R -n "$TMP/shimmer.wav" synth 1.6 pinknoise gain -12 highpass 1800 lowpass 4000 \
    equalizer 2300 4q 6 equalizer 3300 4q 5 fade q 0.3 1.6 1.3

sox -m "${mix[@]}" -v 0.2 "$TMP/mallet.wav" -v 0.04 "$TMP/shimmer.wav" "$TMP/gong.wav" trim 0 "$LENGTH"
sox "$TMP/gong.wav" "$TMP/room.wav" reverb 30 60 80
sox "$TMP/room.wav" "$OUT" fade h 0 -0 0.7
