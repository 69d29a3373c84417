#!/usr/bin/env bash
# The real program's clicks, recorded from the sound server: "Next Question >>" and
# "<< Previous Question" pressed CLICKS times (200 unless set), two a second, must each be heard,
# and the median time from press to sound must be within 60 ms.
#   CLICKS=40 bash tests/e2e/sound.sh      (a shorter run while working on it)
source "$(dirname "$0")/lib.sh"

CLICKS=${CLICKS:-200}
pactl info >/dev/null 2>&1 || e2e_fail "no sound server (start tools/services.sh)"

e2e_start
e2e_click Titlefrm 1900 6150       # OK
e2e_wait_window intro0 >/dev/null
e2e_click intro0 4890 3060         # Rubbish
e2e_wait_window rubbish >/dev/null
e2e_click rubbish 1710 8160        # Multiple Choice
e2e_wait_window multiple >/dev/null
e2e_click multiple 7880 8160       # to question 2
/usr/bin/python3 "$(dirname "$0")/soundcheck.py" clicks --pid "$E2E_PID" --count "$CLICKS" ||
  e2e_fail "clicks not heard in time"
kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the program ended"

# With the device still open, SIGTERM ends the program as it does any other.
kill -TERM "$E2E_PID"
for _ in $(seq 30); do kill -0 "$E2E_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$E2E_PID" 2>/dev/null && e2e_fail "the program did not end on SIGTERM while sound was playing"
E2E_PID=""
echo "sound e2e passed"
