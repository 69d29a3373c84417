#!/usr/bin/env bash
# Runs clang-tidy (the checks in .clang-tidy) on source files of a built tree.
#   bash tools/clang-tidy.sh BUILD_DIR [FILE...]
# Without files: those of the platform and the rules (src/platform, src/rules) changed in the last
# ten commits or not yet committed; all of src/ with TERRAVALE_LINT_ALL=1; every platform and rules
# file where the history is not there to tell.
set -euo pipefail
build=${1:?usage: bash tools/clang-tidy.sh BUILD_DIR [FILE...]}
shift
cd "$(dirname "$0")/.."
if (($#)); then
  files=("$@")
elif [[ "${TERRAVALE_LINT_ALL:-0}" == 1 ]]; then
  mapfile -t files < <(find src -name '*.cpp' | sort)
elif base=$(git rev-parse -q --verify HEAD~10 2>/dev/null); then
  mapfile -t files < <({ git diff --name-only --diff-filter=d "$base" -- 'src/platform/*.cpp' 'src/rules/*.cpp'
                         git ls-files --others --exclude-standard -- 'src/platform/*.cpp' 'src/rules/*.cpp'; } | sort -u)
else
  mapfile -t files < <(find src/platform src/rules -name '*.cpp' | sort)
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
