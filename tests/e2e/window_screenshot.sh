#!/usr/bin/env bash
# Starts Korimet under a virtual X server, waits for its main window, keeps a screenshot
# of it as an artifact, closes it through its close box and checks that it ended cleanly
# and stored its placement.
set -euo pipefail
: "${KORIMET_BUILD:?}" "${KORIMET_SOURCE:?}" "${KORIMET_ARTIFACTS:?}"

program="$KORIMET_BUILD/korimet"
shot="$KORIMET_ARTIFACTS/main_window.png"
[ -x "$program" ] || { echo "window_screenshot: $program is not built" >&2; exit 1; }
mkdir -p "$KORIMET_ARTIFACTS"
rm -f "$shot"

command -v python3 >/dev/null || { echo "window_screenshot: python3 is needed to close the window" >&2; exit 1; }
# Qt's font and platform libraries keep caches for the life of the process.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export KORIMET_PROGRAM="$program" KORIMET_SHOT="$shot"
export KORIMET_CLOSER="$KORIMET_SOURCE/tests/e2e/wm_delete.py"

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -euo pipefail
    "$KORIMET_PROGRAM" & pid=$!
    if ! window=$(timeout 30 xdotool search --sync --onlyvisible --name "^Korimet\$" | head -n 1) \
        || [ -z "$window" ]; then
        echo "window_screenshot: the Korimet window never appeared" >&2
        kill "$pid" 2>/dev/null || true
        exit 1
    fi
    sleep 1  # let the first paint reach the server
    import -window root "$KORIMET_SHOT"
    python3 "$KORIMET_CLOSER" "$window"
    status=0
    timeout 30 tail --pid="$pid" -f /dev/null || { echo "window_screenshot: Korimet did not end after its window was closed" >&2; kill "$pid"; exit 1; }
    wait "$pid" || status=$?
    if [ "$status" -ne 0 ]; then
        echo "window_screenshot: Korimet ended with status $status" >&2
        exit 1
    fi
'

[ -s "$shot" ] || { echo "window_screenshot: no screenshot at $shot" >&2; exit 1; }
settings="$XDG_CONFIG_HOME/Korimet/Korimet.conf"
for key in MainLeft MainTop MainWidth MainHeight; do
    grep -q "^$key=" "$settings" 2>/dev/null || {
        echo "window_screenshot: $key was not stored in $settings on close" >&2
        exit 1
    }
done
echo "window_screenshot: $shot"
