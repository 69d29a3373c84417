#!/usr/bin/env bash
# Sound leaves nothing running behind it: after clips have played, the program at rest wakes no
# more than before it played any (context switches of all its threads over REST seconds, 10 unless
# set). And a machine without a sound server starts as fast, says nothing and stays silent.
source "$(dirname "$0")/lib.sh"

REST=${REST:-10}
IDLE_CLOSE=4      # seconds: the device closes 2.5 s after the last sound; then the rest is measured
ALLOWED=150       # more wakeups in $REST s than the never-played program; an open device makes thousands
pactl info >/dev/null 2>&1 || e2e_fail "no sound server (start tools/services.sh)"

# Voluntary and involuntary context switches of every thread of $1 during $2 seconds; a thread
# born meanwhile counts from zero.
wakeups() {
  local pid=$1 seconds=$2 f tid n
  declare -A before=()
  for f in /proc/"$pid"/task/*/status; do
    tid=${f#/proc/$pid/task/}; tid=${tid%/status}
    before[$tid]=$(awk '/ctxt_switches/ {s += $2} END {print s + 0}' "$f" 2>/dev/null || echo 0)
  done
  sleep "$seconds"
  local total=0
  for f in /proc/"$pid"/task/*/status; do
    tid=${f#/proc/$pid/task/}; tid=${tid%/status}
    n=$(awk '/ctxt_switches/ {s += $2} END {print s + 0}' "$f" 2>/dev/null || echo 0)
    total=$((total + n - ${before[$tid]:-0}))
  done
  echo "$total"
}

threads() { ls /proc/"$1"/task | wc -l; }

# Starts the program as e2e_start does; START_MS is the time from its launch until the title
# screen was seen (polled, so a little late alike for every start).
e2e_before_start() { LAUNCH_NS=$(date +%s%N); }
timed_start() {
  e2e_start
  START_MS=$((($(date +%s%N) - LAUNCH_NS) / 1000000))
}

# --- At rest, before and after clips.
timed_start
start_ms=$START_MS
sleep "$IDLE_CLOSE"
never=$(wakeups "$E2E_PID" "$REST")
never_threads=$(threads "$E2E_PID")

e2e_click Titlefrm 1900 6150       # OK: the first click
e2e_wait_window intro0 >/dev/null
e2e_click intro0 4890 3060         # Rubbish
e2e_wait_window rubbish >/dev/null
e2e_click rubbish 1710 8160        # Multiple Choice
e2e_wait_window multiple >/dev/null
e2e_record_start
for n in 1 2 3; do e2e_click multiple 7880 8160; done
peak=$(e2e_record_stop 2)
e2e_heard "$peak" || e2e_fail "no click heard (peak $peak)"
e2e_click multiple 11100 8160      # quiz Exit
e2e_click rubbish 11182 8167       # hub Exit
e2e_wait_window intro0 >/dev/null
e2e_click intro0 11100 8100        # menu Exit: the title screen again, where the first count was taken
e2e_wait_window Titlefrm >/dev/null
sleep "$IDLE_CLOSE"
played=$(wakeups "$E2E_PID" "$REST")
played_threads=$(threads "$E2E_PID")
echo "wakeups at rest over $REST s: never played $never ($never_threads threads), after clips $played ($played_threads threads)"
((played <= never + ALLOWED)) || e2e_fail "after clips the program wakes $played times in $REST s, $never before"
e2e_stop
rm -rf "$E2E_DIR"

# --- No sound server: the same start, no message, no sound, nothing left running. Only the
# program is sent to a server that is not there; the recording listens to the real one.
wrapper=$(mktemp /tmp/terravale-nopulse.XXXXXX)
trap 'rm -f "$wrapper"; e2e_cleanup' EXIT
printf '#!/bin/sh\nunset SDL_AUDIODRIVER\nPULSE_SERVER=unix:/nonexistent/pulse/native exec "%s" "$@"\n' "$TERRAVALE_BIN" >"$wrapper"
chmod +x "$wrapper"
TERRAVALE_BIN=$wrapper
e2e_record_start
timed_start
quiet_ms=$START_MS
e2e_click Titlefrm 1900 6150
e2e_wait_window intro0 >/dev/null
e2e_click intro0 4890 3060
e2e_wait_window rubbish >/dev/null
e2e_click rubbish 11182 8167
e2e_wait_window intro0 >/dev/null
peak=$(e2e_record_stop 1)
e2e_heard "$peak" && e2e_fail "sound heard without a sound server (peak $peak)"
sleep "$IDLE_CLOSE"
rest=$(wakeups "$E2E_PID" "$REST")
echo "start to title screen: ${start_ms} ms with a sound server, ${quiet_ms} ms without; at rest without: $rest wakeups"
((quiet_ms <= start_ms + 2000)) || e2e_fail "start without a sound server took ${quiet_ms} ms, ${start_ms} ms with one"
((rest <= never + ALLOWED)) || e2e_fail "without a sound server the program wakes $rest times in $REST s at rest"
if grep -i -E 'alsa|pulse|sdl|audio|sound' "$E2E_DIR/program.log"; then
  e2e_fail "messages about sound without a sound server"
fi
for w in $(xdotool search --onlyvisible --pid "$E2E_PID" --name '.*' 2>/dev/null); do
  xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q '_NET_WM_WINDOW_TYPE_DIALOG' && e2e_fail "a message box is shown"
done
kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the program ended"
echo "soundrest e2e passed"
