#!/usr/bin/env bash
# The user's data folder made from the installed data: fresh pictures and topic sets, the
# teacher's worksheets and catalogue kept, a worksheet that shares a topic set's name kept
# under a new title.
set -euo pipefail
script=${TERRAVALE_SOURCE:?}/tools/prepare-data.sh
work=$(mktemp -d /tmp/terravale-prep.XXXXXX)
trap 'rm -rf "$work"' EXIT
fails=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; fails=$((fails + 1)); fi; }
crlf() { printf '%s\r\n' "$@"; }

# An installed data folder: two folders of pictures, a catalogue and two topic sets.
inst=$work/installed
mkdir -p "$inst"/{Images,wmf,wmf2,logo,wav,multiple}
echo picture >"$inst/Images/a.jpg"
crlf " 0 " >"$inst/multiple/track.txt"
{ crlf "Forests and Woodlands" " "; for i in $(seq 70); do crlf "q$i"; done; } >"$inst/multiple/Forests.txt"
{ crlf "Rubbish" " "; for i in $(seq 70); do crlf "r$i"; done; } >"$inst/multiple/Rubbish.txt"
worksheet() { { crlf "$1" " "; for i in $(seq 70); do crlf "w$i"; done; }; }

# A first start: everything arrives, readable by everyone.
user=$work/u1
sh "$script" "$inst" "$user"
check "pictures copied" '[[ -f $user/Images/a.jpg && ! -L $user/Images ]]'
check "catalogue copied" 'cmp -s "$inst/multiple/track.txt" "$user/multiple/track.txt"'
check "topic sets copied" 'cmp -s "$inst/multiple/Forests.txt" "$user/multiple/Forests.txt"'
check "files world-readable" '[[ -z $(find "$user" -type f ! -perm -044) ]]'

# The teacher's own worksheets and catalogue are never touched; an old topic set is refreshed.
user=$work/u2
mkdir -p "$user/multiple"
crlf " 2 " "Trees" "Rivers, seas" >"$user/multiple/track.txt"
worksheet Trees >"$user/multiple/Trees.txt"
worksheet "Rivers& seas" >"$user/multiple/Rivers, seas.txt"
crlf "Rubbish" " " "an older question" >"$user/multiple/Rubbish.txt"
before=$(md5sum "$user/multiple/track.txt" "$user/multiple/Trees.txt" "$user/multiple/Rivers, seas.txt")
sh "$script" "$inst" "$user"
check "worksheets and catalogue unchanged" '[[ "$before" == "$(md5sum "$user/multiple/track.txt" "$user/multiple/Trees.txt" "$user/multiple/Rivers, seas.txt")" ]]'
check "unlisted old topic set refreshed" 'cmp -s "$inst/multiple/Rubbish.txt" "$user/multiple/Rubbish.txt"'

# A listed worksheet named like a new topic set keeps its questions under "<name> (own)".
user=$work/u3
mkdir -p "$user/multiple"
crlf " 3 " "Trees" "Forests" "Ponds" >"$user/multiple/track.txt"
worksheet Forests >"$user/multiple/Forests.txt"
body=$(tail -n +2 "$user/multiple/Forests.txt" | md5sum)
sh "$script" "$inst" "$user" 2>"$work/u3.err"
check "catalogue lists the new title in place" '[[ "$(cat "$user/multiple/track.txt")" == "$(crlf " 3 " "Trees" "Forests (own)" "Ponds")" ]]'
check "questions kept under the new title" '[[ "$(tail -n +2 "$user/multiple/Forests (own).txt" | md5sum)" == "$body" ]]'
check "title line renamed" '[[ "$(head -n1 "$user/multiple/Forests (own).txt")" == $'"'"'Forests (own)\r'"'"' ]]'
check "topic set installed" 'cmp -s "$inst/multiple/Forests.txt" "$user/multiple/Forests.txt"'
check "the teacher is told" 'grep -q "Forests (own)" "$work/u3.err"'
sh "$script" "$inst" "$user" 2>"$work/u3b.err"
check "a second start renames nothing" '[[ ! -s $work/u3b.err && ! -e "$user/multiple/Forests (own 2).txt" ]]'

# The new title is free of other worksheets.
user=$work/u4
mkdir -p "$user/multiple"
crlf " 2 " "Forests (own)" "Forests" >"$user/multiple/track.txt"
worksheet "Forests (own)" >"$user/multiple/Forests (own).txt"
worksheet Forests >"$user/multiple/Forests.txt"
own=$(md5sum <"$user/multiple/Forests (own).txt")
sh "$script" "$inst" "$user" 2>/dev/null
check "next free title" '[[ -f "$user/multiple/Forests (own 2).txt" && "$(md5sum <"$user/multiple/Forests (own).txt")" == "$own" ]]'
check "both listed" '[[ "$(cat "$user/multiple/track.txt")" == "$(crlf " 2 " "Forests (own)" "Forests (own 2)")" ]]'

# Linked pictures, as the installed program uses them.
user=$work/u5
sh "$script" "$inst" "$user" link
check "pictures linked" '[[ -L $user/Images && $(readlink "$user/Images") == "$inst/Images" ]]'

((fails == 0)) || { echo "$fails check(s) failed"; exit 1; }
echo "prepare-data passed"
