#!/usr/bin/env bash
# Twenty quizzes in a row (QUIZZES to change it), each answered right: the reward clip is heard
# after every one of them, recorded from the sound server. Then, with "Sound Off", nothing is
# heard: not the buttons, not the answer options, not the reward of a quiz with full marks.
source "$(dirname "$0")/lib.sh"

QUIZZES=${QUIZZES:-20}
check=$(dirname "$0")/soundcheck.py
pactl info >/dev/null 2>&1 || e2e_fail "no sound server (start tools/services.sh)"
set_file="$TERRAVALE_DATA/multiple/Rubbish.txt"
key=$(tr -d '\r' <"$set_file" | awk 'NR >= 8 && NR <= 71 && (NR - 8) % 7 == 0 { gsub(/[ \t]/, ""); printf "%s%s", sep, $0; sep = "," }')
[[ "$key" =~ ^[1-4](,[1-4]){9}$ ]] || e2e_fail "answer key reads '$key'"

e2e_start
e2e_click Titlefrm 1900 6150       # OK
e2e_wait_window intro0 >/dev/null
e2e_click intro0 4890 3060         # Rubbish
e2e_wait_window rubbish >/dev/null
e2e_click rubbish 1710 8160        # Multiple Choice
e2e_wait_window multiple >/dev/null
/usr/bin/python3 "$check" quizzes --pid "$E2E_PID" --count "$QUIZZES" --key "$key" ||
  e2e_fail "a reward clip was not heard"

# Back to the menu, "Sound Off", and the same road in silence.
e2e_click multiple 11100 8160      # quiz Exit
e2e_gone multiple
e2e_click rubbish 11182 8167       # hub Exit
e2e_wait_window intro0 >/dev/null
e2e_click intro0 10800 600         # Sound Off
e2e_click intro0 4890 3060
e2e_wait_window rubbish >/dev/null
e2e_click rubbish 1710 8160
e2e_wait_window multiple >/dev/null
/usr/bin/python3 "$check" quizzes --pid "$E2E_PID" --count 1 --key "$key" --silent || e2e_fail "sound heard with Sound Off"
e2e_click multiple 7880 8160       # to question 2
/usr/bin/python3 "$check" clicks --pid "$E2E_PID" --count 10 --silent || e2e_fail "clicks heard with Sound Off"
echo "reward e2e passed"
