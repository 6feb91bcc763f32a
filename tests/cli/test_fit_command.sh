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

# Refused input: exit status 2, the reason on standard error, nothing on standard output;
# an option it cannot read adds only where the help is.
printf '1 1\n2 4\n3 nine\n4 16\n' >"$work/bad.dta"
seq 1 301 | sed 's/$/ 1/' >"$work/many.dta"
printf '1 1\n2 4\n' >"$work/few.dta"
mkfifo "$work/unwritten.dta"
pointer="Try 'quilvex fit --help' for more information."
# arguments | text standard error must hold | "usage" for an option error
refused=(
  "$work/bad.dta|bad.dta, line 3|"
  "$work/many.dta|(max 300)|"
  "$work/few.dta|at least 3|"
  "$work/missing.dta|File not found|"
  "$examples|File is a directory, not a data file|"
  "$work/unwritten.dta|No data came from the pipe|"
  "--method cubic $examples/noisy.dta|unknown method 'cubic'|usage"
  "--regression-order 300 $examples/noisy.dta|--regression-order takes a whole number from 1 to 299|usage"
  "--format xml $examples/noisy.dta|--format takes text, csv or json|usage"
  "--at 1,5 $examples/noisy.dta|--at takes a number, not '1,5'|usage"
  "--at 1e5000 $examples/noisy.dta|--at takes a number within the range of numbers, not '1e5000'|usage"
  "--at -1e6000 $examples/noisy.dta|within the range of numbers, not '-1e6000'|usage"
  "--bogus $examples/noisy.dta|Unknown option 'bogus'|usage"
  "--weights sigmas $examples/noisy.dta|--weights takes none, sigma, y or y2, not 'sigmas'|usage"
  "--exclude 3,,7 $examples/noisy.dta|--exclude takes data line numbers from 1, separated by commas, not '3,,7'|usage"
  "--exclude 0 $examples/noisy.dta|--exclude takes data line numbers from 1|usage"
  "--exclude 2.5 $examples/noisy.dta|--exclude takes data line numbers from 1|usage"
  "--exclude 21 $examples/noisy.dta|row 21 cannot be excluded: the table has 20 rows|"
  "--exclude 1,2,3,4,5,6,7,8,9,10 --exclude 11,12,13,14,15,16,17,18 $examples/noisy.dta|leaves 2 points to fit, fewer than 3|"
  "|one FILE needed|usage"
  "--through 1 $examples/noisy.dta|--through takes X,Y, two numbers, not '1'|usage"
  "--fix a1 $examples/noisy.dta|--fix takes NAME=VALUE (a0=0, b=-0.5), not 'a1'|usage"
  "--fix c=1 $examples/noisy.dta|no method has a coefficient named 'c'|usage"
  "--regression-order 1 --fix a0=1 --fix a1=2 --fix a2=0 $examples/noisy.dta|has no coefficient a2|usage"
  "--through-origin --fix a0=1 $examples/noisy.dta|a0 is held and also set|usage"
  "--fix a=1 --fix b=2 $examples/noisy.dta|a and b both held leave nothing to fit|usage"
  "--fix b=2 --method regression $examples/noisy.dta|the constraints concern none of the methods asked|usage"
)
for case in "${refused[@]}"; do
  IFS='|' read -r arguments err usage <<<"$case"
  # shellcheck disable=SC2086 # the arguments are split on purpose
  fit $arguments
  status=$?
  label="${arguments:0:60}"
  [[ $status == 2 ]] || fail "$label: exit status $status, not 2"
  [[ "$(head -1 "$work/err")" == "quilvex fit: "*"$err"* ]] || fail "$label: no '$err' on standard error"
  [[ ! -s "$work/out" ]] || fail "$label: wrote to standard output"
  expected=("$(head -1 "$work/err")")
  [[ -n "$usage" ]] && expected+=("$pointer")
  mapfile -t got <"$work/err"
  [[ "${got[*]}" == "${expected[*]}" ]] || fail "$label: standard error is not the reason${usage:+ and the pointer}"
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
header='method,order,coefficient,value,se,ci95_low,ci95_high,ssr,rms,max_abs_residual,r2,adj_r2,aicc,residual_se,stable_ssr,condition,agreement_digits,error,warnings,notes'
[[ "$(head -1 "$work/out")" == "$header" ]] || fail "csv: header $(head -1 "$work/out")"
[[ $(grep -c '^regression,1,a' "$work/out") == 2 ]] || fail "csv: not one row per coefficient"

# A flagged regression is followed by the stable solver's; named, the stable row comes alone and always;
# flat data are an exact fit: no AICc, no standard errors.
awk 'BEGIN { for (i = 1; i <= 12; i++) printf "%.7f %.6f\n", i * 0.000122, 1 + 0.3 * sin(i / 2) }' >"$work/tiny.dta"
fit --format json --method regression --regression-order 4 "$work/tiny.dta" || fail "flagged: exit status $?"
cp "$work/out" "$work/flagged.json"
fit --format json --method regression-stable --method exponential "$examples/noisy.dta" || fail "named: exit status $?"
cp "$work/out" "$work/named.json"
printf '1 3\n2 3\n3 3\n4 3\n5 3\n' >"$work/flat.dta"
fit --format json --method exponential "$work/flat.dta" || fail "flat: exit status $?"
python3 - "$work/flagged.json" "$work/named.json" "$work/out" <<'PY' || fail "stable row or exact fit not as described"
import json, sys
flagged, named, flat = (json.load(open(name))["methods"] for name in sys.argv[1:])
assert [m["method"] for m in flagged] == ["regression", "regression-stable"], flagged
designed, stable = flagged
assert all(c["se"] is None and c["ci95"] is None for c in designed["coefficients"])
assert any("regression-stable" in note for note in designed["notes"]) and designed["agreement_digits"] < 6
assert all(c["se"] > 0 for c in stable["coefficients"]) and stable["ssr"] < designed["ssr"]
assert stable["agreement_digits"] == designed["agreement_digits"] and stable["warnings"] == []
assert [m["method"] for m in named] == ["regression-stable", "exponential"] and named[0]["agreement_digits"] > 6
assert flat[0]["aicc"] is None and flat[0]["coefficients"][0]["se"] is None, flat
assert any(note.startswith("exact fit: SSR") for note in flat[0]["notes"]), flat[0]["notes"]
PY

# Excluded lines are left out of every fit as if deleted, and named; a weighting is always given in JSON
# and adds its columns to CSV.
fit --format json --weights y --exclude 3 --exclude 7,3 "$examples/noisy.dta" || fail "excluded: exit status $?"
cp "$work/out" "$work/excluded.json"
sed '4d;8d' "$examples/noisy.dta" >"$work/deleted.dta"
fit --format json "$work/deleted.dta" || fail "deleted: exit status $?"
python3 - "$work/excluded.json" "$work/out" <<'PY' || fail "excluded lines or weights not as described"
import json, sys
excluded, deleted = (json.load(open(name)) for name in sys.argv[1:])
assert excluded["weights"] == "y" and deleted["weights"] == "none"
assert excluded["points"] == 18 and excluded["table"]["excluded"] == [3, 7]
assert excluded["table"]["rows"] == [1, 2] + list(range(4, 7)) + list(range(8, 21)), excluded["table"]
assert excluded["table"]["x"] == deleted["table"]["x"] and "excluded" not in deleted["table"]
designed = [m for m in excluded["methods"] if not m["method"].endswith("-weighted")]
assert [m["ssr"] for m in designed] == [m["ssr"] for m in deleted["methods"]]
PY
# As written, the points left out are those of the lines named, whatever the sorting by x moves.
printf '5 26\n1 2\n3 10\n2 5\n4 17\n0 1\n' >"$work/unsorted.dta"
fit --format json --as-written --method regression --exclude 1,4 "$work/unsorted.dta" || fail "as written: exit status $?"
python3 - "$work/out" <<'PY' || fail "as written: excluded lines not as described"
import json, sys
table = json.load(open(sys.argv[1]))["table"]
assert table == {"x": [0, 1, 3, 4], "y": [1, 2, 10, 17], "rows": [6, 2, 3, 5], "excluded": [1, 4]}, table
PY
fit --weights y2 --exclude 3,7 "$examples/noisy.dta" || fail "excluded text: exit status $?"
[[ "$(sed -n 2,3p "$work/out")" == $'weights: y2\nexcluded: rows 3, 7, left out of every fit' ]] ||
  fail "excluded text: $(sed -n 2,3p "$work/out")"
fit --format csv --weights sigma --method spline "$examples/line.dta" || fail "weighted csv: exit status $?"
python3 - "$work/out" <<'PY' || fail "weighted csv: columns not as described"
import csv, sys
header, spline = list(csv.reader(open(sys.argv[1])))
weighted = ["se_absolute", "chi2", "dof", "chi2_reduced", "p_value"]
at = header.index("agreement_digits") + 1
assert header[at:at + 5] == weighted and header[at + 5] == "error", header
assert len(spline) == len(header) and spline[:at + 5][-5:] == [""] * 5 and spline[header.index("ssr")] == "0", spline
PY

# "-" reads standard input, and gives what the file gives.
fit --format csv "$examples/parabola.dta"
cp "$work/out" "$work/from-file"
env -u DISPLAY "$program" fit --format csv - <"$examples/parabola.dta" >"$work/out" 2>"$work/err" || fail "stdin: exit status $?"
cmp -s "$work/out" "$work/from-file" || fail "stdin: output differs from the file's"

# Constrained rows follow their free rows, each with its constraints; the line y = 2x + 1
# through (0, 1) is still exact, and through the origin its slope is sum xy / sum x^2.
fit --format json --regression-order 1 --through 0,1 --fix b=0.5 --method regression --method exponential-nls \
  "$examples/line.dta" || fail "constrained: exit status $?"
cp "$work/out" "$work/through.json"
fit --format json --regression-order 1 --through-origin --method regression "$examples/line.dta" ||
  fail "through origin: exit status $?"
python3 - "$work/through.json" "$work/out" "$examples/line.dta" <<'PY' || fail "constrained rows not as described"
import json, sys
rows = json.load(open(sys.argv[1]))["methods"]
assert [r["method"] for r in rows] == ["regression", "regression-constrained", "exponential-nls",
                                       "exponential-nls-constrained"], [r["method"] for r in rows]
assert rows[1]["constraints"] == ["through=(0,1)"] and rows[3]["constraints"] == ["b=0.5"]
assert abs(rows[1]["coefficients"][1]["value"] - 2) < 1e-15 and rows[1]["coefficients"][0]["se"] is None
assert rows[3]["coefficients"][1]["value"] == 0.5 and rows[3]["coefficients"][1]["se"] is None
origin = json.load(open(sys.argv[2]))["methods"][1]
points = [tuple(map(float, l.split())) for l in open(sys.argv[3]) if not l.startswith(";") and l.strip()]
slope = sum(x * y for x, y in points) / sum(x * x for x, y in points)
assert abs(origin["coefficients"][1]["value"] - slope) < 1e-14 * slope, origin["coefficients"]
assert any(n.startswith("R^2 uncentred") for n in origin["notes"]), origin["notes"]
PY
# Under a weighting the constrained row is weighted: chi2 with one free parameter, se under sigma.
fit --format json --weights sigma --through-origin --regression-order 1 --method regression "$examples/counts.dta" ||
  fail "weighted constrained: exit status $?"
python3 - "$work/out" <<'PY' || fail "weighted constrained row not weighted"
import json, sys
row = json.load(open(sys.argv[1]))["methods"][2]
assert row["method"] == "regression-constrained" and row["dof"] == 10, row
assert abs(row["aicc"] - (row["chi2"] + 2 + 4 / 9)) < 1e-9 * row["aicc"], row
assert row["coefficients"][1]["se_absolute"] > 0 and row["coefficients"][0]["se_absolute"] is None, row
PY
fit --regression-order 1 --fix a1=3 --method regression "$examples/line.dta" || fail "constrained text: exit status $?"
grep -q '^  constraints: a1=3$' "$work/out" || fail "constrained text: no constraints line"
# The file's own constraint lines apply unless the options give constraints.
{ printf '; constraints: regression a1=3\r\n'; cat "$examples/line.dta"; } >"$work/kept.dta"
fit --regression-order 1 --method regression "$work/kept.dta" || fail "file constraints: exit status $?"
grep -q '^  constraints: a1=3$' "$work/out" || fail "file constraints: not applied"
fit --regression-order 1 --through-origin --method regression "$work/kept.dta" || fail "file constraints: exit $?"
grep -q '^  constraints: a0=0$' "$work/out" || fail "file constraints: the options do not stand in their place"

# A repeated method or X is reported once.
fit --method spline --method spline --at 1 --at 1.0 --at 2 "$examples/line.dta" || fail "repeats: exit status $?"
[[ $(grep -c '^spline' "$work/out") == 1 && $(grep -c '^  y(1) ' "$work/out") == 1 &&
  $(grep -c '^  y(2) ' "$work/out") == 1 ]] || fail "repeats: not one entry each"

# A Y field longer than the reader keeps is read cut, as File > Open reads it, and noted by its line.
printf '; ten to the 5000th, written out\n1 1\n2 1%s\n3 3\n4 4\n' "$(head -c 5000 /dev/zero | tr '\0' 0)" >"$work/long.dta"
fit --format json --method regression --regression-order 1 "$work/long.dta" || fail "long field: exit status $?"
python3 - "$work/out" <<'PY' || fail "long field: not read cut, or not noted"
import json, sys
regression = json.load(open(sys.argv[1]))["methods"][0]
assert regression["notes"][0] == ("line 3 of the file: the Y field is longer than 255 characters and was read "
                                  "from its first 255, as File > Open reads it"), regression["notes"]
assert not any("of the file" in note for note in regression["notes"][1:]), regression["notes"]
assert 4.99e253 < regression["coefficients"][0]["value"] < 5.01e253  # the line through a Y of 1E254
PY

# Help of the program and of the command; the command's options follow "fit".
env -u DISPLAY "$program" --help | grep -q '^  fit ' || fail "--help does not list fit"
fit --help || fail "fit --help: exit status $?"
for option in --regression-order --weights --exclude --through-origin --through --fix; do
  grep -qF -- "$option" "$work/out" || fail "fit --help does not list $option"
done
[[ "$(head -1 "$work/out")" == "Usage: "*" fit [options] FILE..." ]] || fail "fit --help: usage $(head -1 "$work/out")"

[[ $failures == 0 ]] && echo "[fit command] passed"
exit $((failures > 0))
