#!/usr/bin/env bash
# Fails when a file includes a layer it must not see:
# - the calculation core (data/, fit/, graph/core/, report/core/, stats/) includes
#   no Qt header and only its own floor and those below it;
# - ui/ includes no window and nothing of app/;
# - a window folder (graph/, mainwin/, report/, details/; their core/ folders aside)
#   includes no header of another window, and of app/ only the document and
#   the table's history; app/QuilvexApp alone brings the four windows together;
# - the document (app/document.*, app/tablehistory.*) includes no window and not
#   the composition root;
# - cli/ includes nothing of ui/, of a window folder or of app/.
# Usage: check_includes.sh [source-root]
set -uo pipefail
root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
cd "$root" || exit 2
failures=0

# Prints "file:line:target" for every quoted include and "file:line:<target" for
# an angle-bracketed one.
includes() {
    local dir="$1"
    [[ -d "$dir" ]] || return 0
    find "$dir" -maxdepth 1 -type f \( -name '*.h' -o -name '*.cpp' \) -print0 |
        xargs -0 -r grep -Hn -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' |
        sed -E -e 's/^([^:]*:[0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*/\1:\2/' \
            -e 's/^([^:]*:[0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*<([^>]*)>.*/\1:<\2/'
}

fail() {
    echo "layering: $1" >&2
    failures=$((failures + 1))
}

# Folders the core floor may include, lowest first.
check_core() {
    local dir="$1" allowed="$2"
    while IFS= read -r line; do
        local target="${line##*:}"
        case "$target" in
        "<Q"*) fail "$line: the core includes Qt" ;;
        "<"*) ;;
        */*)
            local folder="${target%/*}"
            [[ " $allowed " == *" $folder "* ]] || fail "$line: the core includes a higher layer"
            ;;
        esac
    done < <(includes "$dir")
}

check_core data "data"
check_core fit "data fit"
check_core graph/core "data fit graph/core"
check_core report/core "data fit graph/core report/core"
check_core stats "data fit graph/core report/core stats"

check_ui() {
    while IFS= read -r line; do
        case "${line##*:}" in
        graph/core/* | report/core/*) ;;
        graph/* | mainwin/* | report/* | details/* | app/*) fail "$line: ui/ includes a window or the application" ;;
        esac
    done < <(includes ui)
}
check_ui

check_window() {
    local own="$1"
    while IFS= read -r line; do
        local file="${line%%:*}" target="${line##*:}"
        case "$target" in
        graph/core/* | report/core/*) ;;
        app/document.h | app/tablehistory.h) ;;
        # The program's entry point starts the composition root.
        app/QuilvexApp.h) [[ "$file" == mainwin/main.cpp ]] || fail "$line: a window includes the composition root" ;;
        app/*) fail "$line: a window includes app/ beyond the document" ;;
        graph/* | mainwin/* | report/* | details/*)
            [[ "${target%%/*}" == "$own" ]] || fail "$line: a window includes another window's header"
            ;;
        esac
    done < <(includes "$own")
}
check_window graph
check_window mainwin
check_window report
check_window details

check_document() {
    while IFS= read -r line; do
        case "${line##*:}" in
        graph/core/* | report/core/*) ;;
        graph/* | mainwin/* | report/* | details/*) fail "$line: the document includes a window" ;;
        app/QuilvexApp.h) fail "$line: the document includes the composition root" ;;
        esac
    done < <(includes app | grep -E '^app/(document|tablehistory)\.')
}
check_document

check_cli() {
    while IFS= read -r line; do
        case "${line##*:}" in
        graph/core/* | report/core/*) ;;
        ui/* | graph/* | mainwin/* | report/* | details/* | app/*) fail "$line: cli/ includes the windows' side" ;;
        esac
    done < <(includes cli)
}
check_cli

if ((failures > 0)); then
    echo "layering: $failures include(s) cross a layer" >&2
    exit 1
fi
echo "layering: every include stays within its layer"
