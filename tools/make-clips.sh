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
# Levelling: every clip is brought to the same loudness (gated and K-weighted, as
# broadcasters measure programme loudness; see loudness_cdb), with sample peaks
# kept at or below -1 dBFS. A recipe may ask to sit above or below that loudness
# with a comment line such as
#   # level: -8
# (in dB; the quiet interface clicks use it). A clip that cannot reach its level
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
HOP_MS=100         # step between 400 ms loudness blocks, milliseconds

# On failure, the clip being made is removed so that no half-made file is left.
partial=
die() { echo "make-clips: $*" >&2; [[ -n $partial ]] && rm -f "$partial"; exit 1; }

(( $# == 2 )) || { echo "usage: bash tools/make-clips.sh <recipe dir> <out dir>" >&2; exit 2; }
[[ -d $1 ]] || die "no recipe folder: $1"
src=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)

export LC_ALL=C
export SOX_OPTS="-R -V2"
command -v sox >/dev/null || die "sox is not installed"

# Decimal text to whole hundredths and back: "-13.82" <-> -1382; "-inf" -> -99900.
centi() {
  local v=$1 sign=1 int frac
  [[ $v == *inf* ]] && { echo -99900; return; }
  [[ $v == -* ]] && { sign=-1; v=${v#-}; }
  [[ $v =~ ^([0-9]+)(\.([0-9]*))?$ ]] || die "not a number: $1"
  int=${BASH_REMATCH[1]}
  frac="${BASH_REMATCH[3]}00"
  frac=${frac:0:2}
  echo $(( sign * (10#$int * 100 + 10#$frac) ))
}

decimal() {
  local v=$1 sign=
  (( v < 0 )) && { sign=-; v=$(( -v )); }
  printf '%s%d.%02d' "$sign" $(( v / 100 )) $(( v % 100 ))
}

# A figure of `sox ... stats` output, by its (three-word) label, in hundredths.
stat_cdb() {  # <stats text> <label>
  local line words
  while IFS= read -r line; do
    if [[ $line == "$2 "* ]]; then
      read -r -a words <<<"$line"   # three label words, then the overall figure
      centi "${words[3]}"
      return
    fi
  done <<<"$1"
  die "sox stats gave no '$2'"
}

# Loudness of a clip in hundredths of a dB, after ITU-R BS.1770: the signal is
# K-weighted (a high-pass and a high shelf), cut into 400 ms blocks every 100 ms,
# blocks quieter than -70 dB and then those more than 10 dB under the mean of the
# rest are dropped, and the loudness is the mean power of the blocks kept. So
# silence and fading tails do not count, and clips of any length compare fairly.
# A clip shorter than a block is measured as one block (its energy over 400 ms).
loudness_cdb() {  # <file> <scratch dir>
  local f=$1 dir=$2 k="$2/k.wav" len_ms start_ms i=0 mean
  local -a level=()
  # 20 dB of headroom so the filters cannot clip; added back at the end.
  sox "$f" "$dir/k0.wav" gain -20 highpass 40 treble 4 1680
  len_ms=$(( $(sox --i -s "$dir/k0.wav") * 1000 / $(sox --i -r "$dir/k0.wav") ))
  if (( len_ms < 400 )); then
    sox "$dir/k0.wav" "$k" pad 0 "$(decimal $(( (400 - len_ms) / 10 + 1 )))"
    len_ms=400
  else
    mv "$dir/k0.wav" "$k"
  fi
  for (( start_ms = 0; start_ms + 400 <= len_ms; start_ms += HOP_MS, i++ )); do
    level[i]=$(stat_cdb "$(sox "$k" "$dir/b$i.wav" trim "$(decimal $(( start_ms / 10 )))" 0.4 stats 2>&1)" \
                        "RMS lev dB")
  done
  mean=$(gated_mean_cdb "$dir" -9000 "${level[@]}")        # -70 dB, less the headroom
  (( mean > -90000 )) || { echo -99900; return; }
  mean=$(gated_mean_cdb "$dir" $(( mean - 1000 )) "${level[@]}")
  echo $(( mean + 2000 ))
}

# Mean power, in hundredths of a dB, of the blocks <dir>/b<i>.wav whose level is
# above <gate>: sox's RMS of the blocks played one after another.
gated_mean_cdb() {  # <dir> <gate> <block levels>...
  local dir=$1 gate=$2 i=0 v
  local -a kept=()
  shift 2
  for v in "$@"; do
    (( v > gate )) && kept+=("$dir/b$i.wav")
    i=$(( i + 1 ))
  done
  (( ${#kept[@]} )) || { echo -99900; return; }
  stat_cdb "$(sox "${kept[@]}" -n stats 2>&1)" "RMS lev dB"
}

peak_cdb() {  # <file>
  stat_cdb "$(sox "$1" -n stats 2>&1)" "Pk lev dB"
}

# The level a recipe asks for, relative to the common loudness, in hundredths.
recipe_level_cdb() {  # <recipe>
  local line
  while IFS= read -r line; do
    if [[ $line =~ ^#[[:space:]]*level:[[:space:]]*([-+]?[0-9]+(\.[0-9]+)?) ]]; then
      centi "${BASH_REMATCH[1]#+}"
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

printf '%-12s %9s %3s %9s %8s %7s\n' clip seconds ch loudness peak gain
for recipe in "${recipes[@]}"; do
  name=$(basename "$recipe" .sh)
  dest="$out/$name.wav"
  tmp="$work/$name"
  scratch="$work/$name.measure"
  mkdir "$tmp" "$scratch"
  rm -f "$dest"
  partial=$dest

  (cd "$tmp" && OUT="$dest" TMP="$tmp" bash -euo pipefail "$recipe") || die "recipe $name failed"
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
      gain "$(decimal "$gain")" fade h 0 -0 0.005
  mv "$scratch/final.wav" "$dest"

  # Check what was written.
  [[ $(sox --i -r "$dest") == "$RATE" && $(sox --i -b "$dest") == 16 ]] || die "$name: wrong format"
  loud=$(loudness_cdb "$dest" "$scratch")
  peak=$(peak_cdb "$dest")
  diff=$(( loud - want ))
  (( diff < 0 )) && diff=$(( -diff ))
  (( diff <= TOLERANCE_CDB )) ||
    die "$name is $(decimal $(( loud - want ))) dB from its level (peaks too high for its loudness)"
  (( peak <= CEILING_CDB + 10 )) || die "$name peaks at $(decimal "$peak") dBFS"

  # Qt's sound output loses the first milliseconds of a stream, and all of a very short one:
  # every clip leads in with 30 ms of silence and a short clip runs on to 0.3 s.
  len_ms=$(( $(sox --i -s "$dest") * 1000 / RATE ))
  tail_ms=$(( len_ms < 270 ? 270 - len_ms : 0 ))
  sox "$dest" "$scratch/padded.wav" pad 0.030 "$(awk -v t="$tail_ms" 'BEGIN { printf "%.3f", t / 1000 }')"
  mv "$scratch/padded.wav" "$dest"
  rm -rf "$scratch"
  partial=

  printf '%-12s %9s %3d %9s %8s %7s\n' "$name" "$(sox --i -D "$dest")" "$channels" \
      "$(decimal "$loud")" "$(decimal "$peak")" "$(decimal "$gain")"
done
