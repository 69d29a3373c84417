#!/usr/bin/env bash
# The real program: menu -> Rubbish -> Labelling Activity, every label dragged into its box with the
# mouse (the thud is heard on a snap), "Check Score" appears, and the results screen reads 4 out of 4.
source "$(dirname "$0")/lib.sh"

# Home slot and target box of each rubbishlab label (twips, top-left corners); items are 1845 x 375.
slots=("3600 2040" "5520 2040" "5520 2520" "3600 2520")
boxes=("8880 2880" "9000 7300" "4560 7300" "720 5040")


e2e_start
e2e_click Titlefrm 1900 6150       # OK
e2e_wait_window intro0 >/dev/null
e2e_click intro0 4890 3060         # Rubbish
e2e_wait_window rubbish >/dev/null
e2e_click rubbish 5190 8160        # Labelling Activity
e2e_wait_window rubbishlab >/dev/null
e2e_shot activity-start
heading=$(e2e_read rubbishlab 240 240 2145 705)
[[ "$heading" == *Rubbish* ]] || e2e_fail "heading reads '$heading'"

for i in 0 1 2 3; do
  read -r sx sy <<<"${slots[i]}"
  read -r bx by <<<"${boxes[i]}"
  [[ $i -eq 0 ]] && e2e_record_start
  e2e_drag rubbishlab $((sx + 922)) $((sy + 187)) $((bx + 922)) $((by + 187))
  if [[ $i -eq 0 ]]; then
    peak=$(e2e_record_stop)
    e2e_heard "$peak" || e2e_fail "no thud heard when the first label snapped (peak $peak)"
  fi
done
e2e_shot activity-placed

# A snapped label sits exactly on its box: the box's border is covered by the black label.
for i in 0 1 2 3; do
  read -r bx by <<<"${boxes[i]}"
  p=$(e2e_point rubbishlab $((bx + 150)) $((by + 200)))
  read -r x y <<<"$p"
  colour=$(import -window root -crop "1x1+$x+$y" -depth 8 txt:- | tail -1 | grep -o '#[0-9A-F]\{6\}')
  [[ "$colour" == "#000000" ]] || e2e_fail "label $i is not in its box (pixel $colour)"
done

e2e_click rubbishlab 7280 8160     # Check Score (shown once every label is in a box)
e2e_wait_window Welldone >/dev/null
sleep 1
e2e_shot activity-results
sentence=$(e2e_read Welldone 0 5400 12000 855)
[[ "$sentence" == *"Excellent work. You have scored 4 out of 4."* ]] || e2e_fail "results read '$sentence'"

# The activity stays loaded beneath the results screen.
e2e_find_window rubbishlab >/dev/null || e2e_fail "the activity was closed by Check Score"
echo "activity e2e passed"
