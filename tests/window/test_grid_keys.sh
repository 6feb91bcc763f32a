#!/usr/bin/env bash
# Keys in the grid under the real window system: a block pasted with Ctrl+V
# stays whole when Escape follows, and Ctrl+Z takes it back whole; Enter and
# the arrows move between cells; Tab leaves the grid for "Add Row", Shift+Tab
# for the last method box. X values stay ascending, so that no replot
# adjusts them. Results are read from the files "Save as" writes
# and from the screen.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
main="" graph="" # window ids, set by qv_wait_window
qv_init "$@"

files="$QV_ARTIFACTS/files"
mkdir -p "$files"
printf '1 1\r\n2 2\r\n3 3\r\n' >"$files/start.dta"

main_click() { qv_click "$main" "$1" $(($2 + QV_MENU)); sleep 0.3; }
cell_click() { main_click $((224 + 1 + $1 * 64 + 32)) $((96 + 1 + $2 * 14 + 7)); }

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

# The last method box ("Power") darkens when ticked.
power_ticked() {
  qv_capture "$1" "$main" 0 "$QV_MENU" 30 240
  local marks
  marks="$(qv_pixels count '!255,255,255' 11 $((96 + 6 * 16 + 4)) 9 9)"
  ((marks >= 10)) || { QV_WHY="the power box is not ticked ($marks marks)"; return 1; }
}

qv_start_app
qv_wait_window main "$QV_MAIN_TITLE"
qv_wait_window graph "$QV_GRAPH_TITLE"
qv_raise "$main"
qv_measure_menu "$main" 01-started
qv_menu "$main" 18 8 o # "&File", "&Open"
qv_file_dialog "Open" "$files/start.dta"

# ---- A paste is one step ------------------------------------------------------------

printf '0\t8\n2.5\t10\n' | timeout "$QV_STEP_TIMEOUT" xclip -selection clipboard || qv_fail "cannot fill the clipboard"
cell_click 0 0
qv_key "$main" ctrl+v Escape
saved_as pasted.dta '0 8\r\n2.5 10\r\n3 3\r\n'
qv_key "$main" ctrl+z
saved_as undone.dta '1 1\r\n2 2\r\n3 3\r\n'

# ---- Enter and the arrows move between cells -----------------------------------------

cell_click 0 0
qv_type "$main" 0
qv_key "$main" Return
qv_type "$main" 5
qv_key "$main" Down
qv_type "$main" 6
qv_key "$main" Return
saved_as moved.dta '0 5\r\n2 6\r\n3 3\r\n'

# ---- Tab leaves the grid both ways ------------------------------------------------------

# The space ticks the box or presses the button that has the focus; a 9 that
# stayed in the grid would show in the file.
cell_click 1 2
qv_key "$main" shift+Tab space 9
qv_retry 4 "Shift+Tab from the grid reached the power box" power_ticked 02-power
# From "Power" into the grid and on to "Add Row", which the space presses;
# Shift+Tab back into the grid, where the arrows reach the new row.
qv_key "$main" Tab Tab space shift+Tab Left Down
qv_type "$main" 4
qv_key "$main" Return
qv_type "$main" 4
qv_key "$main" Return
saved_as tabbed.dta '0 5\r\n2 6\r\n3 3\r\n4 4\r\n'

qv_close_window "$main"
qv_expect_exit 0
