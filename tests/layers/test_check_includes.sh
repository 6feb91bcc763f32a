#!/usr/bin/env bash
# The include check refuses what it must (what it lets through is held by
# layers.includes on the real tree): each case is one file with one include,
# checked alone in a scratch source tree.
# Usage: test_check_includes.sh
set -uo pipefail
check="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/check_includes.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

# file | included header | exit status of the check
cases=(
  "app/document.h|graph/QuilvexG.h|1"
  "app/document.cpp|details/FitDetails.h|1"
  "app/tablehistory.cpp|app/QuilvexApp.h|1"
  "cli/fitcommand.cpp|ui/dialogs.h|1"
  "cli/fitoutput.h|report/Status.h|1"
  "cli/fitcommand.cpp|mainwin/commandline.h|1"
  "cli/fitcommand.cpp|app/document.h|1"
  "cli/fitoutput.cpp|report/core/resultstext.h|0"
)
for case in "${cases[@]}"; do
  IFS='|' read -r file header status <<<"$case"
  root="$work/tree"
  rm -rf "$root"
  mkdir -p "$root/$(dirname "$file")"
  printf '#include "%s"\n' "$header" >"$root/$file"
  bash "$check" "$root" >/dev/null 2>&1
  got=$?
  [[ $got == "$status" ]] || { echo "FAIL: $file including $header: check exits $got, not $status" >&2; failures=$((failures + 1)); }
done
[[ $failures == 0 ]] && echo "[include check] passed"
exit $((failures > 0))
