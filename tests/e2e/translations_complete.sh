#!/usr/bin/env bash
# Every translation is whole: collecting the texts of the sources again finds none that
# translations/*.ts lacks and none it holds in vain, and lrelease reports no unfinished or
# untranslated text. The collection runs on copies; the sources are not touched.
set -euo pipefail
: "${KORIMET_SOURCE:?}"
bins=$(qtpaths6 --query QT_HOST_BINS 2>/dev/null || echo /usr/lib/qt6/bin)
lupdate="$bins/lupdate" lrelease="$bins/lrelease"
[ -x "$lupdate" ] && [ -x "$lrelease" ] || { echo "translations: lupdate/lrelease not in $bins" >&2; exit 1; }
fail() { echo "translations: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$KORIMET_SOURCE"
# The folders the build collects from (CMakeLists.txt, KORIMET_TRANSLATED_SOURCES).
folders=(common session shell device lapdata files tools sheet library corrections pit/ui messages
  commandline)
shopt -s nullglob
found=0
for ts in translations/korimet_*.ts; do
  found=1
  name=$(basename "$ts")
  cp "$ts" "$work/$name"
  "$lupdate" -tr-function-alias QT_TRANSLATE_NOOP+=KORIMET_TR -source-language ja \
    -locations none -no-obsolete -extensions h,cpp "${folders[@]}" -ts "$work/$name" \
    >"$work/lupdate.log" 2>&1 || { cat "$work/lupdate.log" >&2; fail "lupdate failed on $ts"; }
  cmp -s "$ts" "$work/$name" || {
    diff -u "$ts" "$work/$name" | head -60 >&2
    fail "$ts is not up to date with the sources: cmake --build build --target update_translations, then translate what is new"
  }
  "$lrelease" "$ts" -qm "$work/${name%.ts}.qm" >"$work/lrelease.log" 2>&1 || {
    cat "$work/lrelease.log" >&2; fail "lrelease failed on $ts"; }
  grep -q ' 0 unfinished' "$work/lrelease.log" || { cat "$work/lrelease.log" >&2; fail "$ts has unfinished texts"; }
  ! grep -q 'untranslated' "$work/lrelease.log" || { cat "$work/lrelease.log" >&2; fail "$ts has untranslated texts"; }
  echo "$ts: $(grep -o 'Generated [0-9]* translation' "$work/lrelease.log")"
done
[ "$found" = 1 ] || fail "no translations/korimet_*.ts"
