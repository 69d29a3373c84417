#!/usr/bin/env bash
# The real program: backdrop, centred title screen, OK to the menu, Exit and Cancel, Exit ends with status 0.
source "$(dirname "$0")/lib.sh"

e2e_start
e2e_shot shell-title

grey=$(e2e_wait_window Grey)
read -r X Y WIDTH HEIGHT < <(e2e_geometry "$grey")
read -r sw sh < <(xdpyinfo | awk '/dimensions:/ {split($2, d, "x"); print d[1], d[2]}')
[[ "$X $Y $WIDTH $HEIGHT" == "0 0 $sw $sh" ]] || e2e_fail "backdrop is ${WIDTH}x${HEIGHT} at $X,$Y, display ${sw}x${sh}"

# The window, title bar and all, is put where the centring puts a window of the design size.
title=$(e2e_wait_window Titlefrm)
read -r X Y WIDTH HEIGHT < <(e2e_geometry "$title")
read -r fl _ ft _ < <(e2e_frame_extents "$title")
[[ $((X - fl + WIDTH / 2 - sw / 2)) -le 1 && $((X - fl + WIDTH / 2 - sw / 2)) -ge -1 ]] || e2e_fail "title screen not centred across ($X, $WIDTH)"
[[ $((Y - ft + HEIGHT / 2 - sh / 2)) -le 1 && $((Y - ft + HEIGHT / 2 - sh / 2)) -ge -1 ]] || e2e_fail "title screen not centred down ($Y, $HEIGHT)"

# "OK" opens the menu; the click is heard.
e2e_record_start
e2e_click Titlefrm 1900 6150
menu=$(e2e_wait_window intro0)
e2e_gone Titlefrm
peak=$(e2e_record_stop)
e2e_heard "$peak" || e2e_fail "no click heard after OK (peak $peak)"
e2e_shot shell-menu

# "Sound Off", then the menu's "Exit": no click; the title screen returns with "Cancel".
e2e_click intro0 10800 600
e2e_record_start
e2e_click intro0 11100 8100
e2e_wait_window Titlefrm >/dev/null
peak=$(e2e_record_stop)
e2e_heard "$peak" && e2e_fail "a click was heard with Sound Off (peak $peak)"
e2e_shot shell-cancel

# "Cancel" returns to the same menu window.
e2e_click Titlefrm 1900 6150
e2e_gone Titlefrm
again=$(e2e_wait_window intro0)
[[ "$again" == "$menu" ]] || e2e_fail "Cancel did not return to the same menu ($menu, $again)"

# Exit from the title screen ends the program with status 0.
e2e_click intro0 11100 8100
e2e_wait_window Titlefrm >/dev/null
e2e_click Titlefrm 3400 6150
for _ in $(seq 50); do kill -0 "$E2E_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$E2E_PID" 2>/dev/null && e2e_fail "program still running after Exit"
status=0
wait "$E2E_PID" || status=$?
E2E_PID=""
[[ $status -eq 0 ]] || e2e_fail "exit status $status"
echo "shell e2e passed"
