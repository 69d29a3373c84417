# Choir: "Hal-le-lu-jah" sung by four parts, on C major with F major under "lu",
# in a church acoustic.
set -euo pipefail
R=44100

# Pitch for synth ("%semitones from A4") from cents relative to A4.
pitch() {
  local c=$1 s=
  (( c < 0 )) && { s=-; c=$(( -c )); }
  printf '%%%s%d.%02d' "$s" $(( c / 100 )) $(( c % 100 ))
}

# vibrato <ms> <cents>: sets bends to the bend effect's triples for a 5 Hz vibrato
# of +-<cents> over <ms> milliseconds, from 0.1 s in.
vibrato() {
  local ms=$1 c=$2 t=150 sign=-1
  bends=("0.1,$2,0.05")
  while (( t + 200 <= ms )); do
    bends+=("0,$(( sign * 2 * c )),0.1")
    sign=$(( -sign )) t=$(( t + 100 ))
  done
}

# vowel <in> <out> <F1> <F2> <F3>: shapes a buzzy source into a sung vowel with
# three formant resonances in parallel.
vowel() {
  sox "$1" "$TMP/f1.wav" bandpass "$3" 90h
  sox "$1" "$TMP/f2.wav" bandpass "$4" 110h
  sox "$1" "$TMP/f3.wav" bandpass "$5" 150h
  sox -m -v 1 "$TMP/f1.wav" -v 0.55 "$TMP/f2.wav" -v 0.3 "$TMP/f3.wav" "$2"
}

# syllable <out> <ms> <F1> <F2> <F3> <cents>...: every chord note sung by three
# slightly detuned voices, with a gentle vibrato, through the vowel's formants.
syllable() {
  local out=$1 ms=$2 f1=$3 f2=$4 f3=$5 c len
  shift 5
  local voices=()
  for c in "$@"; do
    voices+=(sawtooth "$(pitch "$c")" sawtooth "$(pitch $(( c + 9 )))" sawtooth "$(pitch $(( c - 8 )))")
  done
  len=$(printf '%d.%03d' $(( ms / 1000 )) $(( ms % 1000 )))
  sox -r $R -c ${#voices[@]} -n "$TMP/src.wav" synth "$len" "${voices[@]}"
  vibrato "$ms" 10
  sox "$TMP/src.wav" "$TMP/mono.wav" remix - gain -8 bend -f 50 "${bends[@]}"
  vowel "$TMP/mono.wav" "$TMP/v.wav" "$f1" "$f2" "$f3"
  sox "$TMP/v.wav" "$out" fade h 0.05 "$len" 0.07
}

# Chords, top to bottom.
C_MAJOR=(300 -200 -500 -2100)   # C5 G4 E4 C3
F_MAJOR=(300 0 -400 -1600)      # C5 A4 F4 F3

# Vowels as formant frequencies (Hz).
AH=(800 1150 2800)
EH=(550 1770 2500)
OO=(350 750 2400)

syllable "$TMP/s1.wav" 300 "${AH[@]}" "${C_MAJOR[@]}"
syllable "$TMP/s2.wav" 270 "${EH[@]}" "${C_MAJOR[@]}"
syllable "$TMP/s3.wav" 340 "${OO[@]}" "${F_MAJOR[@]}"
syllable "$TMP/s4.wav" 1350 "${AH[@]}" "${C_MAJOR[@]}"

# The breathy "h" before the first vowel.
sox -r $R -n "$TMP/breath.wav" synth 0.07 pinknoise gain -12
vowel "$TMP/breath.wav" "$TMP/h.wav" "${AH[@]}"
sox "$TMP/h.wav" "$TMP/h-env.wav" fade t 0.05 0.07 0.02

sox "$TMP/h-env.wav" "$TMP/s1.wav" "$TMP/s2.wav" "$TMP/s3.wav" "$TMP/s4.wav" "$TMP/sung.wav" pad 0 0.6
sox "$TMP/sung.wav" "$OUT" trim 0 2.8 reverb 60 50 100 100 10 fade h 0 2.8 0.4
