#!/usr/bin/env bash
# A person's session with the real windows: type five points into the grid,
# tick the method boxes, step a parameter with its spinner, drag a point,
# save and open files through the file dialogs, read the status and the
# interpolation reports and close the windows. After each step the screen
# is checked: curve colours where the curves must be, the data points where
# the scale puts them, the saved file's bytes, the report texts' presence.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
main="" graph="" status="" graph_after="" # window ids, set by qv_wait_window
STATUS_TITLE_PIXELS=""
qv_init "$@"

# Curve colours of the seven methods, in the order of their check boxes.
SPLINE=0,0,0 LAGR=255,255,0 LAGRO=0,128,0 REGR=255,0,0 EXP=128,0,128 LOG=128,128,128 POWER=0,0,255
COLOURS=("$SPLINE" "$LAGR" "$LAGRO" "$REGR" "$EXP" "$LOG" "$POWER")
NAMES=(spline lagrange lagrange-order regression exponential logarithmic power)
BACKGROUND=240,255,255 POINT=0,0,255 SELECTED=255,0,0

# The paint box inside the graph window and its size.
BOX_X=49 BOX_Y=1 BOX_W=538 BOX_H=402
# Main window controls in client coordinates (below the menu bar, whose
# height is measured at the start and kept in MENU).
MENU=0
GRID_X=224 GRID_Y=96 ROW_H=14 COL_W=64
BOX_TOP=96 BOX_STEP=16 # method check box k (0-based) is at BOX_TOP + k * BOX_STEP
COVER_SPIN_X=112 SPIN_UP_Y=60 SPIN_DOWN_Y=72
ADD_ROW_X=252 ADD_ROW_Y=240
# Status window: the X value edit, the report button and the text area.
XVALUE_X=114 XVALUE_Y=59 EXTRAP_X=274 EXTRAP_Y=60
TEXT_RECT=(4 80 390 370)
WHITE=255,255,255

files="$QV_ARTIFACTS/files"
mkdir -p "$files"
cd "$files"

# ---- Helpers of this session ----------------------------------------------------

main_click() { qv_click "$main" "$1" $(($2 + MENU)); sleep 0.2; }

# The points typed at the start: X 1..5 with these Y values.
YS=(2 3 5 4 6)

type_points() {
  main_click $((GRID_X + 1 + COL_W / 2)) $((GRID_Y + 1 + ROW_H / 2))
  local i
  for i in 0 1 2 3; do
    qv_type "$main" "$((i + 1))"
    qv_key "$main" Return
    qv_type "$main" "${YS[i]}"
    if ((i < 3)); then qv_key "$main" Return; fi
  done
  qv_key "$main" Return
  # The grid starts with four rows; the fifth point needs one more.
  main_click "$ADD_ROW_X" "$ADD_ROW_Y"
  main_click $((GRID_X + 1 + COL_W / 2)) $((GRID_Y + 1 + 4 * ROW_H + ROW_H / 2))
  qv_type "$main" 5
  qv_key "$main" Return
  qv_type "$main" "${YS[4]}"
  qv_key "$main" Return
}

click_method_box() { main_click 15 $((BOX_TOP + $1 * BOX_STEP + 8)); sleep 0.3; }

# check_boxes <name> <states>: the seven method boxes show these states
# (a string of 1 for ticked and 0 for not); a tick darkens the box.
check_boxes() {
  local name="$1" want="$2" k marks got=""
  qv_capture "$name" "$main" 0 "$MENU" 30 240
  for k in 0 1 2 3 4 5 6; do
    marks="$(qv_pixels count "!$WHITE" 11 $((BOX_TOP + k * BOX_STEP + 4)) 9 9)"
    if ((marks >= 10)); then got+=1; else got+=0; fi
  done
  [[ "$got" == "$want" ]] || { QV_WHY="boxes show $got, expected $want"; return 1; }
}

capture_graph() { qv_raise "$graph"; qv_capture "$1" "$graph" "$BOX_X" "$BOX_Y" "$BOX_W" "$BOX_H"; }

# point_drawn <x> <y> <colour> <radius>: a circle of that colour and radius
# is centred on the pixel (the 15 x 15 square around it holds no other
# drawing of that colour).
point_drawn() {
  local x="$1" y="$2" colour="$3" r="$4" want columns rows
  want="$((7 - r)) $((7 + r))"
  columns="$(qv_pixels columns "$colour" $((x - 7)) $((y - 7)) 15 15)"
  rows="$(qv_pixels rows "$colour" $((x - 7)) $((y - 7)) 15 15)"
  [[ "${columns% *}" == "$want" && "${rows% *}" == "$want" ]] \
    || { QV_WHY="no circle of $colour, radius $r at $x,$y (columns $columns, rows $rows)"; return 1; }
}

# points_drawn <x,y>...: the points at these pixels, the first one selected
# (red double circle), the others blue.
points_drawn() {
  local at colour=$SELECTED radius=5
  for at in "$@"; do
    point_drawn "${at%,*}" "${at#*,}" "$colour" "$radius" || return 1
    colour=$POINT radius=4
  done
}

# within <what> <value> <low> <high>
within() {
  (($2 >= $3 && $2 <= $4)) || { QV_WHY="$1 is $2, expected $3..$4"; return 1; }
}

# ---- 1. Start --------------------------------------------------------------------

qv_start_app
qv_wait_window main "$QV_MAIN_TITLE"
qv_wait_window graph "$QV_GRAPH_TITLE"
qv_expect_no_window "$QV_STATUS_TITLE"
qv_raise "$main"

qv_measure_menu "$main" 01-started
MENU=$QV_MENU

# ---- 2. Data, method boxes and a spinner ---------------------------------------

type_points
click_method_box 0 # cubic spline

# Cover 80 % on 538 x 402: X 1..5 on columns 54..484, Y 2..6 on rows 362..40.
COVER80=("54,362" "162,282" "269,120" "376,201" "484,40")
spline_alone() {
  local columns at
  check_boxes 02-boxes-spline 1000000 || return 1
  capture_graph 03-spline
  within "background pixels" "$(qv_pixels count "$BACKGROUND")" 200000 216276 || return 1
  points_drawn "${COVER80[@]}" || return 1
  # The spline runs from the first to the last point, through every point.
  columns="$(qv_pixels columns "$SPLINE")"
  [[ "$columns" != none ]] || { QV_WHY="no spline drawn"; return 1; }
  within "first spline column" "${columns%% *}" 53 58 || return 1
  within "last spline column" "$(cut -d' ' -f2 <<<"$columns")" 480 485 || return 1
  for at in "${COVER80[@]}"; do
    within "spline pixels at the point on $at" \
      "$(qv_pixels count "$SPLINE" $((${at%,*} - 3)) $((${at#*,} - 3)) 7 7)" 1 49 || return 1
  done
}
qv_retry 4 "five typed points and the spline drawn" spline_alone

# The "Control" button brings the main window back over the graph.
qv_click "$graph" 25 51
sleep 0.3
qv_is_above "$main" "$graph" || qv_fail "\"Control\" did not bring the main window to the front"

# Two steps down on the cover spinner: 78 % moves the points inwards.
main_click "$COVER_SPIN_X" "$SPIN_DOWN_Y"
main_click "$COVER_SPIN_X" "$SPIN_DOWN_Y"
cover78() { capture_graph 04-cover-78 && points_drawn 59,358 164,280 269,122 374,201 479,44; }
qv_retry 4 "cover 78 % after two spinner steps down" cover78

qv_raise "$main"
main_click "$COVER_SPIN_X" "$SPIN_UP_Y"
main_click "$COVER_SPIN_X" "$SPIN_UP_Y"
cover80() { capture_graph 05-cover-80 && points_drawn "${COVER80[@]}"; }
qv_retry 4 "cover back at 80 % after two steps up" cover80

# ---- 3. All seven methods ----------------------------------------------------------

qv_raise "$main"
for k in 1 2 3 4 5 6; do click_method_box "$k"; done
qv_retry 3 "all seven boxes ticked" check_boxes 06-boxes-all 1111111

all_curves() {
  local k columns first last
  capture_graph 07-all-methods
  for k in 0 1 2 3 4 5 6; do
    columns="$(qv_pixels columns "${COLOURS[k]}")"
    [[ "$columns" != none ]] || { QV_WHY="no ${NAMES[k]} curve (${COLOURS[k]})"; return 1; }
    read -r first last _ <<<"$columns"
    within "${NAMES[k]} pixels" "$(qv_pixels count "${COLOURS[k]}")" 200 100000 || return 1
    within "${NAMES[k]} columns" "$(cut -d' ' -f3 <<<"$columns")" 250 538 || return 1
    if ((k <= 2)); then
      # Exact fits are traced from the first to the last point only.
      within "first ${NAMES[k]} column" "$first" 53 60 || return 1
      within "last ${NAMES[k]} column" "$last" 478 485 || return 1
    elif ((first >= 49 && last <= 489)); then
      QV_WHY="the ${NAMES[k]} curve stays between the points (columns $first..$last), not across the width"
      return 1
    fi
  done
}
qv_retry 4 "the seven curves in their colours" all_curves

# ---- 4. Drag point 3 from (3, 5) -----------------------------------------------------

# It sits on column 269, row 120 (Y 5 maps to 120.5, rounded half to even).
# Released on column 300, row 300 it becomes X = 1 + 246 / 107.5 and
# Y = 2 + 62 / 80.5, written into the grid with 8 digits.
qv_raise "$graph"
qv_drag "$graph" $((BOX_X + 269)),$((BOX_Y + 120)) $((BOX_X + 275)),$((BOX_Y + 160)) \
  $((BOX_X + 285)),$((BOX_Y + 220)) $((BOX_X + 295)),$((BOX_Y + 270)) $((BOX_X + 300)),$((BOX_Y + 300))
sleep 0.5

dragged() {
  capture_graph 08-dragged
  within "red pixels around the dropped point" "$(qv_pixels count "$SELECTED" 294 294 13 13)" 30 169 || return 1
  within "point pixels left at the old place" "$(qv_pixels count "$POINT/$SELECTED" 262 113 15 15)" 0 5
}
qv_retry 4 "the dragged point drawn selected where it was dropped" dragged

# ---- 5. Save through the dialog ------------------------------------------------------

qv_raise "$main"
qv_menu "$main" 18 8 s # "&File", "&Save as"
qv_file_dialog "Save as" "$files/dragged.dta"
[[ -f "$files/dragged.dta" ]] || qv_fail "Save as wrote no file $files/dragged.dta"
expected="$(printf '1 2\r\n2 3\r\n3.2883721 2.7701863\r\n4 4\r\n5 6\r\n' | od -An -c)"
actual="$(od -An -c "$files/dragged.dta")"
[[ "$actual" == "$expected" ]] || qv_fail "the saved file holds
$actual
expected
$expected"
qv_log "ok: the saved file holds the typed points with the dragged one moved"

# ---- 6. Untick everything, then open a file ------------------------------------------

qv_raise "$main"
for k in 0 1 2 3 4 5 6; do click_method_box "$k"; done
qv_retry 3 "all boxes unticked" check_boxes 09-boxes-none 0000000
no_curves() {
  local k
  capture_graph 10-no-curves
  for k in 0 1 2 4 5; do
    within "${NAMES[k]} pixels" "$(qv_pixels count "${COLOURS[k]}")" 0 0 || return 1
  done
  # Red is left only at the selected point, the dragged one.
  [[ "$(qv_pixels columns "$SELECTED")" == "295 305 11" ]] \
    || { QV_WHY="red outside the selected point: columns $(qv_pixels columns "$SELECTED")"; return 1; }
}
qv_retry 4 "no curves with every box unticked" no_curves

# Six points X 0..5; the spline and the regression must come up by themselves.
printf '; opened by the acceptance test\r\n0 1\r\n1 3\r\n2 2\r\n3 5\r\n4 4\r\n5 6\r\n' >"$files/opened.dta"
qv_raise "$main"
qv_menu "$main" 18 8 o # "&File", "&Open"
qv_file_dialog "Open" "$files/opened.dta"
qv_retry 4 "spline and regression boxes ticked after opening" check_boxes 11-boxes-opened 1001000
opened() {
  local k columns
  capture_graph 12-opened
  for k in 1 2 4 5; do
    within "${NAMES[k]} pixels" "$(qv_pixels count "${COLOURS[k]}")" 0 0 || return 1
  done
  within "regression pixels" "$(qv_pixels count "$REGR")" 200 100000 || return 1
  columns="$(qv_pixels columns "$SPLINE")"
  [[ "$columns" != none ]] || { QV_WHY="no spline after opening"; return 1; }
  within "first spline column" "${columns%% *}" 53 60 || return 1
  within "last spline column" "$(cut -d' ' -f2 <<<"$columns")" 478 485 || return 1
  # Opening selects point 1 again: X 0, Y 1 on column 54, row 362.
  within "red pixels at the first point" "$(qv_pixels count "$SELECTED" 48 356 13 13)" 30 169
}
qv_retry 4 "the opened file drawn with spline and regression" opened

# ---- 7. Status report ------------------------------------------------------------------

qv_raise "$main"
qv_click "$main" 92 8 # "&Status" in the menu bar
qv_wait_window status "$QV_STATUS_TITLE"
qv_is_above "$status" "$graph" || qv_fail "the status window is not in front"
status_report() {
  local k
  # The report ends scrolled to its last line; the wheel goes back to the top.
  timeout "$QV_STEP_TIMEOUT" xdotool mousemove --window "$status" 200 300 click --repeat 15 --delay 20 4 \
    || qv_fail "cannot scroll the status report"
  sleep 0.3
  qv_capture 13-status "$status" "${TEXT_RECT[@]}"
  within "text pixels of the report" "$(qv_pixels count "!$WHITE")" 3000 200000 || return 1
  # Near the top: the headings of the first four methods in their colours.
  for k in 1 2 3; do
    within "${NAMES[k]} heading pixels" "$(qv_pixels count "${COLOURS[k]}")" 100 20000 || return 1
  done
  qv_capture 13-status-title "$status" 4 4 409 24 # inside the frame of the title panel
  STATUS_TITLE_PIXELS="$(qv_pixels count '!239,239,239')"
  within "title pixels" "$STATUS_TITLE_PIXELS" 300 9816
}
qv_retry 3 "status report shown with its coloured headings" status_report

# ---- 8. Interpolation report -----------------------------------------------------------

qv_raise "$main"
qv_click "$main" 150 8 # "Extrapolate" in the menu bar
sleep 0.5
qv_is_above "$status" "$main" || qv_fail "\"Extrapolate\" did not bring the status window to the front"
empty_text() {
  local title
  qv_capture 14-extrapolate "$status" "${TEXT_RECT[@]}"
  within "text pixels after \"Extrapolate\"" "$(qv_pixels count "!$WHITE")" 0 0 || return 1
  qv_capture 14-extrapolate-title "$status" 4 4 409 24
  title="$(qv_pixels count '!239,239,239')"
  within "title pixels" "$title" 300 9816 || return 1
  [[ "$title" != "$STATUS_TITLE_PIXELS" ]] || { QV_WHY="the title looks as that of the status report"; return 1; }
}
qv_retry 3 "\"Extrapolate\" cleared the text area" empty_text

qv_click "$status" "$XVALUE_X" "$XVALUE_Y"
qv_type "$status" 2.5
qv_click "$status" "$EXTRAP_X" "$EXTRAP_Y"
extrapolated() {
  local rows
  qv_capture 15-interpolated "$status" "${TEXT_RECT[@]}"
  rows="$(qv_pixels rows "!$WHITE")"
  [[ "$rows" != none ]] || { QV_WHY="no report lines"; return 1; }
  # Three lines: the X value, the spline and the regression.
  within "height of the report lines" $(($(cut -d' ' -f2 <<<"$rows") - ${rows%% *})) 30 42
}
qv_retry 4 "interpolation report of three lines" extrapolated

# The replot after the report marks both curves at X 2.5: column 54 + 2.5 * 86,
# vertical lines up from the bottom and horizontal ones to the left edge.
marked() {
  capture_graph 16-marked
  within "mark pixels on column 269" "$(qv_pixels count "$SPLINE" 269 0 1 402)" 100 402 || return 1
  within "mark pixels at the left edge" "$(qv_pixels count "$SPLINE" 0 0 2 402)" 2 804
}
qv_retry 4 "marks at X 2.5 in the graph" marked

# ---- 9. Closing ----------------------------------------------------------------------------

qv_close_window "$status"
qv_wait_no_window "$QV_STATUS_TITLE" 5
qv_expect_running
qv_close_window "$graph"
sleep 1
qv_expect_running
qv_wait_window graph_after "$QV_GRAPH_TITLE" 2
[[ "$graph_after" == "$graph" ]] || qv_fail "the graph window was replaced ($graph, now $graph_after)"
qv_screenshot 17-before-exit
qv_close_window "$main"
qv_expect_exit 0
