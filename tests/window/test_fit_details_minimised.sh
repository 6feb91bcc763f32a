#!/usr/bin/env bash
# The "Fit details" window on a 1024x768 screen with a window manager: it
# opens wholly on the screen, its buttons work with the mouse where they are
# drawn, and once minimised both Ctrl+D in the main window and the status
# window's "Fit details" bring it back, restored and with the focus.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
QV_SCREEN="1024x768x24"
main="" details="" status="" dialog="" # window ids, set by qv_wait_window
qv_init "$@"

files="$QV_ARTIFACTS/files"
mkdir -p "$files"
printf '1 2\r\n2 3\r\n3 5\r\n4 4\r\n5 6\r\n6 5.5\r\n7 4.5\r\n8 5\r\n' >"$files/points.dta"

qv_start_window_manager
qv_start_app "$files/points.dta"
qv_wait_window main "$QV_MAIN_TITLE"
qv_wait_idle
qv_key "$main" ctrl+d
qv_wait_window details '^Fit details$'
qv_wait_idle

qv_retry 4 "the window and its frame lie within the 1024x768 screen" qv_frame_within_screen "$details" 1024 768
qv_screenshot 01-opened
DW=$QV_WIN_W DH=$QV_WIN_H

# The two buttons at the right end of the bottom row, clicked where they are drawn.
echo marker | timeout "$QV_STEP_TIMEOUT" xclip -selection clipboard -i
qv_click "$details" $((DW - 177)) $((DH - 23)) # "Copy as CSV"
table_copied() { timeout "$QV_STEP_TIMEOUT" xclip -selection clipboard -o | grep -q '^Method,Formula,'; }
qv_retry 6 "\"Copy as CSV\" puts the table on the clipboard" table_copied
qv_click "$details" $((DW - 60)) $((DH - 23)) # "Export residuals…"
qv_wait_window dialog '^Export residual plot$'
qv_key "$dialog" Escape
qv_wait_no_window '^Export residual plot$'
qv_log "ok: both buttons answer a click"

# restored: the window is shown again, not iconic, and has the focus.
restored() {
  local state active
  state="$(timeout "$QV_STEP_TIMEOUT" xprop -id "$details" WM_STATE _NET_WM_STATE)" || true
  active="$(timeout "$QV_STEP_TIMEOUT" xdotool getactivewindow)" || true
  QV_WHY="$state; active window $active"
  [[ "$state" == *"window state: Normal"* && "$state" != *_NET_WM_STATE_HIDDEN* && "$active" == "$details" ]]
}
minimise() {
  timeout "$QV_STEP_TIMEOUT" xdotool windowminimize --sync "$details" || qv_fail "cannot minimise the window"
  qv_wait_no_window '^Fit details$'
  qv_wait_idle
}

minimise
qv_key "$main" ctrl+d
qv_retry 6 "Ctrl+D in the main window restores the minimised window" restored
sleep 2; qv_screenshot 02-restored-by-ctrl-d

minimise
qv_click "$main" 92 8 # "&Status" in the menu bar
qv_wait_window status "$QV_STATUS_TITLE"
qv_wait_idle
qv_window_geometry "$status"
qv_click "$status" 140 $((QV_WIN_H - 16)) # "Fit details" in the row of result buttons
qv_retry 6 "the status window's \"Fit details\" restores the minimised window" restored
sleep 2; qv_screenshot 03-restored-by-status

qv_close_window "$main"
qv_expect_exit 0
