#!/usr/bin/env bash
# Runs a command on a virtual X display of its own and ends the display after it.
# Usage: bash virtual_display.sh [-s "Xvfb arguments"] [-e log-file] command [arguments...]
# The exit status is the command's.
#
# Xvfb picks a free display number itself and tells it once it takes
# connections (-displayfd), so a display started beside another one at the
# same moment never ends up on its number. It keeps running when its last
# client disconnects (-noreset): a server that resets refuses the clients
# that connect meanwhile, so a program closed and started again could not
# find its display. Only clients holding the display's cookie may connect.
set -euo pipefail

server_args=()
log=/dev/null
while [[ $# -gt 0 ]]; do
  case "$1" in
    -s) read -r -a server_args <<<"$2"; shift 2 ;;
    -e) log="$2"; shift 2 ;;
    --) shift; break ;;
    *) break ;;
  esac
done
[[ $# -gt 0 ]] || { echo "usage: bash $0 [-s \"Xvfb arguments\"] [-e log-file] command [arguments...]" >&2; exit 2; }

folder="$(mktemp -d -t quilvex-display.XXXXXX)"
server=""
# shellcheck disable=SC2317  # run by the EXIT trap
end_server() {
  if [[ -n "$server" ]]; then
    kill -TERM "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  rm -rf "$folder"
}
trap end_server EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

cookie="$(mcookie)"
touch "$folder/server-auth" "$folder/Xauthority"
# The server takes every cookie of its file, whatever display the entry names.
xauth -q -f "$folder/server-auth" add :0 . "$cookie"
mkfifo "$folder/ready"
Xvfb -displayfd 3 -noreset -nolisten tcp -auth "$folder/server-auth" "${server_args[@]}" \
  3>"$folder/ready" >>"$log" 2>&1 &
server=$!
display=""
read -r -t 60 display <"$folder/ready" || true
[[ "$display" =~ ^[0-9]+$ ]] || { echo "virtual display: Xvfb did not start (its output: $log)" >&2; exit 1; }
xauth -q -f "$folder/Xauthority" add ":$display" . "$cookie"

status=0
DISPLAY=":$display" XAUTHORITY="$folder/Xauthority" "$@" || status=$?
exit "$status"
