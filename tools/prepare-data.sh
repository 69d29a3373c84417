#!/bin/sh
# prepare-data.sh <installed data> <per-user folder> [link]
# Makes the user's own data folder from the installed data. Pictures, pages, clips and the topic
# question sets always come fresh from the installed data (copied, or linked with "link"); the
# teacher's worksheets and catalogue in multiple/ are never overwritten. A teacher's worksheet
# listed under the name of a topic question set (saved before that topic existed) is kept under
# a new title, "<name> (own)", and listed under it.
set -eu
src=$1
dst=$2
mode=${3:-copy}
mkdir -p "$dst/multiple"

for folder in Images wmf wmf2 logo wav; do
  if [ "$mode" = link ]; then
    [ -L "$dst/$folder" ] && [ "$(readlink "$dst/$folder")" = "$src/$folder" ] && continue
    rm -rf "$dst/$folder"
    ln -s "$src/$folder" "$dst/$folder"
  else
    rm -rf "$dst/$folder"
    [ -d "$src/$folder" ] && cp -r "$src/$folder" "$dst/$folder"
  fi
done

catalogue=$dst/multiple/track.txt
if [ ! -e "$catalogue" ]; then
  cp "$src/multiple/track.txt" "$catalogue.new"
  chmod 644 "$catalogue.new"
  mv "$catalogue.new" "$catalogue"
fi

# True when the catalogue lists the title (lines after the count; CR and outer blanks ignored).
listed() {
  tr -d '\r' <"$catalogue" | awk -v t="$1" 'NR > 1 { sub(/^[ \t]+/, ""); sub(/[ \t]+$/, ""); if ($0 == t) found = 1 }
                                            END { exit !found }'
}

# Renames every catalogue entry $1 to $2, keeping the count line and CR LF line ends.
relist() {
  awk -v old="$1" -v new="$2" 'BEGIN { RS = "\n"; ORS = "\n" }
    NR > 1 { line = $0; sub(/\r$/, "", line); t = line; sub(/^[ \t]+/, "", t); sub(/[ \t]+$/, "", t)
             if (t == old) { print new "\r"; next } }
    { print }' "$catalogue" >"$catalogue.new"
  chmod 644 "$catalogue.new"
  mv "$catalogue.new" "$catalogue"
}

for set in "$src"/multiple/*.txt; do
  name=$(basename "$set" .txt)
  [ "$name" = track ] && continue
  target=$dst/multiple/$name.txt
  if [ -f "$target" ] && ! cmp -s "$set" "$target" && listed "$name"; then
    new="$name (own)"
    n=2
    while [ -e "$dst/multiple/$new.txt" ] || listed "$new"; do
      new="$name (own $n)"
      n=$((n + 1))
    done
    # The worksheet's first line is its title (a comma stored as "&").
    title=$(printf '%s' "$new" | tr ',' '&')
    { printf '%s\r\n' "$title"; tail -n +2 "$target"; } >"$dst/multiple/$new.txt.new"
    chmod 644 "$dst/multiple/$new.txt.new"
    mv "$dst/multiple/$new.txt.new" "$dst/multiple/$new.txt"
    relist "$name" "$new"
    rm -f "$target"
    echo "Your worksheet \"$name\" is now called \"$new\": a topic of Terravale uses that name." >&2
  fi
  cp "$set" "$target.new"
  chmod 644 "$target.new"
  mv "$target.new" "$target"
done
