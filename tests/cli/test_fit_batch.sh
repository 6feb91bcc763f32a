#!/usr/bin/env bash
# `quilvex fit` with several FILEs, the table it fits (the grid's 8 digits and
# the ascending adjustment, or --as-written) and the notes of what they changed.
# Usage: test_fit_batch.sh PROGRAM EXAMPLES_DIR
set -uo pipefail
program="$1"
examples="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
fit() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" fit "$@"; }

# A slow file first, so that later files are done before it: the output keeps the order given.
seq 1 300 | awk '{ printf "%d %.4f\n", $1, sin($1 / 9) }' >"$work/slow.dta"
files=("$work/slow.dta" "$examples/parabola.dta" "$examples/line.dta" "$examples/noisy.dta" "$examples/decay.dta")
options=(--regression-order 60 --at 2.5)

# Each file's part of the batch is its output alone: text sections with a blank line
# between them, CSV rows under one header with the file first, one JSON object per line.
fit "${options[@]}" "${files[@]}" >"$work/text" || fail "text: exit status $?"
fit --format csv "${options[@]}" "${files[@]}" >"$work/csv" || fail "csv: exit status $?"
fit --format json "${options[@]}" "${files[@]}" >"$work/jsonl" || fail "json: exit status $?"
: >"$work/text-expected"
for file in "${files[@]}"; do
  [[ -s "$work/text-expected" ]] && echo >>"$work/text-expected"
  fit "${options[@]}" "$file" >>"$work/text-expected"
  fit --format csv "${options[@]}" "$file" >"$work/csv-$(basename "$file")"
  fit --format json "${options[@]}" "$file" >"$work/json-$(basename "$file")"
done
cmp -s "$work/text" "$work/text-expected" || fail "text: not the single outputs in the order given"
python3 - "$work" "${files[@]}" <<'PY' || fail "csv or json lines: not the single outputs in the order given"
import csv, json, os, sys
work, files = sys.argv[1], sys.argv[2:]
rows = list(csv.reader(open(os.path.join(work, "csv"))))
single = [list(csv.reader(open(os.path.join(work, "csv-" + os.path.basename(f))))) for f in files]
assert rows[0] == ["file"] + single[0][0], rows[0]
assert rows[1:] == [[f] + row for f, s in zip(files, single) for row in s[1:]]
lines = open(os.path.join(work, "jsonl")).read().splitlines()
assert [json.loads(line) for line in lines] == [json.load(open(os.path.join(work, "json-" + os.path.basename(f))))
                                                for f in files]
PY

# A file that cannot be read or fitted: one line naming it, the others fitted, exit status 2 at the end.
printf '1 1\n2 4\n' >"$work/few.dta"
printf '1 1\n2 x\n3 9\n' >"$work/bad.dta"
fit --format json --method regression "$work/few.dta" "$examples/line.dta" "$work/missing.dta" "$work/bad.dta" \
  "$examples/noisy.dta" >"$work/out" 2>"$work/err"
status=$?
[[ $status == 2 ]] || fail "bad files: exit status $status, not 2"
mapfile -t errors <"$work/err"
expected=("quilvex fit: $work/few.dta: Too few X,Y values, must be at least 3!"
  "quilvex fit: $work/missing.dta: File not found"
  "quilvex fit: $work/bad.dta: Invalid data in file $work/bad.dta, line 2: \"2\", \"x\"")
[[ "${errors[*]}" == "${expected[*]}" ]] || fail "bad files: standard error is '${errors[*]}'"
[[ "$(python3 -c 'import json, sys; print(*[json.loads(l)["file"] for l in sys.stdin])' <"$work/out")" == \
  "$examples/line.dta $examples/noisy.dta" ]] || fail "bad files: the others not fitted"
fit "$examples/line.dta" - - </dev/null >/dev/null 2>&1
[[ $? == 2 ]] || fail "standard input named twice: not refused"

# The table fitted and the notes of what the grid's digits and the ascending adjustment changed.
printf '1 1\n2 4\n2 5\n1.5 2.25\n4 16\n' >"$work/repeated.dta"
printf '0.123456789012 1.5\n0.2 2.25\n0.3 3.0000000001\n0.4 4\n' >"$work/digits.dta"
printf '1000000 1\n1000009.41 2\n1000009.44 3\n1000012 4\n' >"$work/clustered.dta"
# file | options | x fitted | y fitted | notes beside each method's own, "/" between them
cases=(
  "repeated|--method regression|1,2,2.2,2.42,4|1,4,5,2.25,16|2 x values moved by the ascending adjustment, as a replot moves them; --as-written fits the points as written, sorted by x"
  "repeated|--as-written --method regression|1,1.5,2,2,4|1,2.25,4,5,16|"
  "digits|--method regression|0.12345679,0.2,0.3,0.4|1.5,2.25,3,4|2 values rounded to 8 significant digits, as the grid holds them (x and y counted); --as-written fits the values as the file writes them"
  "digits|--as-written --method regression|0.123456789012,0.2,0.3,0.4|1.5,2.25,3.0000000001,4|"
  "clustered|--method regression|1000000,1000009.4,1100010.34,1210011.374|1,2,3,4|2 values rounded to 8 significant digits, as the grid holds them (x and y counted); --as-written fits the values as the file writes them/2 x values moved by the ascending adjustment, as a replot moves them; --as-written fits the points as written, sorted by x"
  "clustered|--as-written --method regression|1000000,1000009.41,1000009.44,1000012|1,2,3,4|"
)
for case in "${cases[@]}"; do
  IFS='|' read -r name arguments x y notes <<<"$case"
  # shellcheck disable=SC2086 # the arguments are split on purpose
  fit --format json $arguments "$work/$name.dta" >"$work/out" || fail "$name $arguments: exit status $?"
  python3 - "$work/out" "$x" "$y" "$notes" <<'PY' || fail "$name $arguments: table or notes not as fitted"
import json, sys
report = json.load(open(sys.argv[1]))
numbers = lambda text: [float(v) for v in text.split(",")]
assert report["table"] == {"x": numbers(sys.argv[2]), "y": numbers(sys.argv[3])}, report["table"]
notes = report["methods"][0]["notes"]
expected = sys.argv[4].split("/") if sys.argv[4] else []
assert notes[:len(expected)] == expected and not any("written" in n for n in notes[len(expected):]), notes
PY
done

# As written, the curves through every point are not defined where X repeats; the others are fitted.
fit --as-written --at 3 "$work/repeated.dta" >"$work/out" || fail "as written: exit status $?"
for method in spline "lagrange, order 4" "lagrange-order, order 3"; do
  grep -A2 -x "$method" "$work/out" | tr '\n' '|' |
    grep -qx "$method|  error: not defined: repeated X|  y(3)            not defined: repeated X|" ||
    fail "as written: $method is not 'not defined: repeated X'"
done
grep -q '^  a3 ' "$work/out" && ! grep -q 'adjusted\|warning: x values' "$work/out" ||
  fail "as written: the regression not fitted, or X adjusted"

[[ $failures == 0 ]] && echo "[fit batch] passed"
exit $((failures > 0))
