#!/usr/bin/env bash
# The timer emulator, read back through the frame receiver (korimet-cli decode): the frames
# it promises arrive whole through its pseudo-terminal, with noise and split pieces, and a
# corrupted checksum gives none.
source "$(dirname "$0")/emulator_common.bash"

# Starts the emulator on a pseudo-terminal, reads everything it sends until it ends, and
# leaves the bytes in $work/$1.bin.
capture_pty() {
  local name=$1; shift
  "$emu" "$@" >"$work/$name.path" 2>"$work/$name.log" &
  local pid=$!
  pids+=("$pid")
  local tries=0
  until [ -s "$work/$name.path" ]; do
    tries=$((tries + 1))
    [ "$tries" -le 400 ] || fail "$name: no pseudo-terminal path printed"
    kill -0 "$pid" 2>/dev/null || fail "$name: emulator ended early: $(cat "$work/$name.log")"
    sleep 0.05
  done
  local path
  path=$(head -n 1 "$work/$name.path")
  [ -c "$path" ] || fail "$name: '$path' is not a terminal device"
  # The read ends with an I/O error once the emulator closes its end.
  cat "$path" >"$work/$name.bin" 2>/dev/null || true
  wait "$pid" || fail "$name: emulator exit status $?"
}

frames_in() { "$cli" decode "$1" | wc -l; }
size_of() { stat -c %s "$1"; }

# Good frames with noise and random pieces.
capture_pty split --count 3 --every 0.1 --noise 9 --split --car 23 --laps 12 --seed 5
[ "$(size_of "$work/split.bin")" -eq $((3 * (134 + 9))) ] || fail "split: wrong byte count"
[ "$(frames_in "$work/split.bin")" -eq 3 ] || fail "split: expected 3 frames"
"$cli" decode "$work/split.bin" >"$work/split.json"
grep -c '"carId":23,"lapCount":12' "$work/split.json" | grep -qx 3 || fail "split: car or laps"

# One frame, no faults.
capture_pty once --once --model 10 --race 12
[ "$(frames_in "$work/once.bin")" -eq 1 ] || fail "once: expected 1 frame"
grep -q '"model":"Belto".*"raceMinutes":0' <("$cli" decode "$work/once.bin") \
  || fail "once: model 10 should decode as Belto with no race length"

# A corrupted checksum: every byte arrives, no frame decodes.
capture_pty bad --count 4 --noise 3 --bad-checksum
[ "$(size_of "$work/bad.bin")" -eq $((4 * (134 + 3))) ] || fail "bad: wrong byte count"
status=0
"$cli" decode "$work/bad.bin" >"$work/bad.json" || status=$?
[ "$status" -eq 1 ] && [ ! -s "$work/bad.json" ] || fail "bad: a frame decoded"

# Straight to a device (a plain file here): the same seed gives the same bytes.
: >"$work/a.bin"
: >"$work/b.bin"
"$emu" --device "$work/a.bin" --count 4 --seed 99 --noise 2 >/dev/null 2>&1
"$emu" --device "$work/b.bin" --count 4 --seed 99 --noise 2 >/dev/null 2>&1
cmp -s "$work/a.bin" "$work/b.bin" || fail "device: same seed, different bytes"
[ "$(frames_in "$work/a.bin")" -eq 4 ] || fail "device: expected 4 frames"

# Noise never holds 0xFF, which would make a header out of nothing.
: >"$work/noise.bin"
"$emu" --device "$work/noise.bin" --once --noise 5000 --seed 1 >/dev/null 2>&1
noise_hex=$(head -c 5000 "$work/noise.bin" | od -An -tx1 -v)
grep -qw ff <<<"$noise_hex" && fail "noise: holds 0xFF"

# One frame per Enter; end of input ends.
: >"$work/enter.bin"
printf '\n\n\n' | "$emu" --device "$work/enter.bin" --on-enter --laps 60 >/dev/null 2>&1
[ "$(frames_in "$work/enter.bin")" -eq 3 ] || fail "on-enter: expected 3 frames"

# SIGTERM ends a waiting emulator cleanly.
"$emu" --every 600 >"$work/term.path" 2>"$work/term.log" &
term_pid=$!
pids+=("$term_pid")
tries=0
until [ -s "$work/term.path" ]; do
  tries=$((tries + 1)); [ "$tries" -le 400 ] || fail "term: no path"; sleep 0.05
done
kill -TERM "$term_pid"
status=0
wait "$term_pid" || status=$?
[ "$status" -eq 0 ] || fail "term: exit status $status after SIGTERM"

# Options: help lists them, bad values are refused.
help=$("$emu" --help)
for option in --device --once --every --on-enter --count --model --car --laps --pace \
  --target --race --seed --file --noise --split --bad-checksum --help; do
  grep -q -- "$option" <<<"$help" || fail "--help does not list $option"
done
for bad in "--laps 4" "--laps 61" "--car 256" "--pace 0" "--every -1" "--count 0" \
  "--target 700" "--once --count 2" "--once --every 1" "--bogus" "--seed x" "--laps"; do
  status=0
  # shellcheck disable=SC2086
  "$emu" $bad >/dev/null 2>&1 || status=$?
  [ "$status" -eq 2 ] || fail "'$bad' gave status $status, not 2"
done
# --file: a missing or unreadable data file is refused with the reader's message.
status=0
"$emu" --file "$work/some.krt" >/dev/null 2>"$work/file.log" || status=$?
[ "$status" -eq 2 ] && grep -q "some.krt" "$work/file.log" || fail "--file missing file"
printf 'not,a,data,file\r\n' >"$work/bad.krt"
status=0
"$emu" --file "$work/bad.krt" --device "$work/never.bin" >/dev/null 2>"$work/file.log" \
  || status=$?
[ "$status" -eq 2 ] && grep -q "bad.krt" "$work/file.log" || fail "--file bad file"
[ ! -s "$work/never.bin" ] || fail "--file bad file: bytes were sent"

echo "emulator: all checks passed"
