#!/usr/bin/env bash
# Runs clang-tidy (the checks in .clang-tidy) on source files under src/ of a built tree.
#   bash tools/clang-tidy.sh BUILD_DIR [FILE...]
# Without files: those changed in the last ten commits or not yet committed; every file with
# TERRAVALE_LINT_ALL=1, or where the history is not there to tell.
set -euo pipefail
build=${1:?usage: bash tools/clang-tidy.sh BUILD_DIR [FILE...]}
shift
cd "$(dirname "$0")/.."
if (($#)); then
  files=("$@")
elif [[ "${TERRAVALE_LINT_ALL:-0}" != 1 ]] && base=$(git rev-parse -q --verify HEAD~10 2>/dev/null); then
  mapfile -t files < <({ git diff --name-only --diff-filter=d "$base" -- 'src/*.cpp'
                         git ls-files --others --exclude-standard -- 'src/*.cpp'; } | sort -u)
else
  mapfile -t files < <(find src -name '*.cpp' | sort)
fi
if ((${#files[@]} == 0)); then
  echo "no source file changed lately: nothing to check"
  exit 0
fi
echo "clang-tidy on ${#files[@]} files"
# One file per process, two at a time; any finding fails the run (WarningsAsErrors).
set +e
printf '%s\n' "${files[@]}" | xargs -P 2 -n 1 clang-tidy -p "$build" --quiet 2>&1 |
  grep -v '^[0-9]* warnings\? generated\.$'
status=${PIPESTATUS[1]}
exit "$status"
