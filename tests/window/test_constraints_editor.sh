#!/usr/bin/env bash
# The constraints editor through real events: in the "Fit details" window a
# click selects the regression row and another on "Constraints…" opens its
# editor beside the window; ticking "Through the origin" and clicking OK
# closes it, the graph shows the constrained curve in long red dashes where
# it had no red, the constrained row follows the regression's with its
# constraint in its formula (as "Copy as CSV" gives it), and "Save" writes
# the constraint line.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
main="" graph="" details="" editor="" # window ids, set by qv_wait_window
qv_init "$@"

files="$QV_ARTIFACTS/files"
mkdir -p "$files"
# The line y = 8 + 2x: through the origin its cubic leaves the line left of
# x = 1 and crosses the box's part RECT, which the line stays below.
printf '1 10\r\n2 12\r\n3 14\r\n4 16\r\n5 18\r\n' >"$files/points.dta"
BOX_X=49 BOX_Y=1 RED=255,0,0 RECT=(150 200 61 41)

qv_start_app "$files/points.dta"
qv_wait_window main "$QV_MAIN_TITLE"
qv_wait_window graph "$QV_GRAPH_TITLE"
qv_wait_idle
qv_raise "$graph"
qv_capture 00-free "$graph" $((BOX_X + RECT[0])) $((BOX_Y + RECT[1])) "${RECT[2]}" "${RECT[3]}"
(($(qv_pixels count "$RED") == 0)) || qv_fail "red in the part before any constraint"
qv_key "$main" ctrl+d
qv_wait_window details '^Fit details$'
qv_wait_idle
qv_window_geometry "$details"
DW=$QV_WIN_W DH=$QV_WIN_H
COPY_CSV=($((DW - 177)) $((DH - 23)))      # "Copy as CSV"
CONSTRAINTS=($((DW - 60)) $((DH - 87)))    # "Constraints…", at the end of the row above the Weights row
ORIGIN_BOX=(20 22)                         # the editor's "Through the origin (a0 = 0)"

qv_raise "$details"
qv_click "$details" 18 74 # the header of row 2, the regression: selects the row
sleep 0.3
qv_click "$details" "${CONSTRAINTS[@]}"
qv_wait_window editor '^Constraints: regression$'
qv_wait_idle
qv_screenshot 01-editor
qv_click "$editor" "${ORIGIN_BOX[@]}"
qv_window_geometry "$editor"
qv_click "$editor" $((QV_WIN_W - 210)) $((QV_WIN_H - 22)) # OK, the first of the three buttons
qv_wait_no_window '^Constraints: regression$'
qv_wait_idle
qv_raise "$graph"
qv_retry 4 "the constrained curve appears in long red dashes" \
  qv_long_dashes 02-dashed "$graph" $((BOX_X + RECT[0])) $((BOX_Y + RECT[1])) "${RECT[2]}" "${RECT[3]}" "$RED"

constrained_row() {
  echo marker | timeout "$QV_STEP_TIMEOUT" xclip -selection clipboard -i
  qv_raise "$details"
  qv_click "$details" "${COPY_CSV[@]}"
  sleep 0.5
  timeout "$QV_STEP_TIMEOUT" xclip -selection clipboard -o >"$files/table.csv" || qv_fail "no CSV on the clipboard"
  grep -A1 '^Regression order 3 polynomial,' "$files/table.csv" | tail -n 1 >"$files/row.csv"
  grep -q '^"Regression order 3 polynomial, constrained",".*, least squares \[a0=0\]",' "$files/row.csv" \
    || { QV_WHY="the row after the regression's: $(cat "$files/row.csv")"; return 1; }
}
qv_retry 4 "the constrained row follows the regression's" constrained_row
qv_screenshot 03-constrained-row

qv_key "$main" ctrl+s
qv_file_dialog "Save as" "$files/saved.dta"
grep -q '^; constraints: regression a0=0' "$files/saved.dta" || qv_fail "saved: $(od -An -c "$files/saved.dta")"

qv_close_window "$main"
qv_expect_exit 0
