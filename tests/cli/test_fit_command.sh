#!/usr/bin/env bash
# `quilvex fit` without any display: exit statuses, the three output forms,
# standard input, and input the program refuses.
# Usage: test_fit_command.sh PROGRAM EXAMPLES_DIR
set -uo pipefail
program="$1"
examples="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
fit() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" fit "$@" >"$work/out" 2>"$work/err"; }

# Refused input: exit status 2, the reason on standard error, nothing on standard output.
printf '1 1\n2 4\n3 nine\n4 16\n' >"$work/bad.dta"
seq 1 301 | sed 's/$/ 1/' >"$work/many.dta"
printf '1 1\n2 4\n' >"$work/few.dta"
# arguments | text standard error must hold
refused=(
  "$work/bad.dta|bad.dta, line 3"
  "$work/many.dta|(max 300)"
  "$work/few.dta|at least 3"
  "$work/missing.dta|File not found"
  "--method cubic $examples/noisy.dta|unknown method 'cubic'"
  "--regression-order 300 $examples/noisy.dta|--regression-order takes a whole number from 1 to 299"
  "--format xml $examples/noisy.dta|--format takes text, csv or json"
  "--at 1,5 $examples/noisy.dta|--at takes a number"
  "|one FILE needed"
)
for case in "${refused[@]}"; do
  IFS='|' read -r arguments err <<<"$case"
  # shellcheck disable=SC2086 # the arguments are split on purpose
  fit $arguments
  status=$?
  [[ $status == 2 ]] || fail "$arguments: exit status $status, not 2"
  grep -qF -- "$err" "$work/err" || fail "$arguments: no '$err' on standard error"
  [[ ! -s "$work/out" ]] || fail "$arguments: wrote to standard output"
done

# JSON: every method, figures as numbers or null, read by a JSON parser.
fit --format json --at 2.5 --at -1 "$examples/noisy.dta" || fail "json: exit status $?"
python3 - "$work/out" <<'PY' || fail "json: not as described"
import json, sys
report = json.load(open(sys.argv[1]))
names = [m["method"] for m in report["methods"]]
assert report["points"] == 20 and names == ["spline", "lagrange", "lagrange-order", "regression", "exponential",
    "logarithmic", "power", "exponential-nls", "power-nls"], names
regression = report["methods"][3]
assert regression["order"] == 3 and [c["name"] for c in regression["coefficients"]] == ["a0", "a1", "a2", "a3"]
assert regression["stable_ssr"] > 0 and regression["condition"] > 1 and regression["warnings"] == []
low, high = regression["coefficients"][0]["ci95"]
assert low < regression["coefficients"][0]["value"] < high
assert report["methods"][0]["adj_r2"] is None
assert report["methods"][5]["at"][1] == {"x": -1, "error": "\"x\" value zero or negative!"}, report["methods"][5]["at"]
PY

# A method that cannot be evaluated says why in its entry; the run succeeds.
fit --format json --method power-nls --method power "$examples/decay.dta" || fail "decay: exit status $?"
python3 -m json.tool "$work/out" >/dev/null || fail "decay: not JSON"
grep -qF '"error": "the power model needs x > 0 at every point"' "$work/out" || fail "decay: no reason for power-nls"

# CSV: the header, then a row per coefficient; "." as decimal point.
fit --format csv --method regression --regression-order 1 "$examples/line.dta"
header='method,order,coefficient,value,se,ci95_low,ci95_high,ssr,rms,max_abs_residual,r2,adj_r2,aicc,residual_se,stable_ssr,condition,error,warnings,notes'
[[ "$(head -1 "$work/out")" == "$header" ]] || fail "csv: header $(head -1 "$work/out")"
[[ $(grep -c '^regression,1,a' "$work/out") == 2 ]] || fail "csv: not one row per coefficient"

# "-" reads standard input, and gives what the file gives.
fit --format csv "$examples/parabola.dta"
cp "$work/out" "$work/from-file"
env -u DISPLAY "$program" fit --format csv - <"$examples/parabola.dta" >"$work/out" 2>"$work/err" || fail "stdin: exit status $?"
cmp -s "$work/out" "$work/from-file" || fail "stdin: output differs from the file's"

# Help of the program and of the command.
env -u DISPLAY "$program" --help | grep -q '^  fit ' || fail "--help does not list fit"
fit --help || fail "fit --help: exit status $?"
grep -qF -- '--regression-order' "$work/out" || fail "fit --help does not list --regression-order"

[[ $failures == 0 ]] && echo "[fit command] passed"
exit $((failures > 0))
