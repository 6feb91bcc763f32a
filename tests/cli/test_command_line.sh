#!/usr/bin/env bash
# The command line answers without any display: no X server, no Wayland, no
# platform plug-in chosen. Usage: test_command_line.sh PROGRAM
set -uo pipefail
program="$1"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

headless() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$@"; }

# argument | exit status | text its standard output must hold | its standard error
cases=(
  "--version|0|quilvex 0.9|"
  "--help|0|[FILE]|"
  "-h|0|--version|"
  "--bogus|2||Unknown option 'bogus'"
  "a.dta b.dta|2||one FILE at most"
)
for case in "${cases[@]}"; do
  IFS='|' read -r arguments status out err <<<"$case"
  # shellcheck disable=SC2086 # the arguments are split on purpose
  headless $arguments >/tmp/qcl.out.$$ 2>/tmp/qcl.err.$$
  got=$?
  [[ $got == "$status" ]] || fail "$arguments: exit status $got, not $status"
  [[ -z "$out" ]] || grep -qF -- "$out" /tmp/qcl.out.$$ || fail "$arguments: no '$out' on standard output"
  [[ -z "$err" ]] || grep -qF -- "$err" /tmp/qcl.err.$$ || fail "$arguments: no '$err' on standard error"
  if [[ $status == 2 ]]; then
    # The reason, then where the help is: never the whole help.
    [[ "$(sed -n 2p /tmp/qcl.err.$$)" == "Try 'quilvex --help' for more information." &&
      $(wc -l </tmp/qcl.err.$$) == 2 ]] || fail "$arguments: not the reason and a pointer to --help"
    [[ ! -s /tmp/qcl.out.$$ ]] || fail "$arguments: wrote to standard output"
  fi
done
rm -f /tmp/qcl.out.$$ /tmp/qcl.err.$$
[[ $failures == 0 ]] && echo "[command line] passed"
exit $((failures > 0))
