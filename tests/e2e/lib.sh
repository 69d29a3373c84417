#!/usr/bin/env bash
# Shared helpers for the end-to-end checks: the real program in a real X server.
# Needs DISPLAY (and a PulseAudio server for the sound checks), as tools/services.sh provides.
set -euo pipefail

: "${TERRAVALE_BIN:?}" "${TERRAVALE_DATA:?}"
E2E_ARTIFACTS=${E2E_ARTIFACTS:-$(dirname "$TERRAVALE_DATA")/e2e-artifacts}
mkdir -p "$E2E_ARTIFACTS"
E2E_DIR=""
E2E_PID=""
E2E_REC_PID=""
E2E_REC_FILE=""

e2e_fail() {
  echo "FAIL: $*" >&2
  e2e_shot "failure-$(basename "$0" .sh)" || true
  [[ -n "$E2E_DIR" && -f "$E2E_DIR/program.log" ]] && sed 's/^/program: /' "$E2E_DIR/program.log" >&2
  if [[ -n "$E2E_PID" ]]; then
    kill -0 "$E2E_PID" 2>/dev/null && echo "program $E2E_PID still running" >&2 || echo "program $E2E_PID has ended" >&2
    for w in $(xdotool search --onlyvisible --name '.*' 2>/dev/null); do
      echo "window $w pid=$(xdotool getwindowpid "$w" 2>/dev/null) $(xprop -id "$w" WM_WINDOW_ROLE 2>/dev/null)" >&2
    done
  fi
  exit 1
}

e2e_cleanup() {
  [[ -n "$E2E_REC_PID" ]] && kill "$E2E_REC_PID" 2>/dev/null || true
  [[ -n "$E2E_PID" ]] && kill "$E2E_PID" 2>/dev/null || true
  [[ -n "$E2E_DIR" && -d "$E2E_DIR" ]] && rm -rf "$E2E_DIR"
  [[ -n "$E2E_WM_PID" ]] && kill "$E2E_WM_PID" 2>/dev/null || true
  [[ -n "$E2E_XVFB_PID" ]] && kill "$E2E_XVFB_PID" 2>/dev/null || true
  return 0
}
trap e2e_cleanup EXIT

# A check that may run beside others (ctest sets E2E_OWN_DISPLAY=1) gets an X server and a window
# manager of its own; one that records nothing (E2E_QUIET=1) plays its sound to a sink nobody
# records, so the sound checks running meanwhile hear only their own program.
E2E_XVFB_PID=""
E2E_WM_PID=""
if [[ "${E2E_OWN_DISPLAY:-0}" == 1 ]]; then
  displayfd=$(mktemp /tmp/terravale-display.XXXXXX)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$displayfd" >/dev/null 2>&1 &
  E2E_XVFB_PID=$!
  for _ in $(seq 100); do [[ -s "$displayfd" ]] && break; sleep 0.05; done
  [[ -s "$displayfd" ]] || { echo "FAIL: no X server of its own" >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$displayfd")"
  rm -f "$displayfd"
  openbox --sm-disable >/dev/null 2>&1 &
  E2E_WM_PID=$!
  for _ in $(seq 50); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.1; done
fi
if [[ "${E2E_QUIET:-0}" == 1 ]] && pactl list short sinks 2>/dev/null | grep -q terravale_quiet; then
  export PULSE_SINK=terravale_quiet
fi

# Starts the program in a fresh copy of the data folder and waits for the title screen.
e2e_start() {
  E2E_DIR=$(mktemp -d /tmp/terravale-e2e.XXXXXX)
  cp -r "$TERRAVALE_DATA/." "$E2E_DIR/"
  rm -f "$E2E_DIR/.stamp"
  if declare -F e2e_before_start >/dev/null; then e2e_before_start; fi
  local attempt
  for attempt in 1 2 3; do
    (cd "$E2E_DIR" && exec "$TERRAVALE_BIN" >"$E2E_DIR/program.log" 2>&1) &
    E2E_PID=$!
    for _ in $(seq 100); do
      e2e_find_window Titlefrm >/dev/null && break 2
      kill -0 "$E2E_PID" 2>/dev/null || break
      sleep 0.1
    done
    # An X server that resets after its last client turns new ones away for a moment (ours runs
    # with -noreset, one started elsewhere may not): the program is started again, and said so.
    if ! kill -0 "$E2E_PID" 2>/dev/null && grep -q "could not connect to display" "$E2E_DIR/program.log"; then
      echo "note: the X server refused the program (attempt $attempt): $(xdpyinfo 2>&1 | head -n1);" \
        "$(xlsclients 2>/dev/null | wc -l) clients" >&2
      sleep 1
      continue
    fi
    break
  done
  e2e_wait_window Titlefrm >/dev/null
}

e2e_stop() {
  [[ -n "$E2E_PID" ]] && kill "$E2E_PID" 2>/dev/null || true
  wait "$E2E_PID" 2>/dev/null || true
  E2E_PID=""
}

# Prints the X id of the visible window whose role is the form name, if any.
e2e_find_window() {
  local form=$1 w
  # --all: the program's own windows (xdotool's default would add every named window).
  for w in $(xdotool search --all --onlyvisible --pid "$E2E_PID" --name '.*' 2>/dev/null); do
    if xprop -id "$w" WM_WINDOW_ROLE 2>/dev/null | grep -q "\"$form\""; then
      echo "$w"
      return 0
    fi
  done
  return 1
}

e2e_wait_window() {
  local form=$1 w
  for _ in $(seq 100); do
    if w=$(e2e_find_window "$form"); then
      sleep 0.15
      echo "$w"
      return 0
    fi
    sleep 0.1
  done
  e2e_fail "window $form did not appear"
}

e2e_gone() {
  local form=$1
  for _ in $(seq 100); do
    e2e_find_window "$form" >/dev/null || return 0
    sleep 0.1
  done
  e2e_fail "window $form did not go away"
}

# Client area of a window on the display: "x y width height". (Under a window manager that
# frames its windows, xdotool getwindowgeometry adds the frame's offset a second time.)
e2e_geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X:/ {x = $4} /Absolute upper-left Y:/ {y = $4}
    /^  Width:/ {w = $2} /^  Height:/ {h = $2} END {print x, y, w, h}'
}

# The frame the window manager draws around a window: "left right top bottom" (0 0 0 0 if none).
e2e_frame_extents() {
  local e
  e=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -o '[0-9]*, [0-9]*, [0-9]*, [0-9]*' | tr -d ,)
  echo "${e:-0 0 0 0}"
}

# Screen position of a twip point inside a form's client area.
e2e_point() {
  local form=$1 x=$2 y=$3 w X Y
  w=$(e2e_wait_window "$form")
  read -r X Y _ _ < <(e2e_geometry "$w")
  echo "$((X + x / 15)) $((Y + y / 15))"
}

# Moves the pointer; xdotool's --sync would wait long for a pointer that is already there.
e2e_move() {
  local x=$1 y=$2 at
  at=$(xdotool getmouselocation | sed -E 's/x:([-0-9]+) y:([-0-9]+).*/\1 \2/')
  [[ "$at" == "$x $y" ]] || xdotool mousemove --sync "$x" "$y"
}

e2e_click() {
  local p
  p=$(e2e_point "$1" "$2" "$3")
  # shellcheck disable=SC2086
  e2e_move $p
  sleep 0.05
  xdotool click 1
  sleep 0.3
}

e2e_drag() {
  local form=$1 p1 p2 x1 y1 x2 y2 i
  p1=$(e2e_point "$form" "$2" "$3")
  p2=$(e2e_point "$form" "$4" "$5")
  read -r x1 y1 <<<"$p1"
  read -r x2 y2 <<<"$p2"
  xdotool mousemove --sync "$x1" "$y1"
  xdotool mousedown 1
  for i in $(seq 1 10); do
    xdotool mousemove --sync $((x1 + (x2 - x1) * i / 10)) $((y1 + (y2 - y1) * i / 10))
    sleep 0.02
  done
  xdotool mouseup 1
  sleep 0.3
}

e2e_type() { xdotool type --delay 20 -- "$1"; sleep 0.2; }
e2e_key() { xdotool key "$@"; sleep 0.3; }

# Reads the text in a rectangle of a form's client area (twips: left top width height) off the
# screen; light text on blue reads well in the blue channel.
e2e_read() {
  local form=$1 left=$2 top=$3 width=$4 height=$5 p x y
  p=$(e2e_point "$form" "$left" "$top")
  read -r x y <<<"$p"
  import -window root -crop "$((width / 15))x$((height / 15))+$x+$y" "$E2E_DIR/band.png"
  convert "$E2E_DIR/band.png" -channel B -separate -resize 200% "$E2E_DIR/band-blue.png"
  tesseract "$E2E_DIR/band-blue.png" - --psm 6 2>/dev/null | tr '\n' ' ' | tr -s ' '
}

e2e_shot() { import -window root "$E2E_ARTIFACTS/$1.png" 2>/dev/null || true; }

# Records what the default sink plays; e2e_record_stop prints the peak amplitude (0.0 to 1.0).
# Recordings are raw 16-bit stereo at 44.1 kHz, so they can be read while they grow.
E2E_REC_FMT=(-t raw -r 44100 -e signed -b 16 -c 2)

e2e_record_start() {
  E2E_REC_FILE=$(mktemp /tmp/terravale-rec.XXXXXX.raw)
  local sink
  sink=$(pactl get-default-sink 2>/dev/null || echo terravale_null)
  parec --latency-msec=20 -d "$sink.monitor" --raw --format=s16le --rate=44100 --channels=2 >"$E2E_REC_FILE" &
  E2E_REC_PID=$!
  sleep 0.5
}

# The peak amplitude recorded so far (0.0 to 1.0), leaving out the first $1 seconds.
e2e_record_peak() {
  local peak
  peak=$(sox "${E2E_REC_FMT[@]}" "$E2E_REC_FILE" -n trim "${1:-0}" stat 2>&1 | awk '/Maximum amplitude/ {print $3}')
  echo "${peak:-0}"
}

# Waits up to $1 seconds (4 unless given) for a clip to be heard, ends the recording and prints
# its peak. A busy machine can start a clip late, so the wait ends early only on a clip.
e2e_record_stop() {
  local wait=${1:-4} i peak
  for ((i = 0; i < wait * 4; i++)); do
    sleep 0.25
    e2e_heard "$(e2e_record_peak)" && break
  done
  kill -INT "$E2E_REC_PID" 2>/dev/null || true
  wait "$E2E_REC_PID" 2>/dev/null || true
  E2E_REC_PID=""
  peak=$(e2e_record_peak)
  rm -f "$E2E_REC_FILE"
  echo "$peak"
}

# True when a recorded peak shows a clip was heard.
e2e_heard() { awk -v p="$1" 'BEGIN { exit !(p > 0.01) }'; }

# Types a whole worksheet into the open wizard (the title box has the focus; Enter walks the
# boxes) and ticks choice (q mod 4) of question q, counting from 0.
e2e_type_worksheet() {
  local title=$1 q c k x0 y0
  e2e_type "$title"
  for q in $(seq 1 10); do
    e2e_key Return
    e2e_type "Question $q, about the planet?"
    for c in A B C D; do
      e2e_key Return
      e2e_type "Choice $c$q"
    done
  done
  for q in $(seq 0 9); do
    k=$((q % 4)); x0=$((240 + 5880 * (q / 5))); y0=$((600 + 1440 * (q % 5)))
    e2e_click wizard $((x0 + 240 + 2850 * (k % 2) + 120)) $((y0 + 630 + 330 * (k / 2) + 150))
  done
}
