# Shared by the emulator and listen checks (sourced; named .bash so ctest does not run it).
set -euo pipefail
: "${KORIMET_BUILD:?KORIMET_BUILD must name the build folder}"
emu="$KORIMET_BUILD/emulator/korimet-timer-emulator"
cli="$KORIMET_BUILD/cli/korimet-cli"
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
