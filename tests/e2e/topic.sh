#!/usr/bin/env bash
# The real program walks a topic of the topic table (Forests and Woodlands unless TOPIC names
# another): its menu entry opens the hub, the quiz answered right scores 10 out of 10, the
# labelling activity done with the mouse scores full marks, and the Key Facts page through.
source "$(dirname "$0")/lib.sh"

TOPIC=${TOPIC:-forests}
json="$TERRAVALE_SOURCE/content/topics/$TOPIC.json"
[[ -f "$json" ]] || e2e_fail "no topic file $json"

# What the walk needs from the topic's row, one value a line.
mapfile -t row < <(python3 - "$json" <<'EOF'
import json, sys
t = json.load(open(sys.argv[1]))
entry = t["menuIndex"]
# The menu's topic entries: two columns of buttons 3075 x 375 twips.
columns = {15: (120, 2160), 0: (120, 2880), 1: (120, 3600), 2: (120, 4320), 3: (120, 5040), 4: (120, 5760),
           5: (3360, 2160), 6: (3360, 2880), 7: (3360, 3600), 8: (3360, 4320), 9: (3360, 5040), 10: (3360, 5760)}
left, top = columns[entry]
print(t["form"], max(t["title"].split(), key=len), t["questionFile"].split("\\")[-1], t["keyFacts"]["pages"], left + 1537, top + 187)
w, h = t["labelling"]["itemSize"]
for item in t["labelling"]["items"]:
    print(item["slot"][0] + w // 2, item["slot"][1] + h // 2, item["box"][0] + w // 2, item["box"][1] + h // 2)
EOF
)
read -r form title_word set_name pages entry_x entry_y <<<"${row[0]}"
title=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["title"])' "$json")
drags=("${row[@]:1}")

set_file="$TERRAVALE_DATA/multiple/$set_name"
mapfile -t key < <(tr -d '\r' <"$set_file" | awk 'NR >= 8 && NR <= 71 && (NR - 8) % 7 == 0 { gsub(/[ \t]/, ""); print }')
[[ ${#key[@]} -eq 10 ]] || e2e_fail "answer key of $set_name has ${#key[@]} entries"


e2e_start
e2e_click Titlefrm 1900 6150                 # OK
e2e_wait_window intro0 >/dev/null
e2e_click intro0 "$entry_x" "$entry_y"       # the topic's entry
e2e_wait_window "$form" >/dev/null
e2e_shot "topic-$TOPIC-hub"
heading=$(e2e_read "$form" 240 0 6090 900)
[[ "$heading" == *"$title_word"* ]] || e2e_fail "hub heading reads '$heading', want '$title'"

# The quiz, every answer right.
e2e_click "$form" 1710 8160                  # Multiple Choice
e2e_wait_window multiple >/dev/null
for n in $(seq 1 10); do
  e2e_click multiple 2550 $((5400 + 600 * (key[n - 1] - 1) + 262))
  e2e_click multiple 7880 8160               # Next Question >> / Check Score >>
done
e2e_wait_window Welldone >/dev/null
sleep 1
e2e_shot "topic-$TOPIC-quiz-results"
sentence=$(e2e_read Welldone 0 5400 12000 855)
[[ "$sentence" == *"10 out of 10"* ]] || e2e_fail "quiz results read '$sentence'"
e2e_click Welldone 11180 8160                # Exit: back to the hub
e2e_gone Welldone
e2e_wait_window "$form" >/dev/null

# The labelling activity, each label dragged from its home slot onto its own place.
e2e_click "$form" 5190 8160                  # Labelling Activity
e2e_wait_window "${form}lab" >/dev/null
for d in "${drags[@]}"; do
  # shellcheck disable=SC2086
  e2e_drag "${form}lab" $d
done
e2e_shot "topic-$TOPIC-lab-placed"
e2e_click "${form}lab" 7280 8160             # Check Score
e2e_wait_window Welldone >/dev/null
sleep 1
sentence=$(e2e_read Welldone 0 5400 12000 855)
items=${#drags[@]}
[[ "$sentence" == *"$items out of $items"* ]] || e2e_fail "activity results read '$sentence', want $items out of $items"
e2e_click Welldone 11180 8160                # Exit: back to the activity
e2e_gone Welldone
e2e_click "${form}lab" 11182 8167            # Exit: back to the hub
e2e_gone "${form}lab"

# Key Facts, paged through to the last page.
e2e_click "$form" 7357 367                   # Key Facts
e2e_wait_window teacher >/dev/null
for page in $(seq 1 "$pages"); do
  if ((page > 1)); then e2e_click teacher 8062 8167; fi   # Next Page
  caption=$(e2e_read teacher 4200 7920 2295 495)
  [[ "$caption" == *"$page"* ]] || e2e_fail "page caption reads '$caption' on page $page"
  e2e_shot "topic-$TOPIC-keyfacts-$page"
done
e2e_click teacher 11242 8167                 # Exit
e2e_gone teacher
e2e_wait_window "$form" >/dev/null
echo "topic e2e passed ($title)"
