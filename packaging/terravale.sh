#!/bin/sh
# Starts Terravale in the user's own data folder, made on first start from the installed data.
# Pictures, pages, clips and the topic quizzes always come from the installed data (links and
# fresh copies); the teacher's worksheets and catalogue in multiple/ are never overwritten.
set -e
installed=/usr/share/terravale/data
data="${XDG_DATA_HOME:-$HOME/.local/share}/terravale"
mkdir -p "$data/multiple"
for folder in Images wmf wmf2 logo wav; do
  if [ ! -L "$data/$folder" ]; then
    rm -rf "$data/$folder"
    ln -s "$installed/$folder" "$data/$folder"
  fi
done
for topic in Rubbish.txt Resources.txt; do
  [ -f "$installed/multiple/$topic" ] || continue
  cp "$installed/multiple/$topic" "$data/multiple/$topic.new"
  chmod 644 "$data/multiple/$topic.new"
  mv "$data/multiple/$topic.new" "$data/multiple/$topic"
done
if [ ! -e "$data/multiple/track.txt" ]; then
  cp "$installed/multiple/track.txt" "$data/multiple/track.txt"
  chmod 644 "$data/multiple/track.txt"
fi
cd "$data"
exec /usr/libexec/terravale/terravale "$@"
