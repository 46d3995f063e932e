#!/usr/bin/env bash
# Sets up, builds and starts Skribando on the current display.
# Without a display it starts a private Xvfb on a free display and says so.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    # Xvfb picks a free display itself and writes its number, with a line end, once it
    # takes clients.
    told=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$told" 2>/dev/null &
    xvfb_pid=$!
    trap 'kill $xvfb_pid 2>/dev/null || true; rm -f "$told"' EXIT
    for _ in $(seq 200); do
        [ "$(wc -l <"$told")" -ge 1 ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    number=$(head -n 1 "$told")
    if [ -z "$number" ]; then
        echo "run: no display found, and Xvfb does not start." >&2
        exit 1
    fi
    export DISPLAY=:$number
    echo "run: no display found; started a private Xvfb on $DISPLAY (1920x1080)."
fi
"$top/build/skribando"
