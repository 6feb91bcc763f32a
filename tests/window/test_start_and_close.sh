#!/usr/bin/env bash
# The program starts with its main window and the graph window shown and the
# status window hidden, and closing the main window ends it with status 0.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
main="" # window ids, set by qv_wait_window
qv_init "$@"

qv_start_app
qv_wait_window main "$QV_MAIN_TITLE"
qv_wait_window graph "$QV_GRAPH_TITLE"
qv_expect_no_window "$QV_STATUS_TITLE"
qv_screenshot started

qv_close_window "$main"
qv_expect_exit 0
