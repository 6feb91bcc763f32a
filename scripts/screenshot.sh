#!/usr/bin/env bash
# Remakes docs/screenshot.png: the built program on a virtual display (Xvfb)
# with an example file opened from its command line, the status report and
# the "Fit details" window shown, the four windows side by side.
# Usage: bash scripts/screenshot.sh [quilvex-binary]   (default: build/quilvex)
# With QUILVEX_SHOT=weighted it remakes docs/screenshot-weighted.png instead:
# examples/counts.dta (counts with their sigma, one point excluded) fitted
# with weights 1/sigma^2, the weighted curve beside the designed one.
# shellcheck source-path=SCRIPTDIR source=../tests/window/lib.sh
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/tests/window/lib.sh"
QV_SCREEN="1600x1000x24"
main="" graph="" status="" details="" # window ids, set by qv_wait_window

if [[ -z "${QV_INSIDE_VIRTUAL_DISPLAY:-}" ]]; then
  program="${1:-$root/build/quilvex}"
  [[ -x "$program" ]] || bash "$root/scripts/build.sh"
  qv_init "$program" "$root/build/screenshot"
fi
qv_init "$@"

# The name shown under "Current file" should not depend on where the sources are.
examples="${TMPDIR:-/tmp}/quilvex-examples"
mkdir -p "$examples"
example=noisy output="$root/docs/screenshot.png"
if [[ "${QUILVEX_SHOT:-}" == weighted ]]; then
  example=counts output="$root/docs/screenshot-weighted.png"
fi
cp "$root/examples/$example.dta" "$examples/"
qv_start_app "$examples/$example.dta"
qv_wait_window main "$QV_MAIN_TITLE"
qv_wait_window graph "$QV_GRAPH_TITLE"
qv_key "$main" alt+s # the "&Status" menu item: the status report
qv_wait_window status "$QV_STATUS_TITLE"
qv_raise "$main"
qv_key "$main" ctrl+d # the "Fit details" window
qv_wait_window details '^Fit details$'
if [[ "${QUILVEX_SHOT:-}" == weighted ]]; then
  qv_key "$details" alt+w Down # "Weights": 1/sigma^2
fi

place() { timeout "$QV_STEP_TIMEOUT" xdotool windowmove --sync "$1" "$2" "$3" || qv_fail "cannot move window $1"; }
place "$main" 12 12
place "$status" 12 336
place "$graph" 442 12
place "$details" 442 452
timeout "$QV_STEP_TIMEOUT" xdotool windowsize --sync "$details" 900 520 || qv_fail "cannot size the details window"
sleep 2
qv_screenshot all

# The four windows on a plain background (the virtual screen's own is black).
layers=() right=0 bottom=0
for window in "$main" "$status" "$graph" "$details"; do
  qv_window_geometry "$window"
  layers+=(\( "$QV_ARTIFACTS/all.png" -crop "${QV_WIN_W}x$QV_WIN_H+$QV_WIN_X+$QV_WIN_Y" +repage \)
    -geometry "+$QV_WIN_X+$QV_WIN_Y" -composite)
  ((QV_WIN_X + QV_WIN_W > right)) && right=$((QV_WIN_X + QV_WIN_W))
  ((QV_WIN_Y + QV_WIN_H > bottom)) && bottom=$((QV_WIN_Y + QV_WIN_H))
done
convert -size "$((right + 12))x$((bottom + 12))" xc:'#d5dbe3' "${layers[@]}" "$output" \
  || qv_fail "cannot compose the screenshot"
qv_log "wrote $output"
qv_close_window "$main"
qv_expect_exit 0
