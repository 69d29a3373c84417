#!/usr/bin/env bash
# The real program: a teacher types a worksheet into the wizard and saves it, then runs it as a quiz,
# edits it and deletes it from the Worksheets Catalogue; the files on disk are checked after each step.
source "$(dirname "$0")/lib.sh"

TITLE="Our Planet"
crlf_lines() { tr -cd '\n' <"$1" | wc -c; }
expect_track() {
  local want=$1
  [[ "$(cat "$E2E_DIR/multiple/track.txt")" == "$(printf "$want")" ]] ||
    e2e_fail "track.txt is $(od -c "$E2E_DIR/multiple/track.txt" | head -3), expected $want"
}

e2e_start
[[ "$(cat "$E2E_DIR/multiple/track.txt")" == "$(printf ' 0 \r\n')" ]] || e2e_fail "fresh catalogue not empty"
e2e_click Titlefrm 1900 6150
e2e_wait_window intro0 >/dev/null

# Menu entry "Multiple Choice Wizard"; the title box has the focus, Enter walks the boxes.
e2e_click intro0 9270 6000
e2e_wait_window wizard >/dev/null
e2e_type "$TITLE"
for q in $(seq 1 10); do
  e2e_key Return
  e2e_type "Question $q, about the planet?"
  for c in A B C D; do
    e2e_key Return
    e2e_type "Choice $c$q"
  done
done
# Tick choice (q mod 4) of each question.
for q in $(seq 0 9); do
  k=$((q % 4)); x0=$((240 + 5880 * (q / 5))); y0=$((600 + 1440 * (q % 5)))
  e2e_click wizard $((x0 + 240 + 2850 * (k % 2) + 120)) $((y0 + 630 + 330 * (k / 2) + 150))
done
e2e_shot worksheets-wizard
e2e_click wizard 1800 8160
sleep 0.5
e2e_shot worksheets-saved
e2e_key Return

sheet="$E2E_DIR/multiple/$TITLE.txt"
[[ -f "$sheet" ]] || e2e_fail "worksheet file not written"
[[ $(crlf_lines "$sheet") -eq 72 ]] || e2e_fail "worksheet has $(crlf_lines "$sheet") lines"
[[ $(grep -c $'\r$' "$sheet") -eq 72 ]] || e2e_fail "worksheet lines do not end in CR LF"
[[ "$(sed -n 3p "$sheet")" == $'Question 1& about the planet?\r' ]] || e2e_fail "question 1 line: $(sed -n 3p "$sheet")"
[[ "$(sed -n 8p "$sheet")" == $'1\r' && "$(sed -n 15p "$sheet")" == $'2\r' && "$(sed -n 71p "$sheet")" == $'2\r' ]] ||
  e2e_fail "correct-choice lines wrong"
expect_track ' 1 \r\nOur Planet\r\n'
saved=$(md5sum <"$sheet")

# Exit the wizard; open the catalogue (the menu goes away).
e2e_click wizard 11100 8160
e2e_gone wizard
e2e_click intro0 9270 6840
e2e_wait_window worksheets >/dev/null
e2e_gone intro0
e2e_shot worksheets-catalogue

# Run mode: the quiz opens on the worksheet; its Exit returns to the catalogue.
e2e_click worksheets 2900 900
e2e_wait_window multiple >/dev/null
e2e_shot worksheets-quiz
e2e_click multiple 11100 8160
e2e_gone multiple
expect_track ' 1 \r\nOur Planet\r\n'

# Edit mode: the wizard comes back filled; saving it unchanged rewrites the same bytes.
e2e_click worksheets 250 300
e2e_click worksheets 2900 900
e2e_wait_window wizard >/dev/null
e2e_shot worksheets-edit
e2e_click wizard 1800 8160
sleep 0.5
e2e_key Return
[[ "$(md5sum <"$sheet")" == "$saved" ]] || e2e_fail "the edited worksheet saved differently"
expect_track ' 1 \r\nOur Planet\r\n'
e2e_click wizard 11100 8160
e2e_gone wizard

# Delete mode: confirm with Enter; the title leaves the catalogue, the file stays.
e2e_click worksheets 9400 300
e2e_click worksheets 2900 900
sleep 0.5
e2e_shot worksheets-confirm
e2e_key Return
sleep 0.3
expect_track ' 0 \r\n'
[[ -f "$sheet" ]] || e2e_fail "the deleted worksheet's file was removed"
e2e_shot worksheets-deleted

# Exit shows the menu again.
e2e_click worksheets 11100 8160
e2e_wait_window intro0 >/dev/null
e2e_gone worksheets
e2e_stop
echo "worksheets e2e passed"
