#!/usr/bin/env bash
# prepare-data.sh <installed data> <per-user folder>
# Pictures, pages, clips and the two topic question sets always come fresh from the installed
# data; the teacher's worksheets and catalogue in multiple/ are never overwritten.
set -euo pipefail
src=$1
dst=$2
mkdir -p "$dst/multiple"
for folder in Images wmf wmf2 logo wav; do
  rm -rf "$dst/$folder"
  [[ -d "$src/$folder" ]] && cp -r "$src/$folder" "$dst/$folder"
done
for topic in Rubbish.txt Resources.txt; do
  cp "$src/multiple/$topic" "$dst/multiple/$topic"
done
[[ -e "$dst/multiple/track.txt" ]] || cp "$src/multiple/track.txt" "$dst/multiple/track.txt"
