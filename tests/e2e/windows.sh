#!/usr/bin/env bash
# The real program under a window manager: the title bar's close button, Alt+F4 and a close request
# do what each screen's own Exit does; the backdrop stays beneath the screens and never takes the
# focus; maximise leaves a screen at its own size and place; a minimised screen comes back when it is
# shown again; a label dropped off the screen goes back; the sound options are no background to the
# menu's lit buttons. Every check runs; the failures are listed at the end.
source "$(dirname "$0")/lib.sh"

wmctrl -m >/dev/null 2>&1 || e2e_fail "no window manager on $DISPLAY (tools/services.sh starts openbox)"

FAILURES=()
check() { # check DESCRIPTION COMMAND...: notes a failure and goes on
  local what=$1
  shift
  if ! "$@"; then
    FAILURES+=("$what")
    echo "failed: $what" >&2
    e2e_shot "failure-windows-${#FAILURES[@]}"
  fi
}

hex() { printf '0x%x' "$1"; }
stacking() { xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*'; }
# The topmost window that is not minimised.
top_shown() {
  local w
  for w in $(stacking | tac); do
    xprop -id "$w" _NET_WM_STATE | grep -q _NET_WM_STATE_HIDDEN || { echo "$w"; return 0; }
  done
}
# The form's window is on top of the window manager's stack and has the focus.
in_front() {
  local w
  w=$(e2e_find_window "$1") || return 1
  [[ "$(top_shown)" == "$(hex "$w")" ]] &&
    [[ "$(xprop -root _NET_ACTIVE_WINDOW | grep -o '0x[0-9a-f]*')" == "$(hex "$w")" ]]
}
# The backdrop is the lowest of the program's windows.
backdrop_lowest() {
  local grey
  grey=$(e2e_find_window Grey) || return 1
  [[ "$(stacking | head -n1)" == "$(hex "$grey")" ]]
}
shown() { e2e_find_window "$1" >/dev/null; }
gone() { ! e2e_find_window "$1" >/dev/null; }
wait_front() { for _ in $(seq 30); do in_front "$1" && return 0; sleep 0.1; done; return 1; }
wait_gone() { for _ in $(seq 30); do gone "$1" && return 0; sleep 0.1; done; return 1; }
# The form's client area reaches the given geometry within 3 seconds.
wait_placed() { for _ in $(seq 30); do [[ "$(geometry_of "$1")" == "$2" ]] && return 0; sleep 0.1; done; return 1; }
alive() { kill -0 "$E2E_PID" 2>/dev/null; }
ended_with_0() {
  local status=0
  for _ in $(seq 100); do alive || break; sleep 0.1; done
  alive && return 1
  wait "$E2E_PID" || status=$?
  E2E_PID=""
  [[ $status -eq 0 ]]
}

# (xdotool's mousemove --sync waits long for a pointer that is already there.)
click_backdrop() {
  xdotool mousemove --sync 3 3 click 1
  sleep 0.3
  xdotool mousemove --sync 6 6 click 1
  sleep 0.4
}
# A click on the form's title bar gives it the focus.
focus_form() {
  local X Y t
  read -r X Y _ _ < <(geometry_of "$1")
  read -r _ _ t _ < <(e2e_frame_extents "$(e2e_find_window "$1")")
  xdotool mousemove --sync $((X + 60)) $((Y - t / 2)) click 1
  sleep 0.3
}
alt_f4() { focus_form "$1"; e2e_key alt+F4; sleep 0.3; }
# The close button the window manager draws at the right end of the title bar.
close_button() {
  local w X Y W H r t
  w=$(e2e_wait_window "$1")
  read -r X Y W H < <(e2e_geometry "$w")
  read -r _ r t _ < <(e2e_frame_extents "$w")
  ((t > 0)) || { echo "no title bar on $1" >&2; return 1; }
  xdotool mousemove --sync $((X + W + r - 11)) $((Y - t / 2))
  sleep 0.05
  xdotool click 1
  sleep 0.5
}
geometry_of() { e2e_geometry "$(e2e_wait_window "$1")"; }
# The colour of one pixel of a form's client area (twips).
pixel() {
  local p x y
  p=$(e2e_point "$1" "$2" "$3")
  read -r x y <<<"$p"
  import -window root -crop "1x1+$x+$y" -depth 8 txt:- | tail -1 | grep -o '#[0-9A-F]\{6\}'
}
pixel_is() { [[ "$(pixel "$1" "$2" "$3")" == "$4" ]]; }
pixel_is_not() { [[ "$(pixel "$1" "$2" "$3")" != "$4" ]]; }

NAVY="#000080"; BLACK="#000000"; SCREEN_BLUE="#273F89"

e2e_start

# The backdrop: clicked twice, the title screen stays in front with the focus.
click_backdrop
check "title screen in front after clicks on the backdrop" in_front Titlefrm
check "backdrop lowest" backdrop_lowest
e2e_shot windows-title-after-backdrop

e2e_click Titlefrm 1900 6150            # OK
e2e_wait_window intro0 >/dev/null
click_backdrop
check "menu in front after clicks on the backdrop" in_front intro0
grey=$(e2e_find_window Grey)
wmctrl -i -c "$grey"                    # a close request to the backdrop is ignored
sleep 0.5
check "backdrop still there after a close request" shown Grey
check "menu still in front after a close request to the backdrop" in_front intro0

# Lit buttons stay lit while the pointer is over the sound options; the background clears them.
xdotool mousemove --sync $(e2e_point intro0 9000 3000)        # the picture
xdotool mousemove --sync $(e2e_point intro0 1600 1300)        # "Teachers' Guide" lights
xdotool mousemove --sync $(e2e_point intro0 9000 3000)
sleep 0.2
check "Teachers' Guide lit" pixel_is intro0 180 1150 "$NAVY"
xdotool mousemove --sync $(e2e_point intro0 11000 240)        # "Sound On"
sleep 0.2
check "Teachers' Guide still lit over Sound On" pixel_is intro0 180 1150 "$NAVY"
xdotool mousemove --sync $(e2e_point intro0 11000 600)        # "Sound Off"
sleep 0.2
check "Teachers' Guide still lit over Sound Off" pixel_is intro0 180 1150 "$NAVY"
xdotool mousemove --sync $(e2e_point intro0 6000 7500)        # background
sleep 0.2
check "the background clears the lit button" pixel_is intro0 180 1150 "$SCREEN_BLUE"

# Maximise and full screen from the window manager leave the menu as it was.
placed=$(geometry_of intro0)
menu=$(e2e_find_window intro0)
wmctrl -i -r "$menu" -b add,maximized_vert,maximized_horz
sleep 1
check "menu keeps its size and place when maximised ($(geometry_of intro0), was $placed)" \
  test "$(geometry_of intro0)" == "$placed"
wmctrl -i -r "$menu" -b add,fullscreen
sleep 1
check "menu keeps its size and place in full screen ($(geometry_of intro0), was $placed)" \
  test "$(geometry_of intro0)" == "$placed"

# The menu's close button is its Exit: the title screen comes back with "Cancel", alone over the
# backdrop; "Cancel" returns to the same menu.
close_button intro0
check "title screen back after closing the menu" wait_front Titlefrm
check "only the title screen is seen over the backdrop" gone intro0
e2e_click Titlefrm 1900 6150            # Cancel
check "Cancel returns to the menu" wait_front intro0
check "the same menu window" test "$(e2e_find_window intro0)" == "$menu"

# A hub: dragged by its title bar it goes back over the menu when let go; Alt+F4 is its Exit.
e2e_click intro0 4890 3060              # Rubbish
e2e_wait_window rubbish >/dev/null
read -r X Y _ _ < <(geometry_of rubbish)
xdotool mousemove --sync $((X + 200)) $((Y - 10)) mousedown 1
for i in $(seq 1 6); do xdotool mousemove --sync $((X + 200 + 40 * i)) $((Y - 10 + 20 * i)); sleep 0.05; done
check "the hub follows the title-bar drag" test "$(geometry_of rubbish)" != "$placed"
xdotool mouseup 1
sleep 1
check "the dragged hub is back at its place" wait_placed rubbish "$placed"
alt_f4 rubbish
check "hub gone after Alt+F4" wait_gone rubbish
check "menu in front after the hub's Alt+F4" wait_front intro0

# An activity: a label dropped on the backdrop goes back; minimised, the hub's button brings it back
# as it was; closed, it opens afresh.
e2e_click intro0 4890 3060
e2e_wait_window rubbish >/dev/null
e2e_click rubbish 5190 8160             # Labelling Activity
e2e_wait_window rubbishlab >/dev/null
e2e_drag rubbishlab 4522 2227 9802 3067 # label 0 from its home slot into its box
check "label in its box" pixel_is rubbishlab 9030 3080 "$BLACK"
read -r X Y _ _ < <(geometry_of rubbishlab)
p=$(e2e_point rubbishlab 3622 2727)     # label 3 in its home slot, dragged to the display's edge
read -r x1 y1 <<<"$p"
xdotool mousemove --sync "$x1" "$y1" mousedown 1
for i in $(seq 1 10); do xdotool mousemove --sync $((x1 - (x1 - 2) * i / 10)) "$y1"; sleep 0.02; done
check "the dragged label has left its home slot" pixel_is_not rubbishlab 3650 2560 "$BLACK"
xdotool mouseup 1
sleep 0.3
e2e_shot windows-label-dropped-off
check "label dropped off the screen is back in its home slot" pixel_is rubbishlab 3650 2560 "$BLACK"
lab=$(e2e_find_window rubbishlab)
xdotool windowminimize "$lab"
sleep 0.5
check "activity minimised" gone rubbishlab
check "hub in front while the activity is minimised" wait_front rubbish
e2e_click rubbish 5190 8160             # Labelling Activity again
check "the hub's button brings the minimised activity back" wait_front rubbishlab
check "the same activity window" test "$(e2e_find_window rubbishlab)" == "$lab"
check "its label still in its box" pixel_is rubbishlab 9030 3080 "$BLACK"
wmctrl -i -c "$lab"                     # close request: the activity's Exit
check "activity gone after a close request" wait_gone rubbishlab
check "hub in front after the activity closed" wait_front rubbish
e2e_click rubbish 5190 8160
e2e_wait_window rubbishlab >/dev/null
check "a reopened activity starts afresh" pixel_is_not rubbishlab 9030 3080 "$BLACK"
alt_f4 rubbishlab
check "activity gone after Alt+F4" wait_gone rubbishlab

# The quiz, closed at question 2, and its results closed from the title bar.
e2e_click rubbish 1710 8160             # Multiple Choice
e2e_wait_window multiple >/dev/null
e2e_click multiple 7880 8160            # on to question 2
alt_f4 multiple
check "quiz gone after Alt+F4" wait_gone multiple
check "hub in front after the quiz closed" wait_front rubbish
e2e_click rubbish 1710 8160
e2e_wait_window multiple >/dev/null
for _ in $(seq 10); do e2e_click multiple 7880 8160; done
e2e_wait_window Welldone >/dev/null
close_button Welldone
check "results gone after their close button" wait_gone Welldone
check "hub in front after the results closed" wait_front rubbish

# Minimised screens come back through their buttons; the last screen on show is not minimised.
hub=$(e2e_find_window rubbish)
xdotool windowminimize "$hub"
sleep 0.5
check "menu in front while the hub is minimised" wait_front intro0
e2e_click intro0 4890 3060              # Rubbish
check "the menu's button brings the minimised hub back" wait_front rubbish
check "the same hub window" test "$(e2e_find_window rubbish)" == "$hub"
e2e_click rubbish 11180 8160            # hub Exit
e2e_wait_window intro0 >/dev/null
xdotool windowminimize "$menu"
sleep 0.8
check "the menu, the last screen, is not minimised" wait_front intro0
check "the menu at its place" wait_placed intro0 "$placed"

# Alt+F4 on the menu re-opens the title screen; its close button ends the program.
alt_f4 intro0
check "title screen after the menu's Alt+F4" wait_front Titlefrm
close_button Titlefrm
check "the title screen's close button ends the program with status 0" ended_with_0
e2e_stop

# The first title screen: it is not minimised; Alt+F4 ends the program.
rm -rf "$E2E_DIR"
e2e_start
xdotool windowminimize "$(e2e_find_window Titlefrm)"
sleep 0.8
check "the title screen is not minimised" wait_front Titlefrm
alt_f4 Titlefrm
check "Alt+F4 on the first title screen ends the program with status 0" ended_with_0

if ((${#FAILURES[@]})); then
  e2e_fail "${#FAILURES[@]} checks failed: $(printf '%s; ' "${FAILURES[@]}")"
fi
echo "windows e2e passed"
