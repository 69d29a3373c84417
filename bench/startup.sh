#!/usr/bin/env bash
# Whole-program figures under a real X server (DISPLAY set, e.g. by tools/services.sh):
# start to title screen shown (median of N runs), and peak memory with the menu shown.
#   bench/startup.sh [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/terravale
runs=${1:-15}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp -r "$root/build/data/." "$dir/"

visible() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$1" --name '.*' 2>/dev/null); do
    xprop -id "$w" WM_WINDOW_ROLE 2>/dev/null | grep -q "\"$2\"" && { echo "$w"; return 0; }
  done
  return 1
}

times=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  (cd "$dir" && exec "$bin" >>"$dir/log.txt" 2>&1) &
  pid=$!
  until visible "$pid" Titlefrm >/dev/null; do sleep 0.002; done
  end=$(date +%s%N)
  times+=($(((end - start) / 1000000)))
  kill "$pid"; wait "$pid" 2>/dev/null || true
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
echo "start to title screen shown: median ${median} ms over $runs runs (${times[*]})"

(cd "$dir" && exec "$bin" >>"$dir/log.txt" 2>&1) &
pid=$!
until w=$(visible "$pid" Titlefrm); do sleep 0.01; done
eval "$(xdotool getwindowgeometry --shell "$w")"
xdotool mousemove --sync $((X + 1900 / 15)) $((Y + 6150 / 15)) click 1
until visible "$pid" intro0 >/dev/null; do sleep 0.01; done
sleep 0.5
echo "peak memory with the menu shown: $(awk '/VmHWM/ {print $2, $3}' /proc/$pid/status)"
kill "$pid"; wait "$pid" 2>/dev/null || true
