#!/usr/bin/env bash
# Runs clang-tidy (the checks in .clang-tidy) on every source file under src/ of a built tree.
#   bash tools/clang-tidy.sh BUILD_DIR [FILE...]    files default to all of src/
set -euo pipefail
build=${1:?usage: bash tools/clang-tidy.sh BUILD_DIR [FILE...]}
shift
cd "$(dirname "$0")/.."
if (($#)); then
  files=("$@")
else
  mapfile -t files < <(find src -name '*.cpp' | sort)
fi
# One file per process, two at a time; any finding fails the run (WarningsAsErrors).
set +e
printf '%s\n' "${files[@]}" | xargs -P 2 -n 1 clang-tidy -p "$build" --quiet 2>&1 |
  grep -v '^[0-9]* warnings\? generated\.$'
status=${PIPESTATUS[1]}
exit "$status"
