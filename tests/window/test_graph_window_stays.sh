#!/usr/bin/env bash
# The graph window refuses to close on its own: a close request leaves it
# shown and the program running; the main window still ends the program.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
main="" graph="" graph_after="" # window ids, set by qv_wait_window
qv_init "$@"

qv_start_app
qv_wait_window main "$QV_MAIN_TITLE"
qv_wait_window graph "$QV_GRAPH_TITLE"

qv_close_window "$graph"
sleep 1
qv_expect_running
qv_wait_window graph_after "$QV_GRAPH_TITLE" 2
[[ "$graph_after" == "$graph" ]] || qv_fail "the graph window was replaced ($graph, now $graph_after)"
qv_screenshot after-graph-close

qv_close_window "$main"
qv_expect_exit 0
