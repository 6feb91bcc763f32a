#!/usr/bin/env bash
# Installs what is missing, builds Quilvex (the program only) and starts it.
# Without a display (neither DISPLAY nor WAYLAND_DISPLAY set) the program runs
# on a virtual X display, the one the window tests use (tests/window/lib.sh);
# a screenshot of it is saved as quilvex-screenshot.png in the current
# folder. Ctrl-C ends the program.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
screenshot_delay=3
QV_STEP_TIMEOUT=20 # the screenshot
# shellcheck source=../tests/window/lib.sh
source "$root/tests/window/lib.sh"

has_display() {
  [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]
}

# Runs inside the virtual display: starts the program, takes the screenshot
# and waits until the program ends or Ctrl-C stops it.
run_on_virtual_display() {
  local program="$1" screenshot="$2"
  QT_QPA_PLATFORM=xcb "$program" &
  local pid=$!
  local interrupted=0
  trap 'interrupted=1; kill -TERM "$pid" 2>/dev/null || true' INT TERM

  local waited=0
  while ((waited < screenshot_delay)) && kill -0 "$pid" 2>/dev/null; do
    sleep 1
    waited=$((waited + 1))
  done
  if kill -0 "$pid" 2>/dev/null; then
    QV_TEST=run QV_ARTIFACTS="$(dirname "$screenshot")"
    qv_screenshot "$(basename "$screenshot" .png)" || true
    echo "Quilvex is running; press Ctrl-C to end it."
  fi

  # A trapped signal interrupts wait; wait again until the program is gone.
  local status=0
  while true; do
    if wait "$pid"; then status=0; else status=$?; fi
    kill -0 "$pid" 2>/dev/null || break
  done
  trap - INT TERM
  if ((interrupted)); then
    echo "Quilvex stopped."
    return 0
  fi
  echo "Quilvex ended with status $status."
  return "$status"
}

main() {
  if [[ "${1:-}" == --on-virtual-display ]]; then
    shift
    run_on_virtual_display "$@"
    return
  fi

  local screenshot="$PWD/quilvex-screenshot.png"
  # The program alone: the tests are built by scripts/test.sh.
  bash "$root/scripts/deps.sh" --program
  bash "$root/scripts/build.sh" -- quilvex
  local program="$root/build/quilvex"

  if has_display; then
    exec "$program"
  fi
  echo "No display found: Quilvex runs on a virtual display (Xvfb, ${QV_SCREEN%x*})."
  qv_xvfb_command
  "${QV_XVFB_RUN[@]}" bash "${BASH_SOURCE[0]}" --on-virtual-display "$program" "$screenshot"
}

main "$@"
