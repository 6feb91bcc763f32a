#!/usr/bin/env bash
# The graph under real window-system events: a warning that opens while the
# window is being resized (the program must survive and the warnings must
# end), a graph window uncovered or shown again after the grid changed with
# graphing off (it shows the new data), and typing that is not yet committed
# with Enter (the next replot and "Save as" see it), and the curves that
# the first replot of a file opened with graphing off ticks (the next
# uncover draws them).
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
main="" graph="" box="" # window ids, set by qv_wait_window
qv_init "$@"

BOX_X=49 BOX_Y=1 POINT=0,0,255 BACKGROUND=240,255,255 SPLINE=0,0,0
files="$QV_ARTIFACTS/files"
mkdir -p "$files"

start_program() {
  qv_start_app
  qv_wait_window main "$QV_MAIN_TITLE"
  qv_wait_window graph "$QV_GRAPH_TITLE"
  qv_raise "$main"
  qv_measure_menu "$main" "$1"
}
main_click() { qv_click "$main" "$1" $(($2 + QV_MENU)); sleep 0.3; }
cell_click() { main_click $((224 + 1 + $1 * 64 + 32)) $((96 + 1 + $2 * 14 + 7)); }
method_box() { main_click 15 $((96 + $1 * 16 + 8)); }
graphing_box() { main_click 15 224; }

# type_rows <x> <y> ...: fills the grid from its first row; Enter moves to the next cell.
type_rows() {
  cell_click 0 0
  while (($# > 0)); do
    qv_type "$main" "$1"
    qv_key "$main" Return
    qv_type "$main" "$2"
    shift 2
    if (($# > 0)); then qv_key "$main" Return; fi
  done
  qv_key "$main" Return
}

# set_cell <col> <row> <text>: replaces a cell's text and commits it.
set_cell() {
  cell_click "$1" "$2"
  qv_key "$main" ctrl+a
  qv_type "$main" "$3"
  qv_key "$main" Return
}

# blue_at <name> <x> <y> <min> <max>: blue point pixels in the 11 x 11 square
# around a pixel of the paint box, as the graph window shows it now.
blue_at() {
  qv_capture "$1" "$graph" "$BOX_X" "$BOX_Y" 538 402
  local count
  count="$(qv_pixels count "$POINT" $(($2 - 5)) $(($3 - 5)) 11 11)"
  ((count >= $4 && count <= $5)) || { QV_WHY="$count blue pixels at $2,$3, expected $4..$5"; return 1; }
}

# answer_warnings <max>: presses OK on every warning that shows, fails when
# more than <max> come (a chain of replots and warnings) and returns when
# none has come for three seconds.
WARNINGS=0
answer_warnings() {
  local limit="$1" quiet_until=$((SECONDS + 3)) ids
  while ((SECONDS < quiet_until)); do
    ids="$(timeout "$QV_STEP_TIMEOUT" xdotool search --onlyvisible --name '^Warning$' 2>/dev/null || true)"
    if [[ -n "$ids" ]]; then
      WARNINGS=$((WARNINGS + 1))
      ((WARNINGS <= limit)) || qv_fail "more than $limit warnings: the replots do not end"
      qv_screenshot "warning-$WARNINGS" >/dev/null
      qv_key "${ids%%$'\n'*}" Return
      sleep 0.5
      quiet_until=$((SECONDS + 3))
    fi
    qv_expect_running
    sleep 0.2
  done
}

# filled <name>: the picture fills the box of the graph window at 700 x 500.
filled() {
  qv_capture "$1" "$graph" "$BOX_X" "$BOX_Y" 650 486
  local count
  count="$(qv_pixels count "$BACKGROUND" 600 440 40 40)"
  ((count == 1600)) || { QV_WHY="$count background pixels in the far corner"; return 1; }
}

# resize_during_warning <max-warnings> <name>: resizes the graph window; its replot
# warns; while the warning is open the window is resized once more. The
# replot for that second size comes after the warning, and the picture then
# fills the box of 650 x 486 pixels.
resize_during_warning() {
  WARNINGS=0
  timeout "$QV_STEP_TIMEOUT" xdotool windowsize "$graph" 640 470 || qv_fail "cannot resize the graph"
  qv_wait_window box '^Warning$' 10
  timeout "$QV_STEP_TIMEOUT" xdotool windowsize "$graph" 700 500 || qv_fail "cannot resize the graph"
  sleep 0.5
  qv_expect_running
  answer_warnings "$1"
  grep -q "Recursive repaint" "$QV_ARTIFACTS/app.log" && qv_fail "Qt reports a recursive repaint"
  qv_retry 4 "the graph fills the resized box after $WARNINGS warnings" filled "$2"
}

# ---- 1. Uncovered and shown again after changes with graphing off ---------------------

start_program 01-started
# X 1, 2, 3 on columns 54, 269, 484; Y 1..5 maps 5 to row 40.
type_rows 1 1 2 2 3 5
method_box 0
qv_retry 4 "three typed points drawn" blue_at 02-typed 484 40 15 60
graphing_box
set_cell 1 2 1.5 # Y 1..2 now: point 3 belongs on row 201
timeout "$QV_STEP_TIMEOUT" xdotool windowmove "$main" 60 60 || qv_fail "cannot move the main window"
sleep 0.5
timeout "$QV_STEP_TIMEOUT" xdotool windowmove "$main" 650 450 || qv_fail "cannot move the main window"
uncovered() { blue_at 03-uncovered 484 201 15 60 && blue_at 03-uncovered 484 40 0 0; }
qv_retry 4 "the uncovered graph shows the changed point" uncovered

qv_raise "$main"
set_cell 1 2 5
timeout "$QV_STEP_TIMEOUT" xdotool windowunmap --sync "$graph" || qv_fail "cannot hide the graph"
timeout "$QV_STEP_TIMEOUT" xdotool windowmap --sync "$graph" || qv_fail "cannot show the graph"
shown_again() { blue_at 04-shown-again 484 40 15 60 && blue_at 04-shown-again 484 201 0 0; }
qv_retry 4 "the graph shown again has the point back on row 40" shown_again

# ---- 2. Typing not committed with Enter ------------------------------------------------

qv_raise "$main"
graphing_box
main_click 252 240 # "Add Row"
cell_click 0 3
qv_type "$main" 4
qv_key "$main" Return
qv_type "$main" 3 # still in the cell editor
main_click 240 60 # the regression order spinner's up arrow replots
# X 1..4: point 4 on column 484, Y 3 on row 201.
qv_retry 4 "the point being typed is in the replot" blue_at 05-uncommitted 484 201 15 60
qv_raise "$main"
qv_menu "$main" 18 8 s # "&File", "&Save as"
qv_file_dialog "Save as" "$files/typed.dta"
expected="$(printf '1 1\r\n2 2\r\n3 5\r\n4 3\r\n' | od -An -c)"
[[ "$(od -An -c "$files/typed.dta")" == "$expected" ]] || qv_fail "saved: $(od -An -c "$files/typed.dta")"
qv_log "ok: \"Save as\" wrote the row being typed"
qv_close_window "$main"
qv_expect_exit 0

# ---- 3. Resizing while a warning is open ------------------------------------------------

start_program 06-started-again
type_rows 1 1 2 4 3 9
method_box 0        # cubic spline
main_click 333 240  # "Delete Row": two points remain
method_box 3        # user order regression: "Too few X,Y values, must be at least 3!"
WARNINGS=0
answer_warnings 1
resize_during_warning 2 07-too-few-resized

# The same with "Too many X,Y values! (max 300)": a file of 301 points opened
# with graphing off, so that the first replot is the resize's.
for ((i = 1; i <= 301; i++)); do printf '%d %d\r\n' "$i" $((i % 7)); done >"$files/many.dta"
qv_raise "$main"
graphing_box
qv_menu "$main" 18 8 o # "&File", "&Open"
qv_wait_window box '^Warning$' 10 # the typed table is not saved
qv_key "$box" Tab space           # "Discard", after "Save"
qv_file_dialog "Open" "$files/many.dta"
timeout "$QV_STEP_TIMEOUT" xdotool windowsize "$graph" 588 416 || qv_fail "cannot resize the graph"
qv_wait_window box '^Warning$' 10
timeout "$QV_STEP_TIMEOUT" xdotool windowsize "$graph" 700 500 || qv_fail "cannot resize the graph"
sleep 0.5
WARNINGS=0
answer_warnings 1 # the table is cut to 300 rows: the second size replots without a warning
qv_retry 4 "the graph fills the resized box after the cut" filled 08-too-many-resized
# The table no longer holds the whole file: closing asks; Escape keeps it running.
qv_close_window "$main"
qv_wait_window box '^Warning$' 10
qv_screenshot 08-cut-table-question
qv_key "$box" Escape
sleep 0.5
qv_expect_running
qv_stop_app

# ---- 4. A file opened with graphing off ---------------------------------------------------

printf '1 1\r\n2 3\r\n3 2\r\n4 5\r\n5 4\r\n' >"$files/five.dta"
start_program 09-started-for-open
graphing_box
qv_menu "$main" 18 8 o # "&File", "&Open"
qv_file_dialog "Open" "$files/five.dta"
cover_and_uncover() {
  timeout "$QV_STEP_TIMEOUT" xdotool windowmove "$main" 60 60 || qv_fail "cannot move the main window"
  sleep 0.5
  timeout "$QV_STEP_TIMEOUT" xdotool windowmove "$main" 650 450 || qv_fail "cannot move the main window"
  sleep 0.5
}
cover_and_uncover
cover_and_uncover
spline_drawn() {
  qv_capture 10-uncovered-twice "$graph" "$BOX_X" "$BOX_Y" 538 402
  local count
  count="$(qv_pixels count "$SPLINE" 0 0 538 402)"
  ((count > 300)) || { QV_WHY="$count black (spline) pixels in the box"; return 1; }
}
qv_retry 4 "the curves ticked by the file's first replot are drawn" spline_drawn
qv_close_window "$main"
qv_expect_exit 0
