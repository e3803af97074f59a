#!/usr/bin/env bash
# Kills writers during writes on a FAT image and prints what is left: empty or short runs
# (must be 0) and temporary files before the next write clears the stale ones.
# Needs root and a loop mount or fusefat (scripts/bootstrap installs dosfstools, fusefat).
#   bench/fat_kills.sh [BUILD_DIR] [KILLS]     defaults: build 200
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
kills=${2:-200}
export HOME=$(mktemp -d)
trap 'rm -rf "$HOME"' EXIT
KORIMET_FAT_KILLS=$kills "$build/tests/korimet_core_tests" \
  --gtest_filter='DurableWrite.KillsOnFatNeverLeaveAnEmptyRun' | grep -E 'fat kills|SKIPPED|OK|FAILED|Skipped'
