#!/usr/bin/env bash
# Drives Korimet by keyboard under a virtual X server: File > Open with a data file, the
# race simulation from its toolbar button (by position: it has no key), the About box opened
# from the Help menu and closed with Enter, a screenshot of the window with the run loaded,
# then File > Exit. Checks that the program ended cleanly and stored its placement. Twice:
# in Japanese and, under a locale of no translated language, in English, with the same keys.
set -euo pipefail
: "${KORIMET_BUILD:?}" "${KORIMET_SOURCE:?}" "${KORIMET_ARTIFACTS:?}"

program="$KORIMET_BUILD/korimet"
shot="$KORIMET_ARTIFACTS/main_window_loaded.png"
about_shot="$KORIMET_ARTIFACTS/about_box.png"
fixture="$KORIMET_SOURCE/tests/data/example.krt"
[ -x "$program" ] || { echo "menus: $program is not built" >&2; exit 1; }
[ -r "$fixture" ] || { echo "menus: fixture $fixture is missing" >&2; exit 1; }
mkdir -p "$KORIMET_ARTIFACTS"
rm -f "$KORIMET_ARTIFACTS"/main_window_loaded*.png "$KORIMET_ARTIFACTS"/about_box*.png
# Qt's font and platform libraries keep caches for the life of the process.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR" "$work/cwd"
chmod 700 "$XDG_RUNTIME_DIR"
export KORIMET_PROGRAM="$program" KORIMET_FIXTURE="$fixture"
cd "$work/cwd"  # no template file here: the window starts with an empty run
unset LC_ALL LC_MESSAGES

for language in ja en; do
# The dialogs' titles in the window's language; the keys are the same in both.
if [ "$language" = ja ]; then
    export LANG=ja_JP.UTF-8 OPEN_TITLE="開く" RACE_TITLE="レース時間" ABOUT_TITLE="ﾊﾞｰｼﾞｮﾝ情報 Korimet"
    shot="$KORIMET_ARTIFACTS/main_window_loaded.png" about_shot="$KORIMET_ARTIFACTS/about_box.png"
else
    export LANG=C.UTF-8 OPEN_TITLE="Open" RACE_TITLE="Race Length" ABOUT_TITLE="About Korimet"
    shot="$KORIMET_ARTIFACTS/main_window_loaded_en.png" about_shot="$KORIMET_ARTIFACTS/about_box_en.png"
fi
export XDG_CONFIG_HOME="$work/config-$language" KORIMET_SHOT="$shot" KORIMET_ABOUT_SHOT="$about_shot"
mkdir -p "$XDG_CONFIG_HOME"

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -euo pipefail
    fail() { echo "menus: $*" >&2; kill "$pid" 2>/dev/null || true; exit 1; }
    note() { echo "menus: note: $*" >&2; }
    # The visible windows titled exactly $1. By name, not by xdotool'"'"'s pattern, which does
    # not take Japanese in every locale.
    titled() {
        for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
            [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "$1" ] && echo "$w"
        done
        return 0
    }
    # Waits up to $2 seconds for a visible window titled exactly $1; prints its id.
    find_window() {
        for _ in $(seq 1 $(( $2 * 5 ))); do
            found=$(titled "$1" | head -n 1)
            [ -n "$found" ] && { echo "$found"; return 0; }
            sleep 0.2
        done
        return 1
    }
    # True once no visible window is titled exactly $1 (checked for up to $2 seconds).
    gone() {
        for _ in $(seq 1 $(( $2 * 10 ))); do
            [ -z "$(titled "$1")" ] && return 0
            sleep 0.1
        done
        return 1
    }
    keys() { xdotool windowfocus --sync "$1" 2>/dev/null || true; shift; xdotool key --delay 80 "$@"; }

    "$KORIMET_PROGRAM" & pid=$!
    window=$(find_window Korimet 30) || true
    [ -n "$window" ] || fail "the Korimet window never appeared ($LANG)"
    sleep 1  # let the first paint reach the server

    # File > Open: the non-native file dialog starts with its file name field focused.
    keys "$window" alt+f o
    dialog=$(find_window "$OPEN_TITLE" 10) || true
    if [ -n "$dialog" ]; then
        xdotool windowfocus --sync "$dialog" 2>/dev/null || true
        xdotool type --delay 20 "$KORIMET_FIXTURE"
        xdotool key Return
        gone "$OPEN_TITLE" 10 || fail "the open dialog did not close after Enter"
        sleep 1
    else
        fail "File > Open showed no file dialog ($LANG)"
    fi

    # The race simulation has no keyboard path: click its toolbar button (the sixth, after
    # two separators) where the layout puts it, and answer 20 minutes.
    xdotool mousemove --window "$window" 155 32 click 1
    race=$(find_window "$RACE_TITLE" 5) || true
    if [ -n "$race" ]; then
        xdotool windowfocus --sync "$race" 2>/dev/null || true
        xdotool type --delay 20 20
        xdotool key Return
        gone "$RACE_TITLE" 10 || fail "the race time box did not close after Enter"
    else
        # Asking at all proves the run was loaded: without laps the tool refuses.
        fail "the race simulation asked no race time: the run did not load"
    fi
    xdotool mousemove 0 0

    # Help > version information: modal, closed by Enter on its default button.
    keys "$window" alt+h a
    about=$(find_window "$ABOUT_TITLE" 10) || true
    [ -n "$about" ] || fail "Help > About ($ABOUT_TITLE) did not open the About box"
    sleep 0.5
    import -window "$about" "$KORIMET_ABOUT_SHOT" || note "no screenshot of the About box"
    xdotool windowfocus --sync "$about" 2>/dev/null || true
    xdotool key Return
    gone "$ABOUT_TITLE" 10 || fail "Enter did not close the About box"

    sleep 0.5
    import -window "$window" "$KORIMET_SHOT"

    # File > Exit runs the unload step and ends the program.
    keys "$window" alt+f x
    timeout 30 tail --pid="$pid" -f /dev/null || fail "File > Exit did not end Korimet"
    status=0
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || { echo "menus: Korimet ended with status $status" >&2; exit 1; }
'

[ -s "$shot" ] || { echo "menus: no screenshot at $shot" >&2; exit 1; }
settings="$XDG_CONFIG_HOME/Korimet/Korimet.conf"
for key in MainLeft MainTop MainWidth MainHeight; do
    grep -q "^$key=" "$settings" 2>/dev/null || {
        echo "menus: $key was not stored in $settings by File > Exit" >&2
        exit 1
    }
done
# Whether the loaded run and its path show is for a person to judge from the picture.
echo "menus: $shot (the loaded run and $fixture should show)"
done
