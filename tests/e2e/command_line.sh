#!/usr/bin/env bash
# Korimet's command line: --help and --version answer on a bare terminal without a window,
# a wrong option is one line and exit 2, and a file given by the desktop ("Exec=korimet %f")
# opens at start so that File > Save writes back to it.
set -euo pipefail
: "${KORIMET_BUILD:?}" "${KORIMET_SOURCE:?}" "${KORIMET_ARTIFACTS:?}"

program="$KORIMET_BUILD/korimet"
fixture="$KORIMET_SOURCE/tests/data/example.krt"
shot="$KORIMET_ARTIFACTS/opened_from_command_line.png"
[ -x "$program" ] || { echo "command_line: $program is not built" >&2; exit 1; }
mkdir -p "$KORIMET_ARTIFACTS"
rm -f "$shot"
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
fail() { echo "command_line: $*" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
version=$(sed -n 's/^project(Korimet VERSION \([0-9.]*\).*/\1/p' "$KORIMET_SOURCE/CMakeLists.txt")
[ -n "$version" ] || fail "no project version found in CMakeLists.txt"

# No display at all: were a window tried, the program would stop with status 1. English,
# whatever the machine's locale, unless a test asks for Japanese.
bare() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u LC_ALL -u LC_MESSAGES \
    LANG="${bare_lang:-C.UTF-8}" "$program" "$@" > "$work/out" 2> "$work/err"; }
status=0; bare --help || status=$?
[ "$status" -eq 0 ] || fail "--help ended with $status: $(cat "$work/err")"
grep -q '^Usage: korimet \[options\] \[FILE.krt\]' "$work/out" || fail "--help printed: $(cat "$work/out")"
grep -q -- '--version' "$work/out" || fail "--help does not list --version"
[ ! -s "$work/err" ] || fail "--help wrote to standard error: $(cat "$work/err")"
status=0; bare --version || status=$?
[ "$status" -eq 0 ] || fail "--version ended with $status"
[ "$(cat "$work/out")" = "korimet $version" ] || fail "--version printed '$(cat "$work/out")', not 'korimet $version'"
# Help and messages follow the locale as korimet-cli's do.
status=0; bare_lang=ja_JP.UTF-8 bare --help || status=$?
[ "$status" -eq 0 ] || fail "--help in Japanese ended with $status"
grep -q '^使い方: korimet \[オプション\] \[FILE.krt\]' "$work/out" || fail "--help in Japanese printed: $(cat "$work/out")"
status=0; bare_lang=ja_JP.UTF-8 bare --bogus || status=$?
[ "$status" -eq 2 ] || fail "--bogus in Japanese ended with $status, not 2"
[ "$(cat "$work/err")" = "korimet: 不明なオプションです: --bogus ('korimet --help' を参照)" ] \
    || fail "--bogus in Japanese said: $(cat "$work/err")"
for wrong in --bogus -q "a.krt b.krt"; do
    status=0
    # shellcheck disable=SC2086  # "a.krt b.krt" is two arguments on purpose
    bare $wrong || status=$?
    [ "$status" -eq 2 ] || fail "'$wrong' ended with $status, not 2"
    [ "$(wc -l < "$work/err")" -eq 1 ] || fail "'$wrong' wrote more than one line: $(cat "$work/err")"
    [ ! -s "$work/out" ] || fail "'$wrong' wrote to standard output"
done

# Given a file, under a virtual X server: it opens with no message, and File > Save
# writes it back in place.
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$work/cwd"
chmod 700 "$XDG_RUNTIME_DIR"
utf8_name="$work/走行 1.krt"
sjis_name="$work/$(printf '\x91\x96\x8d\x73').krt"   # a Shift_JIS name from an old disk
cp "$fixture" "$utf8_name"
cp "$fixture" "$sjis_name"
cd "$work/cwd"  # no template here
export KORIMET_PROGRAM="$program" KORIMET_SHOT="$shot"

# A UTF-8 name and a Shift_JIS one both open and are saved back under their own names.
for given in "$utf8_name" "$sjis_name"; do
    export KORIMET_GIVEN="$given"
    touch -d '2000-01-01' "$given"
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        set -euo pipefail
        fail() { echo "command_line: $*" >&2; kill "$pid" 2>/dev/null || true; exit 1; }
        windows() { xdotool search --onlyvisible --name "^Korimet\$" 2>/dev/null | wc -l; }
        "$KORIMET_PROGRAM" "$KORIMET_GIVEN" & pid=$!
        window=$(timeout 30 xdotool search --sync --onlyvisible --name "^Korimet\$" 2>/dev/null | head -n 1) || true
        [ -n "$window" ] || fail "the Korimet window never appeared"
        sleep 1.5
        # A message box is titled like the window.
        [ "$(windows)" -eq 1 ] || fail "a message came up instead of the run"
        [ -s "$KORIMET_SHOT" ] || import -window "$window" "$KORIMET_SHOT"
        xdotool windowfocus --sync "$window" 2>/dev/null || true
        xdotool key --delay 80 alt+f s
        for _ in $(seq 50); do
            [ "$(stat -c %Y "$KORIMET_GIVEN")" -gt 978307200 ] && break
            sleep 0.1
        done
        [ "$(stat -c %Y "$KORIMET_GIVEN")" -gt 978307200 ] || fail "File > Save did not write back to the file given"
        xdotool windowfocus --sync "$window" 2>/dev/null || true
        xdotool key --delay 80 alt+f x
        timeout 30 tail --pid="$pid" -f /dev/null || fail "File > Exit did not end Korimet"
        wait "$pid"
    ' || fail "with $(printf %q "$given")"
done
[ "$(find "$work" -maxdepth 1 -name '*.krt' | wc -l)" -eq 2 ] || fail "a save wrote a file of another name"
echo "command_line: $shot (the run from the file given should show)"
