#!/usr/bin/env bash
# The installed program under Xvfb, started with a data file on its command
# line: the file opens (its name in "Current file", its points in the graph),
# the windows carry the icon, F1 and Ctrl+O bring up the help page and the
# file dialog, a dropped file opens (a web address is refused) and Ctrl+Q
# ends the program.
# Usage: bash opens_its_argument.sh <quilvex> <artifact-root> <line.dta>
# shellcheck source-path=SCRIPTDIR source=../window/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../window/lib.sh"
main="" graph="" help="" open="" # window ids, set by qv_wait_window
qv_init "$@"
example="$3"

qv_start_app "$example"
qv_wait_window main "$QV_MAIN_TITLE"
qv_wait_window graph "$QV_GRAPH_TITLE"

# The straight line 0..10 at cover 80 % on the 538 x 402 paint box (which
# starts at 49,1 in the graph window): X on columns 54..484, Y on rows 362..40.
line_drawn() {
  qv_raise "$graph"
  qv_capture graph "$graph" 49 1 538 402 || return 1
  local at columns rows
  for at in 269,201 484,40; do
    columns="$(qv_pixels columns 0,0,255 $((${at%,*} - 7)) $((${at#*,} - 7)) 15 15)"
    rows="$(qv_pixels rows 0,0,255 $((${at%,*} - 7)) $((${at#*,} - 7)) 15 15)"
    [[ "${columns% *}" == "3 11" && "${rows% *}" == "3 11" ]] \
      || { QV_WHY="no point at $at (columns $columns, rows $rows)"; return 1; }
  done
}
qv_retry 6 "the example's points are drawn" line_drawn

# "Current file" shows a name: text right of the caption, above the grid.
file_name_shown() {
  qv_raise "$main"
  qv_capture main "$main" 72 80 148 40 || return 1
  local ink
  ink="$(qv_pixels count '!239,239,239')"
  ((ink > 40)) || { QV_WHY="only $ink text pixels where the file name belongs"; return 1; }
}
qv_retry 4 "the file name is shown" file_name_shown
qv_expect_no_window '^Quilvex 0\.9 \(Beta\)$' # no error box

xprop -id "$main" -len 8 _NET_WM_ICON | grep -q 'Icon (256 x 256)' || qv_fail "the main window has no 256px icon"

qv_key "$main" F1
qv_wait_window help '^Quilvex Help$'
qv_key "$help" Escape
qv_wait_no_window '^Quilvex Help$'
qv_key "$main" ctrl+o
qv_wait_window open '^Open$'
qv_key "$open" Escape
qv_wait_no_window '^Open$'

# drop <window> <x> <y> <url> <accepted|refused>
drop() {
  local answer
  answer="$(timeout 20 "$QV_PYTHON" "$(dirname "$QV_SCRIPT")/../window/xdnd_drop.py" "$1" "$2" "$3" "$4")" \
    || qv_fail "no answer to a drop on window $1"
  [[ "$answer" == "$5" ]] || qv_fail "a drop of $4 was $answer, expected $5"
  sleep 0.5
}
line_gone() { line_drawn && { QV_WHY="the line's points are still drawn"; return 1; } || return 0; }
drop "$graph" 300 200 "https://example.org/line.dta" refused
qv_expect_no_window '^Quilvex 0\.9 \(Beta\)$'
drop "$graph" 300 200 "file://$(dirname "$example")/decay.dta" accepted
qv_retry 6 "a file dropped on the graph opens" line_gone
# On the "Plot Points" edit: the file opens and is not typed in as text.
drop "$main" 22 84 "file://$example" accepted
qv_retry 6 "a file dropped on a text field opens" line_drawn

qv_key "$main" ctrl+q
qv_expect_exit 0
