#!/usr/bin/env bash
# Remakes docs/screenshot.png: the built program on a virtual display (Xvfb)
# with an example file opened from its command line and the status report
# shown, the three windows side by side.
# Usage: bash scripts/screenshot.sh [quilvex-binary]   (default: build/quilvex)
# shellcheck source-path=SCRIPTDIR source=../tests/window/lib.sh
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/tests/window/lib.sh"
QV_SCREEN="1440x900x24"
main="" graph="" status="" # window ids, set by qv_wait_window

if [[ -z "${QV_INSIDE_VIRTUAL_DISPLAY:-}" ]]; then
  program="${1:-$root/build/quilvex}"
  [[ -x "$program" ]] || bash "$root/scripts/build.sh"
  qv_init "$program" "$root/build/screenshot"
fi
qv_init "$@"

qv_start_app "$root/examples/noisy.dta"
qv_wait_window main "$QV_MAIN_TITLE"
qv_wait_window graph "$QV_GRAPH_TITLE"
qv_key "$main" alt+s # the "&Status" menu item: the status report
qv_wait_window status "$QV_STATUS_TITLE"

place() { timeout "$QV_STEP_TIMEOUT" xdotool windowmove --sync "$1" "$2" "$3" || qv_fail "cannot move window $1"; }
place "$main" 0 0
place "$status" 0 340
place "$graph" 425 0
sleep 1
qv_screenshot all
qv_window_geometry "$status"
bottom=$((QV_WIN_Y + QV_WIN_H))
qv_window_geometry "$graph"
right=$((QV_WIN_X + QV_WIN_W))
convert "$QV_ARTIFACTS/all.png" -crop "${right}x${bottom}+0+0" +repage "$root/docs/screenshot.png" \
  || qv_fail "cannot cut the screenshot"
qv_log "wrote $root/docs/screenshot.png (${right}x$bottom)"
qv_close_window "$main"
qv_expect_exit 0
