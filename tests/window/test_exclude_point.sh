#!/usr/bin/env bash
# The right button on a point opens its menu; "Exclude point" leaves the point
# out of the fits: it is drawn as a hollow grey circle where the blue one was,
# and "Save" writes which data line it is.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
main="" graph="" # window ids, set by qv_wait_window
qv_init "$@"

BOX_X=49 BOX_Y=1
GREY=128,128,128
BLUE=0,0,255
files="$QV_ARTIFACTS/files"
mkdir -p "$files"
# X 1..5, Y 2..6: at cover 80 % point 4 (4, 4) sits on column 376 or 377, row 201 of the box.
printf '1 2\r\n2 3\r\n3 5\r\n4 4\r\n5 6\r\n' >"$files/points.dta"
PX=$((BOX_X + 376)) PY=$((BOX_Y + 201))

qv_start_app
qv_wait_window main "$QV_MAIN_TITLE"
qv_wait_window graph "$QV_GRAPH_TITLE"
qv_raise "$main"
qv_menu "$main" 18 8 o # "&File", "&Open"
qv_file_dialog "Open" "$files/points.dta"
sleep 0.5

# mark_is <colour> <other>: the 13x13 square round point 4 holds the one colour, not the other.
mark_is() {
  qv_capture "$3" "$graph" $((PX - 6)) $((PY - 6)) 13 13
  local own other
  own="$(qv_pixels count "$1")" other="$(qv_pixels count "$2")"
  ((own >= 12 && other == 0)) || { QV_WHY="$own pixels of $1, $other of $2"; return 1; }
}
qv_raise "$graph"
qv_retry 3 "point 4 is drawn blue" mark_is "$BLUE" "$GREY" 01-point-fitted

before="$(qv_app_windows)" popup=""
qv_click "$graph" "$PX" "$PY" 3
deadline=$((SECONDS + QV_WINDOW_TIMEOUT))
while [[ -z "$popup" ]]; do
  ((SECONDS < deadline)) || qv_fail "the right button opened no menu on point 4"
  sleep 0.2
  popup="$(comm -13 <(echo "$before") <(qv_app_windows) | head -n 1)"
done
qv_screenshot 02-point-menu
qv_click "$graph" $((PX + 40)) $((PY + 10)) # the menu opens at the pointer: its one entry
sleep 0.5

qv_raise "$graph"
qv_retry 3 "point 4 is drawn hollow grey" mark_is "$GREY" "$BLUE" 03-point-excluded
# Hollow: the centre keeps the background.
qv_capture 04-centre "$graph" $((PX - 1)) $((PY - 1)) 3 3
[[ "$(qv_pixels count 240,255,255)" -ge 1 ]] || qv_fail "the excluded point's mark is filled"

qv_key "$main" ctrl+s
qv_file_dialog "Save as" "$files/saved.dta"
grep -q '^; excluded: 4' "$files/saved.dta" || qv_fail "saved: $(od -An -c "$files/saved.dta")"

qv_stop_app
