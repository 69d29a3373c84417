# Slot-machine payout: quick alternating bell dings with coins clinking into the
# tray, then a bright ringing arpeggio.
set -euo pipefail
R=44100

# Seconds as sox wants them, from milliseconds.
secs() { printf '%d.%03d' $(( $1 / 1000 )) $(( $1 % 1000 )); }

# ding <out> <Hz> <seconds> <decay seconds>: a small bell, its partials at bell-like
# ratios, struck and ringing away.
ding() {
  local hz=$2
  sox -r $R -c 3 -n "$1" synth "$3" sine "$hz" sine $(( hz * 276 / 100 )) sine $(( hz * 540 / 100 )) \
      remix 1v0.65,2v0.25,3v0.06 fade h 0.002 fade l 0 "$3" "$4"
}

# The payout: two bells taking turns, 14 strokes a second, each ringing on under
# the next.
ding "$TMP/hi.wav" 1319 0.14 0.14    # E6
ding "$TMP/lo.wav" 1047 0.14 0.14    # C6
sox "$TMP/hi.wav" "$TMP/run-hi.wav" repeat 11
sox "$TMP/lo.wav" "$TMP/run-lo.wav" repeat 11 pad 0.07

# Coins: tiny bright clinks at irregular moments (a fixed pseudo-random sequence).
seed=20240611
# rand <n>: sets r to a number from 0 to n-1.
rand() { seed=$(( (seed * 1103515245 + 12345) % 2147483648 )); r=$(( seed / 65536 % $1 )); }
coins=()
for i in $(seq 0 13); do
  rand 2200; hz=$(( 3800 + r ))
  rand 60; at_ms=$(( i * 115 + r ))
  sox -r $R -c 2 -n "$TMP/coin$i.wav" synth 0.05 sine $hz sine $(( hz * 153 / 100 )) remix 1v0.6,2v0.4 \
      fade h 0.001 fade l 0 0.05 0.048 pad "$(secs $at_ms)"
  coins+=(-v 0.25 "$TMP/coin$i.wav")
done

# The flourish: C-E-G-C bells, then all ringing together.
i=0
for hz in 1047 1319 1568 2093; do    # C6 E6 G6 C7
  ding "$TMP/a$i.wav" $hz 1.0 1.0
  sox "$TMP/a$i.wav" "$TMP/arp$i.wav" pad "$(secs $(( i * 60 )))"
  i=$(( i + 1 ))
done
sox -m "$TMP/arp0.wav" "$TMP/arp1.wav" "$TMP/arp2.wav" "$TMP/arp3.wav" "$TMP/flourish.wav" pad 1.6

sox -m -v 0.45 "$TMP/run-hi.wav" -v 0.45 "$TMP/run-lo.wav" "${coins[@]}" -v 0.7 "$TMP/flourish.wav" \
    "$TMP/mix.wav"
sox "$TMP/mix.wav" "$OUT" lowpass 9000 trim 0 2.5 reverb 30 60 50 fade h 0 2.5 0.3
