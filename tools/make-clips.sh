#!/usr/bin/env bash
# Builds the WAV clips from their sox recipes.
#
#   bash tools/make-clips.sh <recipe dir> <out dir>
#
# Each <recipe dir>/<name>.sh is run with bash, in a fresh temporary folder, with
#   OUT  the file to write, <out dir>/<name>.wav (any format sox reads back)
#   TMP  that temporary folder, removed afterwards.
# The clip is then levelled and rewritten as 16-bit PCM at 44100 Hz, mono or stereo.
#
# Levelling: every clip is brought to the same loudness, measured as the loudest
# 400 ms of the clip (K-weighted RMS, 100 ms steps), with sample peaks kept at or
# below -1 dBFS. A recipe may ask to sit above or below that with a comment line
#   # level: -8
# (in dB; used for the quiet interface clicks). A clip that cannot reach its level
# within 3 dB without passing the peak ceiling fails the build: tame its peaks.
#
# sox runs in repeatable mode (-R, through SOX_OPTS), so noise and dither come out
# the same on every run: the output is byte-for-byte the same each time. Because of
# that, each separate `synth noise` call gives the SAME noise; a recipe that wants
# independent noise takes different stretches of one longer noise file, or several
# channels of one call.
#
# Needs only bash, sox and coreutils.
set -euo pipefail

RATE=44100
TARGET_CDB=-2000   # loudness every clip is brought to, in hundredths of a dB
CEILING_CDB=-100   # highest sample peak allowed, hundredths of a dBFS
TOLERANCE_CDB=300  # how far a clip may end up from its level
WINDOW=0.4         # loudness window, seconds
HOP_MS=100         # step between windows, milliseconds

die() { echo "make-clips: $*" >&2; exit 1; }

(( $# == 2 )) || { echo "usage: bash tools/make-clips.sh <recipe dir> <out dir>" >&2; exit 2; }
[[ -d $1 ]] || die "no recipe folder: $1"
src=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)

export LC_ALL=C
export SOX_OPTS="-R -V2"
command -v sox >/dev/null || die "sox is not installed"

# Decimal text to hundredths and back: "-13.82" <-> -1382; "-inf" -> -99900.
to_cdb() {
  local v=$1 sign=1 int frac
  [[ $v == *inf* ]] && { echo -99900; return; }
  [[ $v == -* ]] && { sign=-1; v=${v#-}; }
  [[ $v =~ ^([0-9]+)(\.([0-9]*))?$ ]] || die "not a number: $1"
  int=${BASH_REMATCH[1]}
  frac="${BASH_REMATCH[3]}00"
  frac=${frac:0:2}
  echo $(( sign * (10#$int * 100 + 10#$frac) ))
}

from_cdb() {
  local v=$1 sign=
  (( v < 0 )) && { sign=-; v=$(( -v )); }
  printf '%s%d.%02d' "$sign" $(( v / 100 )) $(( v % 100 ))
}

# A figure of `sox ... stats` output, by its (three-word) label, in hundredths.
stat_cdb() {  # <stats text> <label>
  local line
  while IFS= read -r line; do
    if [[ $line == "$2 "* ]]; then
      set -- $line   # label words, then the overall figure
      to_cdb "$4"
      return
    fi
  done <<<"$1"
  die "sox stats gave no '$2'"
}

# Loudness of a clip in hundredths of a dB: the loudest 400 ms window of the
# K-weighted signal (high-pass plus a high shelf), channels averaged by power.
loudness_cdb() {  # <file> <scratch dir>
  local f=$1 k="$2/kweighted.wav" len_ms start_ms best=-99900 v
  # 20 dB of headroom so the filters cannot clip; added back below.
  sox "$f" "$k" gain -20 highpass 40 treble 4 1680 pad 0 "$WINDOW"
  len_ms=$(( $(sox --i -s "$k") * 1000 / $(sox --i -r "$k") ))
  for (( start_ms = 0; start_ms + 400 <= len_ms; start_ms += HOP_MS )); do
    v=$(stat_cdb "$(sox "$k" -n trim "$(from_cdb $(( start_ms / 10 )))" "$WINDOW" stats 2>&1)" "RMS lev dB")
    (( v > best )) && best=$v
  done
  echo $(( best > -90000 ? best + 2000 : best ))
}

peak_cdb() {  # <file>
  stat_cdb "$(sox "$1" -n stats 2>&1)" "Pk lev dB"
}

# The level a recipe asks for, relative to the common loudness, in hundredths.
recipe_level_cdb() {  # <recipe>
  local line
  while IFS= read -r line; do
    if [[ $line =~ ^#[[:space:]]*level:[[:space:]]*([-+]?[0-9]+(\.[0-9]+)?) ]]; then
      to_cdb "${BASH_REMATCH[1]#+}"
      return
    fi
  done <"$1"
  echo 0
}

shopt -s nullglob
recipes=("$src"/*.sh)
(( ${#recipes[@]} )) || die "no recipes in $src"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '%-12s %6s %3s %8s %8s %7s\n' clip seconds ch loudness peak gain
for recipe in "${recipes[@]}"; do
  name=$(basename "$recipe" .sh)
  dest="$out/$name.wav"
  tmp="$work/$name"
  scratch="$work/$name.measure"
  mkdir "$tmp" "$scratch"
  rm -f "$dest"

  if ! (cd "$tmp" && OUT="$dest" TMP="$tmp" bash -euo pipefail "$recipe"); then
    rm -f "$dest"
    die "recipe $name failed"
  fi
  rm -rf "$tmp"
  [[ -s $dest ]] || die "recipe $name wrote no $dest"

  channels=$(sox --i -c "$dest")
  (( channels == 1 || channels == 2 )) || die "$name has $channels channels; clips are mono or stereo"
  (( $(sox --i -s "$dest") > 0 )) || die "$name is empty"

  want=$(( TARGET_CDB + $(recipe_level_cdb "$recipe") ))
  loud=$(loudness_cdb "$dest" "$scratch")
  peak=$(peak_cdb "$dest")
  (( loud > -9000 )) || die "$name is silent"
  gain=$(( want - loud ))
  (( peak + gain > CEILING_CDB )) && gain=$(( CEILING_CDB - peak ))

  sox "$dest" -r "$RATE" -b 16 -e signed-integer "$scratch/final.wav" \
      gain "$(from_cdb "$gain")" fade h 0 -0 0.005
  mv "$scratch/final.wav" "$dest"

  # Check what was written.
  [[ $(sox --i -r "$dest") == "$RATE" && $(sox --i -b "$dest") == 16 ]] || die "$name: wrong format"
  loud=$(loudness_cdb "$dest" "$scratch")
  peak=$(peak_cdb "$dest")
  diff=$(( loud - want ))
  (( diff < 0 )) && diff=$(( -diff ))
  (( diff <= TOLERANCE_CDB )) ||
    die "$name is $(from_cdb $(( loud - want ))) dB from its level (peaks too high for its loudness)"
  (( peak <= CEILING_CDB + 10 )) || die "$name peaks at $(from_cdb "$peak") dBFS"
  rm -rf "$scratch"

  printf '%-12s %6s %3d %8s %8s %7s\n' "$name" "$(sox --i -D "$dest")" "$channels" \
      "$(from_cdb "$loud")" "$(from_cdb "$peak")" "$(from_cdb "$gain")"
done
