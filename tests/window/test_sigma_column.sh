#!/usr/bin/env bash
# The uncertainties column under the real window system: turned on from the
# Edit menu, a sigma typed into it, a three-column block pasted from the
# clipboard and a row excluded with Ctrl+E; "Save as" writes the declaration,
# the excluded line and three fields per row.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
main="" graph="" # window ids, set by qv_wait_window
qv_init "$@"

files="$QV_ARTIFACTS/files"
mkdir -p "$files"
printf '1 1\r\n2 2\r\n3 3\r\n' >"$files/start.dta"

SIGMA_WIDTH=44 # each of the three columns while sigma shows
cell_click() { qv_click "$main" $((224 + 1 + $1 * SIGMA_WIDTH + 22)) $((96 + 1 + $2 * 14 + 7 + QV_MENU)); sleep 0.3; }

# saved_as <name> <printf format of the bytes>: "Save as" <name> writes them.
saved_as() {
  local expected actual
  qv_raise "$main"
  qv_menu "$main" 18 8 s # "&File", "&Save as"
  qv_file_dialog "Save as" "$files/$1"
  expected="$(printf "$2" | od -An -c)"
  actual="$(od -An -c "$files/$1")"
  [[ "$actual" == "$expected" ]] || qv_fail "$1 holds
$actual
expected
$expected"
  qv_log "ok: $1 as expected"
}

qv_start_app
qv_wait_window main "$QV_MAIN_TITLE"
qv_wait_window graph "$QV_GRAPH_TITLE"
qv_raise "$main"
qv_measure_menu "$main" 01-started
qv_menu "$main" 18 8 o # "&File", "&Open"
qv_file_dialog "Open" "$files/start.dta"

# The blue of the points' marks and of the error bars in the graph's box.
blue_in_graph() {
  qv_raise "$graph"
  qv_window_geometry "$graph"
  qv_capture "$1" "$graph" 49 1 $((QV_WIN_W - 50)) $((QV_WIN_H - 14))
  qv_pixels count 0,0,255
}
marks_only="$(blue_in_graph 01-graph-without-sigma)"

qv_raise "$main"
qv_menu "$main" 50 8 c # "&Edit", "Uncertainties &column"
sleep 0.5
qv_screenshot 02-column-on

cell_click 2 0
qv_type "$main" 0.1
qv_key "$main" Return Escape
printf '2\t2.5\t0.2\n3\t3.5\t0.3\n4\t4\t0.4\n' | timeout "$QV_STEP_TIMEOUT" xclip -selection clipboard \
  || qv_fail "cannot fill the clipboard"
cell_click 0 1
qv_key "$main" ctrl+v Escape
saved_as sigma.dta '; columns: x y sigma\r\n1 1 0.1\r\n2 2.5 0.2\r\n3 3.5 0.3\r\n4 4 0.4\r\n'
with_bars="$(blue_in_graph 02-graph-with-sigma)"
# Four points' marks and a bar of at least 20 pixels with its caps at each.
((with_bars > marks_only + 80)) || qv_fail "no error bars: $with_bars blue pixels with sigma, $marks_only without"
qv_log "ok: error bars drawn ($with_bars blue pixels, $marks_only before)"
qv_raise "$main"

cell_click 1 3
qv_key "$main" ctrl+e
qv_screenshot 03-excluded
saved_as excluded.dta '; columns: x y sigma\r\n; excluded: 4\r\n1 1 0.1\r\n2 2.5 0.2\r\n3 3.5 0.3\r\n4 4 0.4\r\n'

qv_close_window "$main"
qv_expect_exit 0
