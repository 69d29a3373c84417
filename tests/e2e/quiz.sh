#!/usr/bin/env bash
# The real program: menu -> Rubbish -> Multiple Choice, ten answers by clicking, the results
# screen and its reward clip; then a second quiz with five right and no reward clip.
source "$(dirname "$0")/lib.sh"

# The answer key of the shipped set: the digit line of each seven-line block (lines 8, 15, ... 71).
set_file="$TERRAVALE_DATA/multiple/Rubbish.txt"
[[ -f "$set_file" ]] || e2e_fail "no question set $set_file"
mapfile -t key < <(tr -d '\r' <"$set_file" | awk 'NR >= 8 && NR <= 71 && (NR - 8) % 7 == 0 { gsub(/[ \t]/, ""); print }')
[[ ${#key[@]} -eq 10 ]] || e2e_fail "answer key has ${#key[@]} entries"
for k in "${key[@]}"; do [[ "$k" =~ ^[1-4]$ ]] || e2e_fail "bad correct-choice line '$k'"; done

# Clicks and answer keys sound for a few hundredths of a second, a reward clip for a second or more:
# a reward was heard when the recording holds more than half a second of sound, wherever it fell.
reward_heard() {
  sleep 3
  kill "$E2E_REC_PID" 2>/dev/null || true
  wait "$E2E_REC_PID" 2>/dev/null || true
  E2E_REC_PID=""
  local seconds
  seconds=$(sox "${E2E_REC_FMT[@]}" "$E2E_REC_FILE" -n silence 1 0.001 1% -1 0.1 1% stat 2>&1 | awk '/Length/ {print $3}')
  rm -f "$E2E_REC_FILE"
  awk -v s="${seconds:-0}" 'BEGIN { print (s > 0.5 ? 1 : 0) }'
}

# Answers the ten questions on screen: right unless the question number is in $1 (space separated).
answer_quiz() {
  local wrong=" $1 " n c
  for n in $(seq 1 10); do
    c=${key[n - 1]}
    [[ "$wrong" == *" $n "* ]] && c=$((c % 4 + 1))
    e2e_click multiple 2550 $((5400 + 600 * (c - 1) + 262))
    [[ $n -eq 10 ]] && e2e_record_start
    e2e_click multiple 7880 8160   # "Next Question >>" / "Check Score >>"
  done
}

e2e_start
e2e_click Titlefrm 1900 6150       # OK
e2e_wait_window intro0 >/dev/null
e2e_click intro0 4890 3060         # Rubbish
e2e_wait_window rubbish >/dev/null
e2e_shot quiz-hub

e2e_click rubbish 1710 8160        # Multiple Choice
e2e_wait_window multiple >/dev/null
e2e_shot quiz-question1

answer_quiz ""
e2e_wait_window Welldone >/dev/null
e2e_gone multiple
heard=$(reward_heard)
e2e_shot quiz-results-full
[[ $heard == 1 ]] || e2e_fail "no reward clip heard at 10 out of 10"

# Exit back to the hub, and a second quiz with questions 2, 4, 6, 8 and 10 wrong.
e2e_click Welldone 11180 8160
e2e_gone Welldone
e2e_click rubbish 1710 8160
e2e_wait_window multiple >/dev/null
answer_quiz "2 4 6 8 10"
e2e_wait_window Welldone >/dev/null
heard=$(reward_heard)
e2e_shot quiz-results-five
[[ $heard == 1 ]] && e2e_fail "a reward clip was heard at 5 out of 10"

e2e_click Welldone 2120 2040       # Check Wrong Answers
e2e_wait_window Wrong >/dev/null
e2e_shot quiz-wrong
e2e_click Wrong 11180 8160         # Exit closes both
e2e_gone Wrong
e2e_gone Welldone
e2e_wait_window rubbish >/dev/null
echo "quiz e2e passed"
