#!/usr/bin/env bash
# The "Fit details" window on an 800x600 screen with a window manager: it
# opens wholly on the screen, frame included, and is worked from the keyboard:
# the Menu key's sort entries, Tab out of the table, the mnemonics of its check
# boxes and buttons, Ctrl+D back to the main window and Escape to close it.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
QV_SCREEN="800x600x24"
main="" graph="" details="" dialog="" # window ids, set by qv_wait_window
qv_init "$@"

BOX_X=49 BOX_Y=1 BOX_W=538 BOX_H=402
files="$QV_ARTIFACTS/files"
mkdir -p "$files"
printf '1 2\r\n2 3\r\n3 5\r\n4 4\r\n5 6\r\n6 5.5\r\n7 4.5\r\n8 5\r\n' >"$files/points.dta"

qv_start_window_manager
qv_start_app "$files/points.dta"
qv_wait_window main "$QV_MAIN_TITLE"
qv_wait_window graph "$QV_GRAPH_TITLE"
qv_wait_idle
qv_key "$main" ctrl+d
qv_wait_window details '^Fit details$'
qv_wait_idle

# ---- On the screen, frame included --------------------------------------------------

qv_retry 4 "the window and its frame lie within the 800x600 screen" qv_frame_within_screen "$details" 800 600
qv_log "$QV_WHY"
qv_screenshot 01-opened

# ---- Keys ----------------------------------------------------------------------------

active_is() {
  local active
  active="$(timeout "$QV_STEP_TIMEOUT" xdotool getactivewindow)" || true
  [[ "$active" == "$1" ]] || { QV_WHY="the active window is $active, not $1"; return 1; }
}
qv_retry 4 "the window has the focus" active_is "$details"

# clipboard_after <name> <keys...>: puts a marker on the clipboard, presses the
# keys in the details window and keeps what the clipboard then holds (the
# marker if nothing replaced it within a few seconds).
clipboard_after() {
  local name="$1" deadline=$((SECONDS + 5))
  shift
  echo marker | timeout "$QV_STEP_TIMEOUT" xclip -selection clipboard -i
  timeout "$QV_STEP_TIMEOUT" xdotool key --delay 60 -- "$@" || qv_fail "keys $* failed"
  while sleep 0.3; do
    timeout "$QV_STEP_TIMEOUT" xclip -selection clipboard -o >"$files/$name" || qv_fail "no clipboard after $*"
    if [[ "$(cat "$files/$name")" != marker ]] || ((SECONDS >= deadline)); then break; fi
  done
}
first_method() { sed -n 2p "$files/$1" | cut -d, -f1; }

# The table has the focus; Right x4 makes SSR the current column. The Menu key
# opens the sort entries for it; alt+c is "Copy as CSV".
qv_key "$details" Right Right Right Right
clipboard_after descending.csv Menu d alt+c
[[ "$(first_method descending.csv)" == "Regression order 3 polynomial" ]] \
  || qv_fail "sorted by SSR descending: $(cat "$files/descending.csv")"
clipboard_after ascending.csv Menu a alt+c
[[ "$(first_method ascending.csv)" == "Cubic Spline" ]] || qv_fail "sorted by SSR ascending: $(cat "$files/ascending.csv")"
qv_log "ok: the Menu key sorts by the current column"

# Tab leaves the table: the bands box, then (the prediction box being off) "Copy as CSV".
clipboard_after tabbed.csv Tab Tab space
[[ "$(first_method tabbed.csv)" == "Cubic Spline" ]] || qv_fail "Tab Tab space did not copy: $(cat "$files/tabbed.csv")"
qv_log "ok: Tab leaves the table"

# alt+b and alt+p draw the bands, each changing the graph.
capture_graph() {
  timeout "$QV_STEP_TIMEOUT" xdotool windowactivate --sync "$graph" || qv_fail "cannot activate the graph"
  sleep 0.5
  qv_screenshot "$1" >/dev/null
  qv_frame_geometry "$graph"
  QV_PART="$QV_ARTIFACTS/$1-part.png"
  timeout "$QV_STEP_TIMEOUT" convert "$QV_ARTIFACTS/$1.png" \
    -crop "${BOX_W}x$BOX_H+$((QV_WIN_X + BOX_X))+$((QV_WIN_Y + BOX_Y))" +repage "PNG24:$QV_PART" || qv_fail "cannot cut $1.png"
}
differs() {
  local differing
  differing="$(compare -metric AE "$QV_ARTIFACTS/$1-part.png" "$QV_ARTIFACTS/$2-part.png" null: 2>&1)" || true
  [[ "$differing" =~ ^[0-9]+$ && "$differing" -gt 50 ]] || { QV_WHY="$differing pixels differ"; return 1; }
}
graph_changed() {
  capture_graph "$2"
  differs "$1" "$2"
}
capture_graph 02-designed
qv_key "$details" alt+b
qv_retry 4 "alt+b draws the bands" graph_changed 02-designed 03-bands
qv_key "$details" alt+p
qv_retry 4 "alt+p adds the prediction band" graph_changed 03-bands 04-prediction
qv_key "$details" alt+b

qv_key "$details" alt+e
qv_wait_window dialog '^Export residual plot$'
qv_key "$dialog" Escape
qv_wait_no_window '^Export residual plot$'
qv_log "ok: alt+e opens the export"

# ---- Ctrl+D back to the main window, Escape closes -------------------------------

qv_key "$details" ctrl+d
qv_retry 4 "Ctrl+D in the details window gives the main window the focus" active_is "$main"
qv_key "$main" ctrl+d
qv_retry 4 "Ctrl+D in the main window gives it back" active_is "$details"
qv_key "$details" Escape
qv_wait_no_window '^Fit details$'
qv_log "ok: Escape closes the window"

qv_close_window "$main"
qv_expect_exit 0
