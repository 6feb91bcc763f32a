#!/usr/bin/env bash
# Data in through the clipboard and a drag taken back: two columns copied
# from a spreadsheet are pasted into the grid with Ctrl+V and drawn; a
# dragged point returns with Ctrl+Z, which the Edit menu names.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
main="" graph="" box="" # window ids, set by qv_wait_window
qv_init "$@"

BOX_X=49 BOX_Y=1 POINT=0,0,255 SELECTED=255,0,0

# pixels_at <name> <x> <y> <colour> <min> <max>: pixels of <colour> in the 11 x 11
# square around a pixel of the paint box.
pixels_at() {
  qv_raise "$graph"
  qv_capture "$1" "$graph" "$BOX_X" "$BOX_Y" 538 402
  local count
  count="$(qv_pixels count "$4" $(($2 - 5)) $(($3 - 5)) 11 11)"
  ((count >= $5 && count <= $6)) || { QV_WHY="$count pixels of $4 at $2,$3, expected $5..$6"; return 1; }
}

qv_start_app
qv_wait_window main "$QV_MAIN_TITLE"
qv_wait_window graph "$QV_GRAPH_TITLE"
qv_raise "$main"
qv_measure_menu "$main" 01-started

# A spreadsheet in a locale with decimal commas copies tab-separated lines.
printf '1\t2\n2\t3\n3\t5,0\n4\t4\n5\t6\n' | timeout "$QV_STEP_TIMEOUT" xclip -selection clipboard \
  || qv_fail "cannot fill the clipboard"
qv_click "$main" $((224 + 1 + 32)) $((96 + 1 + 7 + QV_MENU))
qv_key "$main" ctrl+v
# X 1..5 on columns 54..484; Y 2..6: point 3 (3, 5) on row 120, point 5 on row 40.
pasted() { pixels_at 02-pasted 269 120 "$POINT" 15 60 && pixels_at 02-pasted 484 40 "$POINT" 15 60; }
qv_retry 4 "five pasted points drawn" pasted

qv_drag "$graph" $((BOX_X + 269)),$((BOX_Y + 120)) $((BOX_X + 280)),$((BOX_Y + 200)) $((BOX_X + 300)),$((BOX_Y + 300))
dragged() { pixels_at 03-dragged 300 300 "$SELECTED" 20 100 && pixels_at 03-dragged 269 120 "$POINT/$SELECTED" 0 0; }
qv_retry 4 "the point dragged to 300,300" dragged

qv_raise "$main"
qv_click "$main" 50 8 # "&Edit"
sleep 0.5
qv_screenshot 04-edit-menu
qv_key "$main" Escape
qv_key "$main" Escape
qv_key "$main" ctrl+z
undone() { pixels_at 05-undone 269 120 "$SELECTED" 20 100 && pixels_at 05-undone 300 300 "$POINT/$SELECTED" 0 0; }
qv_retry 4 "Ctrl+Z put the dragged point back" undone

qv_close_window "$main"
# The pasted table was never saved: the program asks; Escape keeps it running.
qv_wait_window box '^Warning$' 10
qv_screenshot 06-unsaved-question
qv_key "$box" Escape
sleep 0.5
qv_expect_running
