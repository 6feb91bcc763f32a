#!/usr/bin/env bash
# Results out of the real windows: File > "Export graph…" writes a PNG whose
# box is the screen's box pixel for pixel and an SVG of shapes, "Copy graph"
# puts the same PNG on the clipboard, the status window adds the fit quality
# block and copies every coefficient at full precision. Then the program runs
# again at two device pixels per pixel and draws the graph at that resolution.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
main="" graph="" status="" # window ids, set by qv_wait_window
QV_SCREEN="1600x1200x24"    # room for the windows at twice their size
qv_init "$@"

BOX_X=49 BOX_Y=1 BOX_W=538 BOX_H=402
POINT=0,0,255
files="$QV_ARTIFACTS/files"
mkdir -p "$files"
# X 1..5, Y 2..6: at cover 80 % point 5 sits on column 484, row 40 of the box.
printf '1 2\r\n2 3\r\n3 5\r\n4 4\r\n5 6\r\n' >"$files/points.dta"

open_points() {
  qv_raise "$main"
  qv_menu "$main" 18 8 o # "&File", "&Open"
  qv_file_dialog "Open" "$files/points.dta"
  sleep 0.5
}

# same_pixels <what> <a.png> <b.png>: ImageMagick counts no differing pixel.
same_pixels() {
  local differing
  differing="$(compare -metric AE "$2" "$3" null: 2>&1)" || true
  [[ "$differing" == 0 ]] || { QV_WHY="$1: $differing pixels differ"; return 1; }
}

# ---- 1. Export as PNG and SVG, copy ----------------------------------------------

qv_start_app
qv_wait_window main "$QV_MAIN_TITLE"
qv_wait_window graph "$QV_GRAPH_TITLE"
open_points

qv_raise "$main"
qv_menu "$main" 18 8 e # "&File", "&Export graph…"
qv_wait_window dialog '^Export graph$'
qv_screenshot 01-export-dialog
qv_file_dialog "Export graph" "$files/graph.png"
[[ -s "$files/graph.png" ]] || qv_fail "no graph.png written"

exported_box_is_the_screen() {
  qv_raise "$graph"
  qv_capture 02-graph-on-screen "$graph" "$BOX_X" "$BOX_Y" "$BOX_W" "$BOX_H"
  convert "$files/graph.png" -crop "${BOX_W}x${BOX_H}+48+0" +repage "PNG24:$QV_ARTIFACTS/02-exported-box.png"
  same_pixels "exported box against the screen" "$QV_PART" "$QV_ARTIFACTS/02-exported-box.png"
}
qv_retry 3 "the exported PNG's box is the screen's box" exported_box_is_the_screen
[[ "$(identify -format '%wx%h' "$files/graph.png")" == "$((48 + BOX_W))x$((BOX_H + 12))" ]] \
  || qv_fail "graph.png is $(identify -format '%wx%h' "$files/graph.png")"
cp "$files/graph.png" "$QV_ARTIFACTS/03-exported-graph.png"

qv_raise "$main"
qv_menu "$main" 18 8 e
qv_file_dialog "Export graph" "$files/graph.svg"
# Five points, the selected one with two circles; the spline, the regression
# and the dashed axes as polylines; the four edge labels as text.
[[ "$(grep -Ec '<(circle|ellipse) ' "$files/graph.svg")" -eq 6 ]] || qv_fail "graph.svg does not hold six circles"
[[ "$(grep -c '<polyline ' "$files/graph.svg")" -eq 4 ]] || qv_fail "graph.svg does not hold four polylines"
[[ "$(grep -c '<text ' "$files/graph.svg")" -eq 4 ]] || qv_fail "graph.svg does not hold four texts"
convert "$files/graph.svg" "$QV_ARTIFACTS/04-exported-svg-rendered.png" 2>/dev/null \
  || qv_log "no SVG renderer for a picture of graph.svg"

qv_raise "$main"
qv_menu "$main" 18 8 c # "&File", "&Copy graph"
sleep 0.5
timeout "$QV_STEP_TIMEOUT" xclip -selection clipboard -t image/png -o >"$files/copied.png" \
  || qv_fail "the clipboard holds no PNG"
qv_retry 1 "the copied graph is the exported one" same_pixels "copied graph" "$files/copied.png" "$files/graph.png"

# ---- 2. Fit quality and full-precision results --------------------------------------

qv_raise "$main"
qv_click "$main" 92 8 # "&Status"
qv_wait_window status "$QV_STATUS_TITLE"
qv_window_geometry "$status"
RESULTS_Y=$((QV_WIN_H - 16)) # the row of result buttons at the bottom
qv_click "$status" 56 "$RESULTS_Y" # "Fit quality"
sleep 0.5
qv_screenshot 05-fit-quality
qv_click "$status" 259 "$RESULTS_Y" # "Copy results"
sleep 0.5
timeout "$QV_STEP_TIMEOUT" xclip -selection clipboard -o >"$files/results.txt" || qv_fail "no results on the clipboard"
cp "$files/results.txt" "$QV_ARTIFACTS/06-copied-results.txt"
grep -q "^Points: 5$" "$files/results.txt" || qv_fail "the results do not give the point count"
grep -q "points.dta\"$" "$files/results.txt" || qv_fail "the results do not name the data file"
grep -Eq '^  c0 = -?[0-9]\.[0-9]{17}$' "$files/results.txt" || qv_fail "no regression coefficient at 18 digits"
grep -q '^  Regression order 3 polynomial : ' "$files/results.txt" || qv_fail "no fit quality in the results"
qv_log "ok: results with 18-digit coefficients and fit quality on the clipboard"
qv_screenshot 06-copy-results
qv_close_window "$main"
qv_expect_exit 0

# ---- 3. Twice the pixels -------------------------------------------------------------

export QT_SCALE_FACTOR=2
qv_start_app
qv_wait_window main "$QV_MAIN_TITLE"
qv_wait_window graph "$QV_GRAPH_TITLE"
open_points
sharp_point() {
  local columns
  qv_raise "$graph"
  qv_capture 07-graph-at-ratio-2 "$graph" $((2 * BOX_X)) $((2 * BOX_Y)) $((2 * BOX_W)) $((2 * BOX_H))
  # Point 5 at (484, 40) in the box's own pixels: its radius 4 is 8 device pixels.
  columns="$(qv_pixels columns "$POINT" $((2 * 484 - 15)) $((2 * 40 - 15)) 31 31)"
  [[ "$columns" != none ]] || { QV_WHY="no point near device pixel $((2 * 484)),$((2 * 40))"; return 1; }
  read -r first last _ <<<"$columns"
  within "first column of the circle" "$first" 5 8 && within "last column of the circle" "$last" 22 25
}
within() { (($2 >= $3 && $2 <= $4)) || { QV_WHY="$1 is $2, expected $3..$4"; return 1; }; }
qv_retry 4 "a point drawn at twice the resolution where the mapping puts it" sharp_point
qv_raise "$main"
qv_menu "$main" 18 8 c # "&File", "&Copy graph"
sleep 0.5
timeout "$QV_STEP_TIMEOUT" xclip -selection clipboard -t image/png -o >"$files/copied-2x.png" \
  || qv_fail "the clipboard holds no PNG"
[[ "$(identify -format '%wx%h' "$files/copied-2x.png")" == "$((2 * (48 + BOX_W)))x$((2 * (BOX_H + 12)))" ]] \
  || qv_fail "the copy at ratio 2 is $(identify -format '%wx%h' "$files/copied-2x.png")"
convert "$files/copied-2x.png" -crop "$((2 * BOX_W))x$((2 * BOX_H))+96+0" +repage "PNG24:$QV_ARTIFACTS/08-copied-box.png"
qv_retry 1 "the graph copied at ratio 2 is the screen's box" \
  same_pixels "copied box against the screen" "$QV_PART" "$QV_ARTIFACTS/08-copied-box.png"
qv_close_window "$main"
qv_expect_exit 0
