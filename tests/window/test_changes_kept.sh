#!/usr/bin/env bash
# Nothing the user did is lost or hidden: with graphing off, the bands turned
# on or off and the weighting chosen in the details window show at the
# graph's next uncover or restore; File > Open over an edited table asks first (Cancel keeps the
# table, Discard goes on to the dialog), and so does a drop; Ctrl+Q in the
# middle of a drag asks, and "Save" writes the point where the drag has it.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
main="" graph="" details="" box="" dialog="" # window ids, set by qv_wait_window
qv_init "$@"

BOX_X=49 BOX_Y=1 BOX_W=538 BOX_H=402
files="$QV_ARTIFACTS/files"
mkdir -p "$files"
# X 1..8, Y 2..6: at cover 80 % point 4 (4, 4) sits on column 238, row 201 of the box.
printf '1 2\r\n2 3\r\n3 5\r\n4 4\r\n5 6\r\n6 5.5\r\n7 4.5\r\n8 5\r\n' >"$files/points.dta"

main_click() { qv_click "$main" "$1" $(($2 + QV_MENU)); sleep 0.3; }
capture_graph() { qv_capture "$1" "$graph" "$BOX_X" "$BOX_Y" "$BOX_W" "$BOX_H"; }
# differing <a> <b>: the number of pixels that differ between two captures.
differing() { compare -metric AE "$QV_ARTIFACTS/$1-part.png" "$QV_ARTIFACTS/$2-part.png" null: 2>&1 || true; }

cd "$files" # a short "Current file" caption, clear of the grid's frame that qv_measure_menu finds
qv_start_app points.dta
qv_wait_window main "$QV_MAIN_TITLE"
qv_wait_window graph "$QV_GRAPH_TITLE"
qv_wait_idle
qv_raise "$graph"
capture_graph 01-designed
qv_raise "$main"
qv_measure_menu "$main" 02-main

# ---- The bands with graphing off ------------------------------------------------------

main_click 15 224 # "Graphing Enabled?" off
qv_key "$main" ctrl+d
qv_wait_window details '^Fit details$'
qv_wait_idle
qv_window_geometry "$details"
bands_box() { qv_click "$details" 18 $((QV_WIN_H - 23)); sleep 0.5; }
bands_box # on; the main window still covers the graph's corner
timeout "$QV_STEP_TIMEOUT" xdotool windowmove "$main" 650 450 || qv_fail "cannot move the main window"
sleep 0.5
banded() {
  capture_graph 03-bands-uncovered
  local count
  count="$(differing 01-designed 03-bands-uncovered)"
  [[ "$count" =~ ^[0-9]+$ && "$count" -gt 50 ]] || { QV_WHY="$count pixels differ from the picture without bands"; return 1; }
}
qv_retry 4 "the uncovered graph shows the bands turned on" banded

qv_window_geometry "$details"
bands_box # off
timeout "$QV_STEP_TIMEOUT" xdotool windowunmap --sync "$graph" || qv_fail "cannot hide the graph"
timeout "$QV_STEP_TIMEOUT" xdotool windowmap --sync "$graph" || qv_fail "cannot show the graph"
unbanded() {
  capture_graph 04-bands-restored
  local count
  count="$(differing 01-designed 04-bands-restored)"
  [[ "$count" == 0 ]] || { QV_WHY="$count pixels differ from the picture without bands"; return 1; }
}
qv_retry 4 "the restored graph shows the bands turned off" unbanded

# The weighting chosen with graphing off shows as well: its weighted curves at
# the next restore, and the designed picture again once it is back to none.
weights() {
  qv_key "$details" alt+w
  qv_key "$details" "$@"
  sleep 0.5
  timeout "$QV_STEP_TIMEOUT" xdotool windowunmap --sync "$graph" || qv_fail "cannot hide the graph"
  timeout "$QV_STEP_TIMEOUT" xdotool windowmap --sync "$graph" || qv_fail "cannot show the graph"
}
weighted() {
  capture_graph 05-weighted
  local count
  count="$(differing 01-designed 05-weighted)"
  [[ "$count" =~ ^[0-9]+$ && "$count" -gt 50 ]] || { QV_WHY="$count pixels differ from the designed picture"; return 1; }
}
weights Down Down # 1/y
qv_retry 4 "the restored graph shows the weighted curves" weighted
weights Home # none
qv_retry 4 "the restored graph is the designed picture again" unbanded

# ---- File > Open over an edited table --------------------------------------------------

qv_raise "$main"
main_click $((224 + 1 + 64 + 32)) $((96 + 1 + 14 + 7)) # Y of point 2
qv_key "$main" ctrl+a
qv_type "$main" 3.5
qv_key "$main" Return
qv_menu "$main" 18 8 o # "&File", "&Open"
qv_wait_window box '^Warning$' 10
qv_screenshot 05-open-asks
qv_key "$box" Escape # Cancel
sleep 1
qv_expect_no_window '^Open$'
qv_log "ok: Cancel opened no dialog"
qv_menu "$main" 18 8 o
qv_wait_window box '^Warning$' 10
qv_key "$box" Tab space # "Discard", after "Save"
qv_wait_window dialog '^Open$' 10
qv_screenshot 06-open-after-discard
qv_key "$dialog" Escape
qv_wait_no_window '^Open$' 10
# A file dropped on the window asks as well; Cancel keeps the table.
dropped="$(timeout 20 "$QV_PYTHON" "$(dirname "$QV_SCRIPT")/xdnd_drop.py" "$main" 200 20 "file://$files/points.dta")" \
  || qv_fail "the main window did not answer the drop"
[[ "$dropped" == accepted ]] || qv_fail "the drop was $dropped"
qv_wait_window box '^Warning$' 10
qv_screenshot 07-drop-asks
qv_key "$box" Escape
qv_wait_no_window '^Warning$' 10
# Saved: the table holds the typed cell still, and the drag below is the only change.
qv_key "$main" ctrl+s
qv_file_dialog "Save as" "$files/typed.dta"
[[ "$(sed -n 2p "$files/typed.dta")" == $'2 3.5\r' ]] || qv_fail "saved: $(od -An -c "$files/typed.dta")"

# ---- Ctrl+Q in the middle of a drag ------------------------------------------------------

qv_raise "$graph"
timeout "$QV_STEP_TIMEOUT" xdotool mousemove --window "$graph" $((BOX_X + 238)) $((BOX_Y + 201)) mousedown 1 \
  || qv_fail "cannot press on point 4"
sleep 0.3
for row in 240 280 320; do
  timeout "$QV_STEP_TIMEOUT" xdotool mousemove --window "$graph" $((BOX_X + 238)) $((BOX_Y + row)) \
    || qv_fail "cannot drag"
  sleep 0.3
done
qv_key "$main" ctrl+q # the button still down
qv_wait_window box '^Warning$' 10
qv_screenshot 08-quit-during-drag-asks
qv_key "$box" space # "Save"
qv_file_dialog "Save as" "$files/moved.dta"
timeout "$QV_STEP_TIMEOUT" xdotool mouseup 1 || qv_fail "cannot release the button"
qv_expect_exit 0
# Point 4 where the drag had it: row 320 is Y 6 - 280 / 80.5, column 238 a hair left of X 4.
expected="$(printf '1 2\r\n2 3.5\r\n3 5\r\n3.9953488 2.5217391\r\n5 6\r\n6 5.5\r\n7 4.5\r\n8 5\r\n' | od -An -c)"
[[ "$(od -An -c "$files/moved.dta")" == "$expected" ]] || qv_fail "saved: $(od -An -c "$files/moved.dta")"
qv_log "ok: the saved file holds the typed cell and the point where the drag had it"
