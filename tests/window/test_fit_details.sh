#!/usr/bin/env bash
# The "Fit details" window through real events: Ctrl+D opens it beside the
# graph; dragging a point changes its table and its residual plot (and the
# copied CSV's regression SSR); the bands drawn on the graph and taken off
# again, after which the graph box is the designed picture pixel for pixel.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
main="" graph="" details="" # window ids, set by qv_wait_window
qv_init "$@"

BOX_X=49 BOX_Y=1 BOX_W=538 BOX_H=402
RED=255,0,0
files="$QV_ARTIFACTS/files"
mkdir -p "$files"
# X 1..8, Y 2..6: at cover 80 % point 4 (4, 4) sits on column 238, row 201 of the box.
printf '1 2\r\n2 3\r\n3 5\r\n4 4\r\n5 6\r\n6 5.5\r\n7 4.5\r\n8 5\r\n' >"$files/points.dta"

qv_start_app "$files/points.dta"
qv_wait_window main "$QV_MAIN_TITLE"
qv_wait_window graph "$QV_GRAPH_TITLE"
qv_wait_idle
qv_key "$main" ctrl+d
qv_wait_window details '^Fit details$'
qv_wait_idle
qv_window_geometry "$details"
DW=$QV_WIN_W DH=$QV_WIN_H
TABLE=(0 0 "$DW" $((DH * 2 / 5)))                     # the table, in the upper half
PLOT=(0 $((DH * 11 / 20)) "$DW" $((DH * 7 / 20)))     # the residual plot, in the lower half
BANDS_BOX=(18 $((DH - 23)))                           # "95 % bands on the graph"
COPY_CSV=($((DW - 177)) $((DH - 23)))                 # "Copy as CSV"

copied_csv() {
  qv_raise "$details"
  qv_click "$details" "${COPY_CSV[@]}"
  sleep 0.5
  timeout "$QV_STEP_TIMEOUT" xclip -selection clipboard -o >"$files/$1.csv" || qv_fail "no CSV on the clipboard"
  grep '^Regression order 3 polynomial,' "$files/$1.csv" | cut -d, -f1 >/dev/null \
    || qv_fail "$1.csv holds no regression row"
}
# The regression row's SSR: the fifth field once the quoted ones are taken out.
regression_ssr() { grep '^Regression' "$files/$1.csv" | sed 's/"[^"]*"/q/g' | cut -d, -f5; }

shown() {
  qv_raise "$details"
  qv_capture "$1-table" "$details" "${TABLE[@]}"
  qv_capture "$1-plot" "$details" "${PLOT[@]}"
  local red
  red="$(qv_pixels count "$RED")"
  ((red > 20)) || { QV_WHY="$red red residual marker pixels in the plot"; return 1; }
}
qv_retry 4 "the window shows the table and the regression's residuals" shown 01-opened
copied_csv before
qv_screenshot 02-beside-the-graph
# Ctrl+C on the regression's SSR cell copies its 18 digits, as the CSV has them.
qv_click "$details" 18 74 # the header of row 2, the regression: selects the row
qv_key "$details" ctrl+c
sleep 0.5
timeout "$QV_STEP_TIMEOUT" xclip -selection clipboard -o >"$files/row.tsv" || qv_fail "no cells on the clipboard"
[[ "$(cut -f5 "$files/row.tsv")" == "$(regression_ssr before)" ]] \
  || qv_fail "Ctrl+C copied $(cat "$files/row.tsv"), not the regression's SSR $(regression_ssr before)"
qv_click "$details" 300 200 # below the rows: the selection is cleared, the plot shows every row again

qv_raise "$graph"
qv_drag "$graph" $((BOX_X + 238)),$((BOX_Y + 201)) $((BOX_X + 238)),$((BOX_Y + 240)) \
  $((BOX_X + 238)),$((BOX_Y + 280)) $((BOX_X + 238)),$((BOX_Y + 320))
sleep 0.5

# differs <what> <a.png> <b.png>: ImageMagick counts differing pixels.
differs() {
  local differing
  differing="$(compare -metric AE "$2" "$3" null: 2>&1)" || true
  [[ "$differing" =~ ^[0-9]+$ && "$differing" -gt 50 ]] || { QV_WHY="$1: $differing pixels differ"; return 1; }
}
followed() {
  shown 03-dragged || return 1
  differs "table after the drag" "$QV_ARTIFACTS/01-opened-table-part.png" "$QV_ARTIFACTS/03-dragged-table-part.png" &&
    differs "residual plot after the drag" "$QV_ARTIFACTS/01-opened-plot-part.png" "$QV_ARTIFACTS/03-dragged-plot-part.png"
}
qv_retry 4 "the table and the residual plot follow the drag" followed
copied_csv after
[[ "$(regression_ssr before)" != "$(regression_ssr after)" ]] || qv_fail "the regression's SSR did not change with the drag"
qv_log "ok: regression SSR $(regression_ssr before) before the drag, $(regression_ssr after) after"

capture_graph() {
  qv_raise "$graph"
  qv_capture "$1" "$graph" "$BOX_X" "$BOX_Y" "$BOX_W" "$BOX_H"
}
capture_graph 04-designed
qv_raise "$details"
qv_click "$details" "${BANDS_BOX[@]}"
sleep 0.5
banded() {
  capture_graph 05-bands-on
  differs "graph with the bands" "$QV_ARTIFACTS/04-designed-part.png" "$QV_ARTIFACTS/05-bands-on-part.png"
}
qv_retry 4 "the bands are drawn on the graph" banded
qv_raise "$details"
qv_click "$details" "${BANDS_BOX[@]}"
sleep 0.5
designed_again() {
  local differing
  capture_graph 06-bands-off
  differing="$(compare -metric AE "$QV_ARTIFACTS/04-designed-part.png" "$QV_ARTIFACTS/06-bands-off-part.png" null: 2>&1)" || true
  [[ "$differing" == 0 ]] || { QV_WHY="$differing pixels differ from the designed picture"; return 1; }
}
qv_retry 4 "bands off: the graph box is the designed picture pixel for pixel" designed_again

qv_close_window "$main"
# The dragged table was never saved: the program asks; "Discard" (after "Save") ends it.
box=""
qv_wait_window box '^Warning$' 10
qv_key "$box" Tab space
qv_expect_exit 0
