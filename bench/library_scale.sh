#!/usr/bin/env bash
# The run library at a club's decade: `korimet-cli runs --json` against reading the same
# files' bytes with cat, each the median of REPEATS runs on a warm cache.
# usage: bench/library_scale.sh BUILD_DIR [REPEATS=7]
set -euo pipefail
build=${1:?usage: bench/library_scale.sh BUILD_DIR [REPEATS]}
repeats=${2:-7}
here=$(cd "$(dirname "$0")" && pwd)
library=$(mktemp -d)
trap 'rm -rf "$library"' EXIT
python3 "$here/make_library.py" "$library" 10000 3650
echo "runs: $(find "$library" -name '*.krt' | wc -l) in $(find "$library" -mindepth 1 -type d | wc -l) day folders"

median_ms() {
    local times=()
    for _ in $(seq "$repeats"); do
        local start end
        start=$(date +%s%N)
        "$@" > /dev/null
        end=$(date +%s%N)
        times+=($(( (end - start) / 1000000 )))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (repeats + 1) / 2 ))p"
}

cat_all() { find "$library" -name '*.krt' -exec cat {} +; }
runs_json() { "$build/cli/korimet-cli" runs --library "$library" --json; }

cat_all > /dev/null  # warm the cache
cat_ms=$(median_ms cat_all)
runs_ms=$(median_ms runs_json)
echo "cat:              ${cat_ms} ms"
echo "korimet-cli runs: ${runs_ms} ms"
awk -v a="$runs_ms" -v b="$cat_ms" 'BEGIN { printf "ratio: %.2f\n", (b > 0 ? a / b : 0) }'
