#!/usr/bin/env bash
# cmake --install into a throw-away prefix puts exactly the programs, the desktop entry, the
# .krt type, the icons and the man pages where the desktop looks for them, the installed
# programs answer --version, the emulator comes only on request, and cpack -G DEB makes a
# package with those files, its dependencies and control fields.
set -euo pipefail
build=${KORIMET_BUILD:?KORIMET_BUILD is the build folder}
source=${KORIMET_SOURCE:?KORIMET_SOURCE is the source folder}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "install_tree: $*" >&2; exit 1; }
note() { echo "install_tree: $*"; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || fail "no project version in $build/CMakeCache.txt"

expected_files() {
  printf '%s\n' bin/korimet bin/korimet-cli bin/korimet-sheet \
    share/applications/korimet.desktop share/mime/packages/korimet-krt.xml \
    share/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/korimet.png \
    share/man/man1/korimet.1 share/man/man1/korimet-cli.1 | sort
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" \
  || fail "cmake --install failed: $(cat "$work/install.log")"
diff -u <(expected_files) <(cd "$prefix" && find . -type f | sed 's|^\./||' | sort) \
  || fail "the installed tree differs from the expected one (- expected, + installed)"

# Installed programs run from their new place and name the project's version.
[ "$("$prefix/bin/korimet" --version)" = "korimet $version" ] || fail "korimet --version"
[ "$("$prefix/bin/korimet-cli" --version)" = "korimet-cli $version" ] || fail "korimet-cli --version"
"$prefix/bin/korimet" --help | grep -q 'FILE\.krt' || fail "korimet --help names no FILE.krt"

# Each icon is drawn at the size of the folder it is in.
for size in 16 32 48 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/korimet.png
  read -r width height < <(od -An -tu1 -j16 -N8 "$icon" \
    | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')
  [ "$width x $height" = "$size x $size" ] || fail "$icon is $width x $height, not $size x $size"
done

# The desktop entry, the type and the icon name one another.
desktop=$prefix/share/applications/korimet.desktop
mime_xml=$prefix/share/mime/packages/korimet-krt.xml
mime_type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$mime_xml")
[ -n "$mime_type" ] || fail "no mime-type in $mime_xml"
grep -qx "MimeType=$mime_type;" "$desktop" || fail "the desktop entry does not declare $mime_type"
grep -qx 'Exec=korimet %f' "$desktop" || fail "the desktop entry does not pass the file (%f)"
grep -qx 'Icon=korimet' "$desktop" || fail "the desktop entry's icon is not korimet"
grep -q '<glob pattern="\*\.krt"/>' "$mime_xml" || fail "$mime_xml has no *.krt glob"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate: $desktop"
else
  note "desktop-file-validate not found, desktop entry not validated"
fi
if command -v xmllint >/dev/null; then
  xmllint --noout "$mime_xml" || fail "xmllint: $mime_xml"
else
  note "xmllint not found, $mime_xml not checked"
fi
if command -v update-mime-database >/dev/null; then
  update-mime-database "$prefix/share/mime" 2>"$work/mime.log" \
    || fail "update-mime-database: $(cat "$work/mime.log")"
  grep -q "^[0-9]*:$mime_type:\*\.krt" "$prefix/share/mime/globs2" \
    || fail "the mime database does not map *.krt to $mime_type"
fi

# The installed tool finds its sheet renderer beside itself.
QT_QPA_PLATFORM=offscreen "$prefix/bin/korimet-cli" sheet "$source/tests/data/example.krt" \
  --pdf "$work/sheet.pdf" >"$work/sheet.log" 2>&1 || fail "installed sheet verb: $(cat "$work/sheet.log")"
[ -s "$work/sheet.pdf" ] || fail "installed sheet verb wrote no PDF"

for program in korimet korimet-cli; do
  page=$prefix/share/man/man1/$program.1
  grep -q "^\.TH ${program^^} \"1\"" "$page" || fail "$page has no .TH header"
  grep -q "$program $version" "$page" || fail "$page does not name version $version"
done

# The emulator is a component of its own, installed only on request.
if [ -x "$build/emulator/korimet-timer-emulator" ]; then
  cmake --install "$build" --prefix "$work/emulator" --component emulator >/dev/null
  [ "$(cd "$work/emulator" && find . -type f)" = ./bin/korimet-timer-emulator ] \
    || fail "the emulator component holds more or less than the emulator"
fi

# The Debian package.
if ! command -v dpkg-deb >/dev/null || ! command -v dpkg-shlibdeps >/dev/null; then
  note "dpkg-deb or dpkg-shlibdeps not found, no Debian package built"
  exit 0
fi
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >cpack.log 2>&1) \
  || fail "cpack -G DEB failed: $(cat "$work/cpack.log")"
deb=$work/pkg/korimet_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$work/pkg")"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = korimet ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Section)" = utils ] || fail "Section: $(field Section)"
[[ "$(field Maintainer)" =~ ^.+\ \<.+@.+\>$ ]] || fail "Maintainer: $(field Maintainer)"
[ -n "$(field Description)" ] || fail "no Description"
depends=$(field Depends)
for needed in 'fonts-ipafont-gothic | fonts-noto-cjk' qt6-translations-l10n libqt6widgets6 \
  libqt6serialport6 libqcustomplot libc6; do
  [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
diff -u <(expected_files | sed 's|^|./usr/|') \
  <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort) \
  || fail "the package's files differ from the install tree (- expected, + packaged)"
note "$(basename "$deb"): $(stat -c %s "$deb") bytes, Depends: $depends"
