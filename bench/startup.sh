#!/usr/bin/env bash
# Time from process start to the first paint of the main window, against a bare Qt window.
#   bench/startup.sh [BUILD_DIR] [RUNS] [xvfb|offscreen]
# Prints the median of each over RUNS starts (default 15) on one virtual X server.
set -euo pipefail
build=${1:-build}
runs=${2:-15}
mode=${3:-xvfb}
build=$(cd "$build" && pwd)
for program in "$build/korimet" "$build/bench/empty_window_startup"; do
    [ -x "$program" ] || { echo "startup.sh: $program is not built" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export KORIMET_EXIT_WHEN_SHOWN=1 BUILD="$build" RUNS="$runs" OUT="$work"

measure='
    set -euo pipefail
    for name in korimet empty_window_startup; do
        program="$BUILD/korimet"
        [ "$name" = korimet ] || program="$BUILD/bench/empty_window_startup"
        "$program" > /dev/null 2>&1 || true   # warm the file cache
        for _ in $(seq "$RUNS"); do "$program" 2> /dev/null | grep "^startup_ms"; done > "$OUT/$name.txt"
    done
'
if [ "$mode" = offscreen ]; then
    QT_QPA_PLATFORM=offscreen bash -c "$measure"
else
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c "$measure"
fi

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
echo "start-up to first paint, median of $runs runs ($mode), milliseconds:"
for name in korimet empty_window_startup; do
    from_process=$(awk '{ print $2 }' "$work/$name.txt" | median)
    from_main=$(awk '{ print $4 }' "$work/$name.txt" | median)
    printf '  %-22s from process start %7s   from main() %7s\n' "$name" "$from_process" "$from_main"
done
