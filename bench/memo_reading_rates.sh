#!/usr/bin/env bash
# How often a memo whose bytes are both CP932 and UTF-8 is read in the wrong encoding, by the
# character model and by the rule before it, over memos made from the Japanese manual pages
# that the model was not built from (manpages-ja).
# usage: bench/memo_reading_rates.sh BUILD_DIR [MEMOS_PER_KIND=20000]
set -euo pipefail
build=${1:?usage: bench/memo_reading_rates.sh BUILD_DIR [MEMOS_PER_KIND]}
here=$(cd "$(dirname "$0")" && pwd)
text=$(mktemp)
trap 'rm -f "$text"' EXIT
python3 "$here/../scripts/memo_char_costs.py" --text held-out > "$text"
echo "held-out text: $(wc -l < "$text") lines, $(wc -m < "$text") characters"
"$build/bench/korimet_memo_reading_rates" "$text" "${2:-20000}"
