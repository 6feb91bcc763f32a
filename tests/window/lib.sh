# Helpers for the real-window tests: the built program runs under Xvfb and
# xdotool drives it. A test script is called as
#   bash tests/window/test_NAME.sh <path-to-quilvex> <artifact-root>
# and looks like this:
#   source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
#   qv_init "$@"                      # re-runs the script inside a virtual display
#   qv_start_app
#   qv_wait_window main "$QV_MAIN_TITLE"
#   qv_screenshot started
#   qv_close_window "$main"
#   qv_expect_exit 0
# Every step has a timeout. Screenshots and the program's output go to
# <artifact-root>/<test name>/; after a failure it also holds failure.png
# and the folder is named on the output.
# shellcheck shell=bash disable=SC2034  # the QV_ variables are read by the test scripts

set -euo pipefail

QV_SCREEN="1280x800x24"
QV_VIRTUAL_DISPLAY_SCRIPT="$(dirname "$(realpath "${BASH_SOURCE[0]}")")/virtual_display.sh"
# qv_xvfb_command: sets QV_XVFB_RUN to the one command that runs a command on
# a new virtual display of its own (virtual_display.sh; "-e LOG" may follow),
# with the screen size the script set (QV_SCREEN may be changed after this
# file is read).
qv_xvfb_command() { QV_XVFB_RUN=(bash "$QV_VIRTUAL_DISPLAY_SCRIPT" -s "-screen 0 $QV_SCREEN"); }
# The whole test, virtual display included: room for a machine busy with other
# builds, where a test that takes 75 s when quiet has taken over 240 s.
QV_TOTAL_TIMEOUT="${QV_TOTAL_TIMEOUT:-600}"
QV_STEP_TIMEOUT="${QV_STEP_TIMEOUT:-10}"    # one xdotool or import call
QV_WINDOW_TIMEOUT="${QV_WINDOW_TIMEOUT:-30}" # a window to appear
QV_EXIT_TIMEOUT="${QV_EXIT_TIMEOUT:-15}"     # the program to end after a close

# Window titles as regular expressions for qv_wait_window. The main window's
# caption is the program title, " by " and an author credit.
QV_MAIN_TITLE='^Quilvex 0\.9 \(Beta\) by Quilvex Team$'
QV_GRAPH_TITLE='^Graph$'
QV_STATUS_TITLE='^Status$'

QV_APP_PID=""
QV_APP_STATUS=""

qv_log() {
  echo "[$QV_TEST] $*"
}

qv_fail() {
  echo "[$QV_TEST] FAIL: $*" >&2
  exit 1
}

# qv_init <quilvex-binary> <artifact-root>
# Outside the virtual display: empties the test's artifact folder and runs
# the calling script again on a virtual display, then reports. Inside: returns.
qv_init() {
  [[ $# -ge 2 ]] || { echo "usage: bash $0 <quilvex-binary> <artifact-dir>" >&2; exit 2; }
  QV_SCRIPT="$(realpath "${BASH_SOURCE[-1]}")"
  QV_TEST="$(basename "$QV_SCRIPT" .sh)"
  QV_BIN="$(realpath "$1")"
  QV_ARTIFACTS="$(realpath -m "$2")/$QV_TEST"

  if [[ -n "${QV_INSIDE_VIRTUAL_DISPLAY:-}" ]]; then
    trap qv_finish EXIT
    return 0
  fi

  [[ -x "$QV_BIN" ]] || { echo "[$QV_TEST] FAIL: no program at $QV_BIN" >&2; exit 1; }
  rm -rf "$QV_ARTIFACTS"
  mkdir -p "$QV_ARTIFACTS"
  local status=0
  qv_xvfb_command
  timeout -k 10 "$QV_TOTAL_TIMEOUT" \
    "${QV_XVFB_RUN[@]}" -e "$QV_ARTIFACTS/xvfb.log" \
    env QV_INSIDE_VIRTUAL_DISPLAY=1 bash "$QV_SCRIPT" "$@" || status=$?
  if [[ $status -eq 0 ]]; then
    echo "[$QV_TEST] passed; screenshots in $QV_ARTIFACTS"
  else
    [[ $status -eq 124 ]] && echo "[$QV_TEST] FAIL: timed out after ${QV_TOTAL_TIMEOUT}s" >&2
    echo "[$QV_TEST] failed (status $status); screenshots and logs kept in $QV_ARTIFACTS" >&2
  fi
  exit "$status"
}

# Runs at the end of the test inside the virtual display.
qv_finish() {
  local status=$?
  if [[ $status -ne 0 ]]; then
    qv_screenshot failure || true
    if [[ -s "$QV_ARTIFACTS/app.log" ]]; then
      echo "[$QV_TEST] last lines of the program's output:" >&2
      tail -n 20 "$QV_ARTIFACTS/app.log" >&2
    fi
  fi
  qv_stop_app
  exit "$status"
}

# qv_start_app [arguments...]: starts the program on the virtual display;
# its output goes to <artifacts>/app.log.
qv_start_app() {
  QT_QPA_PLATFORM=xcb "$QV_BIN" "$@" >"$QV_ARTIFACTS/app.log" 2>&1 &
  QV_APP_PID=$!
  qv_log "started $(basename "$QV_BIN") as process $QV_APP_PID"
}

qv_app_running() {
  [[ -n "$QV_APP_PID" ]] || return 1
  kill -0 "$QV_APP_PID" 2>/dev/null || return 1
  local state
  state="$(awk '{print $3}' "/proc/$QV_APP_PID/stat" 2>/dev/null)" || return 1
  [[ "$state" != Z ]]
}

# qv_wait_window <variable> <title-regex> [timeout-seconds]
# Waits until a visible window's title matches and stores its id in <variable>.
qv_wait_window() {
  local var="$1" regex="$2" limit="${3:-$QV_WINDOW_TIMEOUT}" ids
  local deadline=$((SECONDS + limit))
  while ((SECONDS < deadline)); do
    ids="$(timeout "$QV_STEP_TIMEOUT" xdotool search --onlyvisible --name "$regex" 2>/dev/null || true)"
    if [[ -n "$ids" ]]; then
      printf -v "$var" '%s' "${ids%%$'\n'*}"
      qv_log "window /$regex/ is ${!var}"
      return 0
    fi
    qv_app_running || qv_fail "the program ended before a window /$regex/ appeared"
    sleep 0.2
  done
  qv_fail "no visible window /$regex/ within ${limit}s"
}

# qv_expect_no_window <title-regex>: no visible window has such a title.
qv_expect_no_window() {
  local ids
  ids="$(timeout "$QV_STEP_TIMEOUT" xdotool search --onlyvisible --name "$1" 2>/dev/null || true)"
  [[ -z "$ids" ]] || qv_fail "a visible window /$1/ exists: $ids"
}

# qv_screenshot <name>: the whole virtual screen into <artifacts>/<name>.png
qv_screenshot() {
  local file="$QV_ARTIFACTS/$1.png"
  timeout "$QV_STEP_TIMEOUT" import -window root "$file" || { echo "[$QV_TEST] screenshot $1 failed" >&2; return 1; }
  qv_log "screenshot $file"
}

# qv_window_geometry <window>: sets QV_WIN_X, QV_WIN_Y, QV_WIN_W, QV_WIN_H.
qv_window_geometry() {
  local key value
  QV_WIN_W=""
  while IFS='=' read -r key value; do
    case "$key" in
      X) QV_WIN_X=$value ;; Y) QV_WIN_Y=$value ;;
      WIDTH) QV_WIN_W=$value ;; HEIGHT) QV_WIN_H=$value ;;
    esac
  done < <(timeout "$QV_STEP_TIMEOUT" xdotool getwindowgeometry --shell "$1")
  [[ -n "$QV_WIN_W" ]] || qv_fail "no geometry for window $1"
}

# Keyboard input goes to the focused window; there is no window manager,
# so focus is set directly.
qv_focus() {
  timeout "$QV_STEP_TIMEOUT" xdotool windowfocus --sync "$1" || qv_fail "cannot focus window $1"
}

# qv_click <window> <x> <y> [button]: click at a point relative to the window.
qv_click() {
  local win="$1" x="$2" y="$3" button="${4:-1}"
  timeout "$QV_STEP_TIMEOUT" xdotool mousemove --window "$win" "$x" "$y" click "$button" \
    || qv_fail "click at $x,$y in window $win failed"
}

# qv_type <window> <text>
qv_type() {
  qv_focus "$1"
  timeout "$QV_STEP_TIMEOUT" xdotool type --delay 30 -- "$2" || qv_fail "typing into window $1 failed"
}

# qv_key <window> <key>...  (xdotool key names, e.g. Return, ctrl+a)
qv_key() {
  local win="$1"
  shift
  qv_focus "$win"
  timeout "$QV_STEP_TIMEOUT" xdotool key --delay 30 -- "$@" || qv_fail "keys $* to window $win failed"
}

# qv_close_window <window>: asks the window to close the way a window
# manager does when its close button is pressed (WM_DELETE_WINDOW), so the
# program runs its normal close handling.
qv_close_window() {
  local python=python3
  [[ -x /usr/bin/python3 ]] && python=/usr/bin/python3
  timeout "$QV_STEP_TIMEOUT" "$python" - "$1" <<'PY' || qv_fail "cannot send a close request to window $1"
import ctypes, sys

class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

class Event(ctypes.Union):
    _fields_ = [("client", ClientMessage), ("pad", ctypes.c_long * 24)]

x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                           ctypes.c_long, ctypes.POINTER(Event)]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

display = x11.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
window = int(sys.argv[1])
event = Event()
event.client.type = 33  # ClientMessage
event.client.window = window
event.client.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.client.format = 32
event.client.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
event.client.data[1] = 0  # CurrentTime
if not x11.XSendEvent(display, window, 0, 0, ctypes.byref(event)):
    sys.exit("XSendEvent failed")
x11.XSync(display, 0)
x11.XCloseDisplay(display)
PY
  qv_log "asked window $1 to close"
}

# qv_expect_exit <status> [timeout-seconds]: the program ends in time with that status.
qv_expect_exit() {
  local expected="$1" limit="${2:-$QV_EXIT_TIMEOUT}"
  local deadline=$((SECONDS + limit))
  while qv_app_running; do
    ((SECONDS < deadline)) || qv_fail "the program still runs ${limit}s after the close"
    sleep 0.1
  done
  QV_APP_STATUS=0
  wait "$QV_APP_PID" || QV_APP_STATUS=$?
  QV_APP_PID=""
  [[ "$QV_APP_STATUS" -eq "$expected" ]] || qv_fail "the program ended with status $QV_APP_STATUS, expected $expected"
  qv_log "the program ended with status $QV_APP_STATUS"
}

# qv_expect_running: the program has not ended.
qv_expect_running() {
  qv_app_running || qv_fail "the program has ended"
}

# qv_stop_app: ends the program if it still runs (TERM, then KILL).
qv_stop_app() {
  qv_app_running || return 0
  kill -TERM "$QV_APP_PID" 2>/dev/null || true
  local deadline=$((SECONDS + 5))
  while qv_app_running && ((SECONDS < deadline)); do sleep 0.1; done
  qv_app_running && kill -KILL "$QV_APP_PID" 2>/dev/null
  wait "$QV_APP_PID" 2>/dev/null || true
  QV_APP_PID=""
}

# ---- Reading the screen ------------------------------------------------------

QV_PYTHON=python3
[[ -x /usr/bin/python3 ]] && QV_PYTHON=/usr/bin/python3
QV_PIXELS_SCRIPT="$(dirname "$(realpath "${BASH_SOURCE[0]}")")/pixels.py"
QV_PART=""
QV_WHY=""

# qv_capture <name> <window> <x> <y> <w> <h>
# Takes the screenshot <name>.png and cuts the rectangle, given in the
# window's own coordinates, into <name>-part.png, which qv_pixels reads.
qv_capture() {
  local name="$1" win="$2" x="$3" y="$4" w="$5" h="$6"
  qv_screenshot "$name" >/dev/null || return 1
  qv_window_geometry "$win"
  QV_PART="$QV_ARTIFACTS/$name-part.png"
  timeout "$QV_STEP_TIMEOUT" convert "$QV_ARTIFACTS/$name.png" \
    -crop "${w}x${h}+$((QV_WIN_X + x))+$((QV_WIN_Y + y))" +repage "PNG24:$QV_PART" \
    || qv_fail "cannot cut $name.png"
}

# qv_pixels <count|columns|rows|top> <colours> [x y w h]: pixels.py on the
# part of the last capture (coordinates relative to that part).
qv_pixels() {
  local command="$1"
  shift
  timeout "$QV_STEP_TIMEOUT" "$QV_PYTHON" "$QV_PIXELS_SCRIPT" "$command" "$QV_PART" "$@" \
    || qv_fail "reading the pixels of $QV_PART failed"
}

# qv_long_dashes <name> <window> <x y w h> <colour>: a check for qv_retry;
# the part holds at least 15 pixels of the colour, no black (no designed
# spline or point) and some columns without the colour between its first and
# last: a dashed curve, and only it.
qv_long_dashes() {
  local name="$1" win="$2" colour="$7" found black first last number
  qv_capture "$name" "$win" "$3" "$4" "$5" "$6"
  found="$(qv_pixels count "$colour")" black="$(qv_pixels count 0,0,0)"
  ((found >= 15 && black == 0)) || { QV_WHY="$found pixels of $colour, $black black"; return 1; }
  read -r first last number <<<"$(qv_pixels columns "$colour")"
  ((number < last - first + 1)) || { QV_WHY="$colour in every column $first..$last"; return 1; }
}

# qv_retry <tries> <what> <check> [args...]: runs the check until it
# succeeds; a check returns non-zero and says why in QV_WHY. The screen may
# lag behind an action, so every try should capture afresh.
qv_retry() {
  local tries="$1" what="$2" attempt
  shift 2
  for ((attempt = 1; attempt <= tries; attempt++)); do
    QV_WHY=""
    if "$@"; then
      qv_log "ok: $what"
      return 0
    fi
    sleep 0.5
  done
  qv_fail "$what: $QV_WHY (screenshot $QV_PART)"
}

# ---- Driving windows without a window manager ----------------------------------

# qv_raise <window>: puts the window above all others.
qv_raise() {
  timeout "$QV_STEP_TIMEOUT" xdotool windowraise "$1" || qv_fail "cannot raise window $1"
  sleep 0.3
}

# qv_is_above <upper> <lower>: the first window is stacked above the second
# (xwininfo lists the root's children topmost first).
qv_is_above() {
  local upper lower list
  upper="$(printf '0x%x' "$1")"
  lower="$(printf '0x%x' "$2")"
  list="$(timeout "$QV_STEP_TIMEOUT" xwininfo -root -children)" || return 1
  awk -v upper="$upper" -v lower="$lower" '
    $1 == upper && !seen_lower { found = 1 }
    $1 == lower { seen_lower = 1 }
    END { exit found ? 0 : 1 }' <<<"$list"
}

# qv_wait_no_window <title-regex> [timeout-seconds]: waits until no visible
# window has such a title.
qv_wait_no_window() {
  local regex="$1" limit="${2:-$QV_WINDOW_TIMEOUT}"
  local deadline=$((SECONDS + limit))
  while ((SECONDS < deadline)); do
    [[ -z "$(timeout "$QV_STEP_TIMEOUT" xdotool search --onlyvisible --name "$regex" 2>/dev/null || true)" ]] && return 0
    sleep 0.2
  done
  qv_fail "a window /$regex/ is still shown after ${limit}s"
}

# qv_wait_idle: waits until the program has used no processor time for a
# moment. A window may be mapped long before it can take keys (a file dialog
# under the sanitizers needs seconds to fill itself); keys sent before that
# are lost.
qv_wait_idle() {
  local before="" now deadline=$((SECONDS + QV_WINDOW_TIMEOUT)) quiet=0
  while ((quiet < 2)); do
    ((SECONDS < deadline)) || qv_fail "the program was still busy after ${QV_WINDOW_TIMEOUT}s"
    now="$(awk '{print $14 + $15}' "/proc/$QV_APP_PID/stat" 2>/dev/null)" || qv_fail "the program has ended"
    if [[ "$now" == "$before" ]]; then quiet=$((quiet + 1)); else quiet=0; fi
    before="$now"
    sleep 0.3
  done
}

# qv_app_windows: the program's visible windows (menus included), sorted.
qv_app_windows() {
  timeout "$QV_STEP_TIMEOUT" xdotool search --onlyvisible --classname "$(basename "$QV_BIN")" 2>/dev/null | sort || true
}

# qv_menu <window> <x> <y> <letter>: opens the menu whose title is at x,y,
# waits for it to show and picks an item by its underlined letter (the open
# menu has the keyboard; a letter typed before it shows would go elsewhere).
qv_menu() {
  local before popup="" deadline=$((SECONDS + QV_WINDOW_TIMEOUT))
  before="$(qv_app_windows)"
  qv_click "$1" "$2" "$3"
  while [[ -z "$popup" ]]; do
    ((SECONDS < deadline)) || qv_fail "the menu at $2,$3 of window $1 did not open"
    sleep 0.2
    popup="$(comm -13 <(echo "$before") <(qv_app_windows) | head -n 1)"
  done
  timeout "$QV_STEP_TIMEOUT" xdotool key --delay 30 "$4" || qv_fail "cannot pick menu item $4"
}

# qv_file_dialog <title> <path>: in the file dialog of that title, types the
# full path into the file name field (which has the focus) and accepts it.
qv_file_dialog() {
  local title="$1" path="$2" dialog="" attempt
  qv_wait_window dialog "^$title\$"
  qv_wait_idle
  qv_key "$dialog" ctrl+a
  qv_type "$dialog" "$path"
  for attempt in 1 2 3; do
    # A completion list may take the first Enter.
    qv_key "$dialog" Return
    sleep 0.7
    [[ -z "$(timeout "$QV_STEP_TIMEOUT" xdotool search --onlyvisible --name "^$title\$" 2>/dev/null || true)" ]] && return 0
  done
  qv_fail "the dialog \"$title\" did not accept $path"
}

# ---- The main window -------------------------------------------------------------

# qv_measure_menu <main-window> <screenshot-name>: sets QV_MENU to the height
# of the menu bar, which moves every control of the main window down. The
# grid's top frame line (client row 96) is the first drawing below the
# parameter labels.
QV_MENU=0
qv_measure_menu() {
  local win="$1" name="$2"
  measure() {
    local rows
    qv_capture "$name" "$win" 300 0 1 140
    rows="$(qv_pixels rows '!239,239,239' 0 100 1 40)"
    [[ "$rows" != none ]] || { QV_WHY="no grid frame found"; return 1; }
    QV_MENU=$((100 + ${rows%% *} - 96))
    ((QV_MENU >= 10 && QV_MENU <= 40)) || { QV_WHY="menu bar height $QV_MENU"; return 1; }
  }
  qv_retry 3 "main window layout measured" measure
  qv_log "menu bar height $QV_MENU"
}

# qv_drag <window> <x,y>...: presses the left button at the first point of
# the window, moves through the others and releases at the last one.
qv_drag() {
  local win="$1" at
  shift
  for at in "$@"; do
    timeout "$QV_STEP_TIMEOUT" xdotool mousemove --window "$win" "${at%,*}" "${at#*,}" \
      || qv_fail "cannot move the mouse"
    sleep 0.15
    if [[ "$at" == "$1" ]]; then
      timeout "$QV_STEP_TIMEOUT" xdotool mousedown 1 || qv_fail "cannot press the mouse button"
      sleep 0.3
    fi
  done
  timeout "$QV_STEP_TIMEOUT" xdotool mouseup 1 || qv_fail "cannot release the mouse button"
}

# ---- A window manager ------------------------------------------------------------

# qv_start_window_manager: starts openbox on the virtual display and waits
# until it manages windows, for tests of frames, minimising and the active
# window (the raise and focus helpers above suit a display without one). It
# ends with the display.
qv_start_window_manager() {
  openbox --sm-disable >"$QV_ARTIFACTS/openbox.log" 2>&1 &
  local deadline=$((SECONDS + QV_WINDOW_TIMEOUT))
  until timeout "$QV_STEP_TIMEOUT" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
    ((SECONDS < deadline)) || qv_fail "the window manager did not start"
    sleep 0.2
  done
  qv_log "window manager started"
}

# qv_frame_geometry <window>: sets QV_WIN_X, QV_WIN_Y, QV_WIN_W, QV_WIN_H to the
# window's place on the screen, taken where a window manager has framed it
# (xdotool's geometry adds the frame's offset once more there), and QV_FRAME
# to its frame's "left right top bottom".
qv_frame_geometry() {
  local info extents
  info="$(timeout "$QV_STEP_TIMEOUT" xwininfo -id "$1")" || qv_fail "no geometry for window $1"
  QV_WIN_X="$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")"
  QV_WIN_Y="$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")"
  QV_WIN_W="$(awk '/^ *Width:/ {print $NF}' <<<"$info")"
  QV_WIN_H="$(awk '/^ *Height:/ {print $NF}' <<<"$info")"
  extents="$(timeout "$QV_STEP_TIMEOUT" xprop -id "$1" _NET_FRAME_EXTENTS)" || qv_fail "no frame for window $1"
  [[ "$extents" =~ =\ ([0-9]+),\ ([0-9]+),\ ([0-9]+),\ ([0-9]+) ]] || qv_fail "window $1 has no frame: $extents"
  QV_FRAME="${BASH_REMATCH[*]:1}"
}

# qv_frame_within_screen <window> <screen-width> <screen-height>: succeeds when
# the window and its frame lie on the screen; QV_WHY describes where it is.
qv_frame_within_screen() {
  local left right top bottom
  qv_frame_geometry "$1"
  read -r left right top bottom <<<"$QV_FRAME"
  QV_WHY="window ${QV_WIN_W}x$QV_WIN_H at $QV_WIN_X,$QV_WIN_Y with frame $QV_FRAME"
  ((top > 0 && QV_WIN_X - left >= 0 && QV_WIN_Y - top >= 0 && QV_WIN_X + QV_WIN_W + right <= $2 &&
    QV_WIN_Y + QV_WIN_H + bottom <= $3))
}
