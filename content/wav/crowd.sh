# A crowd cheering: a roar of many voices with "yay!", "woo!" and "ah!" shouts
# popping out of it and a happy whistle, swelling up and dying away. Stereo.
set -euo pipefail
R=44100
LENGTH_MS=2600

# Seconds as sox wants them, from milliseconds.
secs() { printf '%d.%03d' $(( $1 / 1000 )) $(( $1 % 1000 )); }
# rand <n>: sets r to a number from 0 to n-1, from a fixed pseudo-random sequence.
seed=4242
rand() { seed=$(( (seed * 1103515245 + 12345) % 2147483648 )); r=$(( seed / 65536 % $1 )); }

# vowel <in> <out> <F1> <F2> <F3>: shapes a buzzy source into a vowel with three
# broad formant resonances in parallel; the result peaks at -6 dB.
vowel() {
  sox "$1" "$TMP/f1.wav" bandpass "$3" 200h
  sox "$1" "$TMP/f2.wav" bandpass "$4" 250h
  sox "$1" "$TMP/f3.wav" bandpass "$5" 300h
  sox -m -v 1 "$TMP/f1.wav" -v 0.6 "$TMP/f2.wav" -v 0.3 "$TMP/f3.wav" "$2" gain -n -6
}

# shouts <out> <count> <from %> <to %> <F1> <F2> <F3>: <count> voices of random
# pitch, start and length, each gliding from <from %> to <to %> of its pitch,
# through one vowel.
shouts() {
  local out=$1 count=$2 from=$3 to=$4 i hz ms at
  local parts=()
  for (( i = 0; i < count; i++ )); do
    rand 260; hz=$(( 170 + r ))
    rand 400; ms=$(( 450 + r ))
    rand 1300; at=$(( 100 + r ))
    sox -r $R -n "$TMP/s$i.wav" synth "$(secs $ms)" sawtooth $(( hz * from / 100 )):$(( hz * to / 100 )) \
        gain -8 fade h 0.06 "$(secs $ms)" 0.25 pad "$(secs $at)"
    parts+=("$TMP/s$i.wav")
  done
  sox -m "${parts[@]}" "$TMP/src.wav"
  vowel "$TMP/src.wav" "$out" "$5" "$6" "$7"
}

shouts "$TMP/yay.wav" 5 135 105 600 1800 2600    # "yay!", falling
shouts "$TMP/woo.wav" 5 100 135 350 800 2300     # "woo!", rising
shouts "$TMP/ah.wav" 4 110 125 750 1200 2700     # "ah!"

# The roar: two layers of stereo pink noise (the second played backwards, so the
# two differ), shaped like voices and fluttering at different rates.
sox -r $R -c 2 -n "$TMP/noise.wav" synth "$(secs $LENGTH_MS)" pinknoise gain -8
sox "$TMP/noise.wav" "$TMP/roar1.wav" highpass 250 lowpass 3000 equalizer 600 1q 6 equalizer 1700 1.5q 3 \
    tremolo 6.3 45
sox "$TMP/noise.wav" "$TMP/roar2.wav" reverse highpass 250 lowpass 3000 equalizer 800 1q 6 tremolo 4.1 40

# A cheerful two-note whistle.
sox -r $R -n "$TMP/wh1.wav" synth 0.3 sine 1500:2300 fade h 0.05 0.3 0.02
sox -r $R -n "$TMP/wh2.wav" synth 0.35 sine 2300:1900 fade h 0.01 0.35 0.15
sox "$TMP/wh1.wav" "$TMP/wh2.wav" "$TMP/whistle.wav" gain -6 pad 1.0

# Place everything between the speakers and mix.
sox "$TMP/yay.wav" "$TMP/yay-st.wav" remix 1v0.8 1v0.4
sox "$TMP/woo.wav" "$TMP/woo-st.wav" remix 1v0.4 1v0.8
sox "$TMP/ah.wav" "$TMP/ah-st.wav" remix 1v0.6 1v0.6
sox "$TMP/whistle.wav" "$TMP/whistle-st.wav" remix 1v0.3 1v0.6
sox -m -v 0.45 "$TMP/roar1.wav" -v 0.35 "$TMP/roar2.wav" -v 0.5 "$TMP/yay-st.wav" -v 0.5 "$TMP/woo-st.wav" \
    -v 0.45 "$TMP/ah-st.wav" -v 0.07 "$TMP/whistle-st.wav" "$TMP/mix.wav" trim 0 "$(secs $LENGTH_MS)"

sox "$TMP/mix.wav" "$OUT" reverb 40 50 80 100 0 -4 fade q 0.3 "$(secs $LENGTH_MS)" 0.9
