#!/usr/bin/env bash
# A data file that carries "; constraints: regression a0=0" opens with the
# regression's constrained curve on the graph: long red dashes beside the
# designed red curve, where the designed one is not.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
main="" graph="" # window ids, set by qv_wait_window
qv_init "$@"

BOX_X=49 BOX_Y=1 BOX_W=538 BOX_H=402
RED=255,0,0
files="$QV_ARTIFACTS/files"
mkdir -p "$files"
# The line y = 8 + 2x: the designed cubic is that line, from the box's lower
# left to its upper right; held at a0 = 0 the cubic bends down to the origin
# left of x = 1 and leaves the line.
printf '; constraints: regression a0=0\r\n1 10\r\n2 12\r\n3 14\r\n4 16\r\n5 18\r\n' >"$files/points.dta"

qv_start_app "$files/points.dta"
qv_wait_window main "$QV_MAIN_TITLE"
qv_wait_window graph "$QV_GRAPH_TITLE"
qv_wait_idle
# Box columns 150..210, rows 200..240 (x 1.89..2.45, y 13.0..14.0): the
# constrained cubic crosses them from column 172 on, the line y = 8 + 2x stays
# below row 245.
RECT=(150 200 61 41)
qv_raise "$graph"
qv_retry 3 "the constrained curve is drawn in long red dashes off the designed curve" \
  qv_long_dashes 01-constrained "$graph" $((BOX_X + RECT[0])) $((BOX_Y + RECT[1])) "${RECT[2]}" "${RECT[3]}" "$RED"
qv_stop_app
