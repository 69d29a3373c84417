#!/usr/bin/env bash
# Whole-program figures under a real X server (DISPLAY set, e.g. by tools/services.sh), with or
# without a window manager: start to the first window and to the title screen mapped against an
# empty Qt Widgets window started the same way (medians of N runs each, and their ratios), and peak
# memory with the menu shown. Times come from the X server's map events (bench/startup.py); every
# wait has a limit.
#   bench/startup.sh [runs] [build dir]       (15 runs, build/ unless given)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-15}
build=$(cd "${2:-$root/build}" && pwd)
for f in "$build/terravale" "$build/bench/startup_empty"; do
  [[ -x "$f" ]] || { echo "startup: $f is not built (cmake --build $build)" >&2; exit 1; }
done
[[ -n "${DISPLAY:-}" ]] || { echo "startup: no DISPLAY" >&2; exit 1; }
exec timeout 900 /usr/bin/python3 "$root/bench/startup.py" --program "$build/terravale" \
  --empty "$build/bench/startup_empty" --data "$build/data" --runs "$runs"
