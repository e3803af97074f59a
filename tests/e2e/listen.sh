#!/usr/bin/env bash
# korimet-cli listen on the timer emulator's pseudo-terminal: every frame the emulator sends
# is saved as the same file the decoder makes of the same bytes, earlier files are kept, a
# full disk or a folder it cannot use ends it with 2, and Ctrl+C or SIGTERM end it with 0
# after a frame and 1 without one. Also the emulator's --file round trip.
source "$(dirname "$0")/emulator_common.bash"
# The tool's messages in English whatever the machine's locale.
unset LC_ALL LC_MESSAGES
export LANG=C.UTF-8

# Starts the emulator on a pseudo-terminal with the given options; sets $emu_pid and $tty.
start_emulator() {
  local name=$1; shift
  "$emu" "$@" >"$work/$name.path" 2>"$work/$name.emu.log" &
  emu_pid=$!
  pids+=("$emu_pid")
  local tries=0
  until [ -s "$work/$name.path" ]; do
    tries=$((tries + 1))
    [ "$tries" -le 400 ] || fail "$name: no pseudo-terminal path printed"
    kill -0 "$emu_pid" 2>/dev/null || fail "$name: emulator ended: $(cat "$work/$name.emu.log")"
    sleep 0.05
  done
  tty=$(head -n 1 "$work/$name.path")
  [ -c "$tty" ] || fail "$name: '$tty' is not a terminal device"
}

# Waits until file $1 has at least $2 lines.
wait_lines() {
  local tries=0
  until [ -f "$1" ] && [ "$(wc -l <"$1")" -ge "$2" ]; do
    tries=$((tries + 1)); [ "$tries" -le 600 ] || fail "no $2 lines in $1"; sleep 0.05
  done
}

run_opts=(--seed 11 --car 19 --laps 15 --model 2 --noise 5 --split)

# Three frames, noise before each, sent in random pieces.
start_emulator three --count 3 --every 0.2 "${run_opts[@]}"
timeout 60 "$cli" listen "$tty" --out "$work/out" --count 3 >"$work/three.out" \
  2>"$work/three.err" || fail "listen exit status $?: $(cat "$work/three.err")"
wait "$emu_pid" || fail "emulator exit status $?"
[ "$(wc -l <"$work/three.out")" -eq 3 ] || fail "expected 3 lines, got: $(cat "$work/three.out")"
for i in 1 2 3; do
  line=$(sed -n "${i}p" "$work/three.out")
  grep -Eq "^run-00$i\.krt  Quintrel  Ver1\.2  car 19  15 laps$" <<<"$line" \
    || fail "line $i: '$line'"
done
[ "$(find "$work/out" -type f | wc -l)" -eq 3 ] || fail "expected exactly 3 files"

# The same seed and options give the same bytes; the decoder's files of them are the truth.
: >"$work/ref.bin"
"$emu" --device "$work/ref.bin" --count 3 "${run_opts[@]}" >/dev/null 2>&1
"$cli" decode "$work/ref.bin" --out "$work/ref" >"$work/ref.json"
for i in 1 2 3; do
  cmp -s "$work/out/run-00$i.krt" "$work/ref/run-00$i.krt" || fail "run-00$i.krt differs"
  "$cli" show --json "$work/out/run-00$i.krt" | grep -q '"Label4":"19","Label5":"15L"' \
    || fail "run-00$i.krt does not show car 19 with 15 laps"
done

# Files of an earlier session stay: the next frame goes to the next free number.
cp "$work/out/run-001.krt" "$work/keep.krt"
start_emulator more --once --seed 12 --car 20
timeout 60 "$cli" listen "$tty" --out "$work/out" --count 1 >"$work/more.out" 2>/dev/null \
  || fail "second listen"
wait "$emu_pid" || true
grep -q '^run-004\.krt  Ferrow  Ver1\.2  car 20  ' "$work/more.out" || fail "$(cat "$work/more.out")"
cmp -s "$work/out/run-001.krt" "$work/keep.krt" || fail "run-001.krt was overwritten"

# A full disk (no file may grow, SIGXFSZ ignored): exit 2 naming the file, no "saved" line,
# every earlier file byte for byte as it was and nothing new. Output goes through a pipe
# and a FIFO, which the size limit does not stop.
sums_before=$(cd "$work/out" && sha256sum -- *)
mkfifo "$work/full.fifo"
cat "$work/full.fifo" >"$work/full.err" &
cat_pid=$!
start_emulator full --once --seed 13
status=0
(trap '' XFSZ; ulimit -f 0; exec timeout -k 5 60 "$cli" listen "$tty" --out "$work/out" --count 1 \
  2>"$work/full.fifo") | cat >"$work/full.out" || status=$?
wait "$cat_pid"
kill -TERM "$emu_pid" 2>/dev/null || true; wait "$emu_pid" || true
[ "$status" -eq 2 ] || fail "full disk: status $status, not 2: $(cat "$work/full.err")"
[ ! -s "$work/full.out" ] || fail "full disk: a run was reported saved: $(cat "$work/full.out")"
grep -qF "cannot save the file: $work/out/run-005.krt" "$work/full.err" \
  || fail "full disk: $(cat "$work/full.err")"
[ "$(cd "$work/out" && sha256sum -- *)" = "$sums_before" ] || fail "full disk changed the folder"

# A folder whose file names cannot be checked (here: names beyond the system's 4096-byte
# limit on a path) ends with 2 and the folder's name instead of counting on for ever.
long=$work
while [ ${#long} -lt 4090 ]; do long="$long/$(printf 'a%.0s' {1..200})"; done
long=${long:0:4090}
mkdir -p "$long"
start_emulator long --once --seed 14
status=0
timeout -k 5 60 "$cli" listen "$tty" --out "$long" --count 1 >"$work/long.out" 2>"$work/long.err" \
  || status=$?
kill -TERM "$emu_pid" 2>/dev/null || true; wait "$emu_pid" || true
[ "$status" -eq 2 ] || fail "unsearchable folder: status $status, not 2"
grep -qF "cannot save in the folder: $long" "$work/long.err" || fail "$(cat "$work/long.err")"
grep -qF "run-001.krt (File name too long)" "$work/long.err" || fail "$(cat "$work/long.err")"
[ ! -s "$work/long.out" ] || fail "unsearchable folder: $(cat "$work/long.out")"

# A folder named in CP932 bytes (テスト), as unpacked from a Windows archive.
sjis=$work/$(printf '\x83\x65\x83\x58\x83\x67')
start_emulator sjis --once --seed 15
timeout 60 "$cli" listen "$tty" --out "$sjis" --count 1 >"$work/sjis.out" 2>/dev/null \
  || fail "listen into a CP932 folder"
wait "$emu_pid" || true
[ -f "$sjis/run-001.krt" ] || fail "no run-001.krt in the CP932 folder"
"$cli" show "$sjis/run-001.krt" >/dev/null || fail "show of the CP932 folder's run"

# Ctrl+C: 0 after a frame, 1 without one; SIGTERM the same. Job control keeps SIGINT for
# background jobs.
set -m
for case in good:INT:0 bad:INT:1 term:TERM:0; do
  name=${case%%:*}; expected=${case##*:}; sig=${case#*:}; sig=${sig%%:*}
  extra=()
  [ "$name" = bad ] && extra=(--bad-checksum)
  start_emulator "int-$name" --every 600 "${extra[@]}"
  "$cli" listen "$tty" --out "$work/int-$name" >"$work/int-$name.out" 2>"$work/int-$name.err" &
  listen_pid=$!
  pids+=("$listen_pid")
  if [ "$name" = good ]; then
    wait_lines "$work/int-$name.out" 1
  else
    wait_lines "$work/int-$name.err" 1  # listening; let the bad frame arrive
    sleep 0.5
  fi
  kill -"$sig" "$listen_pid"
  status=0
  wait "$listen_pid" || status=$?
  [ "$status" -eq "$expected" ] || fail "SIG$sig ($name): status $status, not $expected"
  kill -TERM "$emu_pid"; wait "$emu_pid" || true
done
set +m
[ ! -e "$work/int-bad/run-001.krt" ] || fail "a bad frame was saved"

# Refusals: no such port, a name that is no port, --out without its folder, a folder inside
# a file.
: >"$work/plain"
for bad in "/nonexistent/tty --out $work/x" "COM9 --out $work/x" "$tty --out" \
  "--count 0 COM1 --out $work/x" "$tty --out $work/plain/runs"; do
  status=0
  # shellcheck disable=SC2086
  "$cli" listen $bad >/dev/null 2>&1 || status=$?
  [ "$status" -eq 2 ] || fail "listen $bad: status $status, not 2"
done

# emulator --file: the stored run goes out as it is and comes back the same through listen.
example="${KORIMET_SOURCE:-$(dirname "$0")/../..}/tests/data/example.krt"
start_emulator file --file "$example" --model 11
timeout 60 "$cli" listen "$tty" --out "$work/file" --count 1 >"$work/file.out" 2>/dev/null \
  || fail "listen for --file"
wait "$emu_pid" || fail "emulator --file exit status"
grep -q '^run-001\.krt  Marrix  ' "$work/file.out" || fail "$(cat "$work/file.out")"
# The memo is not on the wire; the rest of what File > Open shows, but for the file's name,
# must be the same.
strip_memo() { "$cli" show --json "$1" | sed -e 's/"Label3":"[^"]*"//' \
  -e 's/"path":"[^"]*",\("pathBytes":"[^"]*",\)\{0,1\}//' -e 's/"memo":.*$//'; }
[ "$(strip_memo "$example")" = "$(strip_memo "$work/file/run-001.krt")" ] \
  || fail "--file run differs after the round trip"

echo "listen: all checks passed"
