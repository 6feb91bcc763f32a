#!/usr/bin/env bash
# The virtual display the window tests and run.sh use (qv_xvfb_command): it
# keeps what a client left on it after the last client disconnected (it never
# resets, so a program closed and started again finds it), two displays
# started at the same moment each get a number of their own, and only clients
# holding the display's cookie connect.
# Usage: bash test_virtual_display.sh [ignored arguments of the window tests]
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
QV_TEST=test_virtual_display
qv_xvfb_command
on_display() { timeout 60 "${QV_XVFB_RUN[@]}" bash -c "$1"; }

# Set by one client, read by the next after the first has gone (a reset would
# drop the property, or refuse the second client while it runs).
mark="$(on_display 'xprop -root -f _QUILVEX_MARK 8s -set _QUILVEX_MARK kept && sleep 1 && xprop -root _QUILVEX_MARK')" \
  || qv_fail "the second client could not read the display: $mark"
[[ "$mark" == '_QUILVEX_MARK(STRING) = "kept"' ]] || qv_fail "the display did not keep the mark: $mark"
qv_log "ok: the display outlives its last client"

# shellcheck disable=SC2016  # $DISPLAY is read on each display
numbers="$(on_display 'echo "$DISPLAY"; sleep 2' & on_display 'echo "$DISPLAY"; sleep 2' & wait)"
[[ "$(sort -u <<<"$numbers" | wc -l)" -eq 2 ]] || qv_fail "two displays started together got \"$numbers\""
qv_log "ok: two displays started together are ${numbers//$'\n'/ }"

answer="$(on_display 'XAUTHORITY=/dev/null xprop -root >/dev/null 2>&1 && echo connected || echo refused')"
[[ "$answer" == refused ]] || qv_fail "a client without the cookie: $answer"
qv_log "ok: a client without the cookie is refused"
