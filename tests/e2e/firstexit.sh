#!/usr/bin/env bash
# The first title screen's "Exit" is silent: the sound switch is not on before the menu loads.
source "$(dirname "$0")/lib.sh"

e2e_start
e2e_record_start
e2e_click Titlefrm 3400 6150
peak=$(e2e_record_stop)
for _ in $(seq 50); do kill -0 "$E2E_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$E2E_PID" 2>/dev/null && e2e_fail "program still running after Exit"
e2e_heard "$peak" && e2e_fail "a click was heard on the first Exit (peak $peak)"
echo "first exit silent"
