#!/usr/bin/env bash
# cmake --install into a throw-away prefix puts exactly the programs, the sheet renderer as a
# helper, the desktop entry, the .krt type, the icons, the AppStream metadata, the completion,
# the gzipped man pages and each package's documents where they belong; the installed
# programs run from there; the tool's component alone says which package draws sheets; the
# emulator comes only on request; and cpack -G DEB makes the two packages, korimet-cli
# without any GUI library, with those files, their dependencies and control fields, the same
# bytes when packed again, and nothing lintian calls an error or a warning.
set -euo pipefail
build=${KORIMET_BUILD:?KORIMET_BUILD is the build folder}
source=${KORIMET_SOURCE:?KORIMET_SOURCE is the source folder}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "install_tree: $*" >&2; exit 1; }
note() { echo "install_tree: $*"; }
english() { env -u LC_ALL -u LC_MESSAGES LANG=C.UTF-8 "$@"; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || fail "no project version in $build/CMakeCache.txt"

# What each component, and so each package, holds.
cli_files() {
  printf '%s\n' bin/korimet-cli share/man/man1/korimet-cli.1.gz \
    share/bash-completion/completions/korimet-cli \
    share/doc/korimet-cli/{copyright,changelog.gz,cli-json.md.gz} | sort
}
window_files() {
  printf '%s\n' bin/korimet libexec/korimet/korimet-sheet \
    share/applications/korimet.desktop share/mime/packages/korimet-krt.xml \
    share/metainfo/io.korimet.korimet.metainfo.xml \
    share/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/korimet.png \
    share/man/man1/korimet.1.gz share/doc/korimet/{copyright,changelog.gz,README.md.gz} | sort
}
files_under() { (cd "$1" && find . -type f | sed 's|^\./||' | sort); }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" \
  || fail "cmake --install failed: $(cat "$work/install.log")"
diff -u <({ cli_files; window_files; } | sort) <(files_under "$prefix") \
  || fail "the installed tree differs from the expected one (- expected, + installed)"
for component in korimet-cli korimet; do
  cmake --install "$build" --prefix "$work/$component" --component "$component" >/dev/null
done
diff -u <(cli_files) <(files_under "$work/korimet-cli") \
  || fail "the korimet-cli component differs (- expected, + installed)"
diff -u <(window_files) <(files_under "$work/korimet") \
  || fail "the korimet component differs (- expected, + installed)"

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

# The desktop entry, the type, the icon and the AppStream metadata name one another.
desktop=$prefix/share/applications/korimet.desktop
mime_xml=$prefix/share/mime/packages/korimet-krt.xml
metainfo=$prefix/share/metainfo/io.korimet.korimet.metainfo.xml
mime_type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$mime_xml")
[ -n "$mime_type" ] || fail "no mime-type in $mime_xml"
grep -qx "MimeType=$mime_type;" "$desktop" || fail "the desktop entry does not declare $mime_type"
grep -qx 'Exec=korimet %f' "$desktop" || fail "the desktop entry does not pass the file (%f)"
grep -qx 'Icon=korimet' "$desktop" || fail "the desktop entry's icon is not korimet"
grep -q '<glob pattern="\*\.krt"/>' "$mime_xml" || fail "$mime_xml has no *.krt glob"
grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo" \
  || fail "the AppStream metadata does not launch $(basename "$desktop")"
grep -q "<mediatype>$mime_type</mediatype>" "$metainfo" \
  || fail "the AppStream metadata does not provide $mime_type"
for program in korimet korimet-cli; do
  grep -q "<binary>$program</binary>" "$metainfo" || fail "the AppStream metadata lacks $program"
done
grep -q "<release version=\"$version\"" "$metainfo" \
  || fail "the AppStream metadata has no release $version"
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
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --pedantic "$metainfo" >"$work/appstream.log" 2>&1 \
    || fail "appstreamcli validate: $(cat "$work/appstream.log")"
else
  note "appstreamcli not found, $metainfo not validated (scripts/bootstrap installs appstream)"
fi
if command -v update-mime-database >/dev/null; then
  update-mime-database "$prefix/share/mime" 2>"$work/mime.log" \
    || fail "update-mime-database: $(cat "$work/mime.log")"
  grep -q "^[0-9]*:$mime_type:\*\.krt" "$prefix/share/mime/globs2" \
    || fail "the mime database does not map *.krt to $mime_type"
fi

# The installed tool finds its sheet renderer in libexec.
QT_QPA_PLATFORM=offscreen "$prefix/bin/korimet-cli" sheet "$source/tests/data/example.krt" \
  --pdf "$work/sheet.pdf" >"$work/sheet.log" 2>&1 || fail "installed sheet verb: $(cat "$work/sheet.log")"
[ -s "$work/sheet.pdf" ] || fail "installed sheet verb wrote no PDF"

# The tool's package alone: every verb but sheet works, and sheet says which package it needs,
# in the run's language.
[ "$("$work/korimet-cli/bin/korimet-cli" --version)" = "korimet-cli $version" ] \
  || fail "korimet-cli alone: --version"
while IFS='|' read -r lang names_package; do
  status=0
  env -u LC_ALL -u LC_MESSAGES LANG="$lang" "$work/korimet-cli/bin/korimet-cli" sheet \
    "$source/tests/data/example.krt" --pdf "$work/alone.pdf" 2>"$work/alone.log" || status=$?
  said=$(cat "$work/alone.log")
  [ "$status" = 2 ] || fail "korimet-cli alone, sheet in $lang: exit $status, not 2: $said"
  [ ! -e "$work/alone.pdf" ] || fail "korimet-cli alone, sheet in $lang wrote a PDF"
  [[ "$said" == *"$work/korimet-cli/libexec/korimet/korimet-sheet"* ]] \
    || fail "korimet-cli alone, sheet in $lang does not name where the renderer goes: $said"
  [[ "$said" == *"$names_package"* ]] \
    || fail "korimet-cli alone, sheet in $lang does not name the package: $said"
done <<'MESSAGES'
C.UTF-8|comes with the package korimet
ja_JP.UTF-8|korimet パッケージに含まれています
MESSAGES

# Man pages: gzipped with no name or time in the header, the version, the exit status, and
# for the tool a section per verb with each of its options from the verb's own --help.
gzip_header_clean() { # no FNAME flag, MTIME zero, maximum compression
  [ "$(od -An -tu1 -j3 -N1 "$1" | tr -d ' ')" -lt 8 ] \
    && [ "$(od -An -tu4 -j4 -N4 "$1" | tr -d ' ')" = 0 ] \
    && [ "$(od -An -tu1 -j8 -N1 "$1" | tr -d ' ')" = 2 ]
}
commit_month=
if git -C "$source" rev-parse --git-dir >/dev/null 2>&1; then
  commit_month=$(LC_ALL=C git -C "$source" log -1 --format=%cd --date=format:'%B %Y')
fi
for program in korimet korimet-cli; do
  gz=$prefix/share/man/man1/$program.1.gz
  gzip_header_clean "$gz" || fail "$gz is not gzip -9n"
  page=$work/$program.1
  gzip -dc "$gz" >"$page"
  grep -q "^\.TH ${program^^} \"1\"" "$page" || fail "$page has no .TH header"
  grep -q "$program $version" "$page" || fail "$page does not name version $version"
  grep -q '^\.SH "\?EXIT STATUS' "$page" || fail "$page has no EXIT STATUS"
done
# A page is dated SOURCE_DATE_EPOCH or else by the last commit, never by the day it is made.
man_page_month() {
  python3 "$source/packaging/man_page.py" --help2man "$(command -v help2man)" \
    --program "$prefix/bin/korimet" --name test --source "$source" --output "$work/dated.1.gz"
  gzip -dc "$work/dated.1.gz" | sed -n 's/^\.TH [^"]*"1" "\([^"]*\)".*/\1/p'
}
if command -v help2man >/dev/null && command -v python3 >/dev/null; then
  [ "$(SOURCE_DATE_EPOCH=86400 man_page_month)" = "January 1970" ] \
    || fail "a man page made with SOURCE_DATE_EPOCH is not dated by it"
  if [ -n "$commit_month" ]; then
    [ "$(unset SOURCE_DATE_EPOCH; man_page_month)" = "$commit_month" ] \
      || fail "a man page made without SOURCE_DATE_EPOCH is not dated $commit_month"
  fi
fi
cli=$prefix/bin/korimet-cli
verbs=$(english "$cli" --help | sed -n '/^Verbs:$/,/^$/p' | awk '/^  [^ ]/ { print $1 }')
[ -n "$verbs" ] || fail "korimet-cli --help lists no verbs"
long_options() { english "$cli" "$1" --help | grep -oE '^  (-[a-z],)?--[a-z-]+' | grep -oE -- '--[a-z-]+'; }
for verb in $verbs; do
  grep -q "^\.SS \"korimet-cli $verb " "$work/korimet-cli.1" \
    || fail "korimet-cli.1 has no section for $verb"
  for option in $(long_options "$verb" | grep -vx -- --help); do
    sed -n "/^\.SS \"korimet-cli $verb /,/^\.S[SH]/p" "$work/korimet-cli.1" \
      | grep -q "^\\\\fB${option//-/\\\\-}\\\\fR" \
      || fail "korimet-cli.1 lacks $option under $verb"
  done
done

# Completion: the verbs, each verb's options, and .krt runs as arguments.
complete_line() { # words of a command line, the last one being completed
  (cd "$work/runs" && bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
    _korimet_cli; printf "%s\n" "${COMPREPLY[@]}"' bash \
    "$prefix/share/bash-completion/completions/korimet-cli" "$@")
}
mkdir -p "$work/runs/2026-05-17"
touch "$work/runs/a.krt" "$work/runs/notes.txt"
offered=$(complete_line korimet-cli '')
for verb in $verbs; do
  grep -qx "$verb" <<<"$offered" || fail "completion does not offer the verb $verb"
done
for verb in $verbs; do
  offered=$(complete_line korimet-cli "$verb" --)
  for option in $(long_options "$verb"); do
    grep -qx -- "$option" <<<"$offered" || fail "completion does not offer $option for $verb"
  done
done
offered=$(complete_line korimet-cli show '')
grep -qx a.krt <<<"$offered" || fail "completion does not offer a .krt file: $offered"
grep -qx 2026-05-17 <<<"$offered" || fail "completion does not offer a folder: $offered"
grep -qx notes.txt <<<"$offered" && fail "completion offers a file that is no run: $offered"
offered=$(complete_line korimet-cli listen C)
grep -qx COM1 <<<"$offered" || fail "completion does not offer COM1 to listen: $offered"

# Each package's documents: a machine-readable copyright and the changelog at this version.
for package in korimet-cli korimet; do
  doc=$prefix/share/doc/$package
  head -1 "$doc/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    || fail "$doc/copyright is not machine-readable"
  grep -qx 'License: GPL-3+' "$doc/copyright" || fail "$doc/copyright names no GPL-3+"
  gzip_header_clean "$doc/changelog.gz" || fail "$doc/changelog.gz is not gzip -9n"
  if command -v dpkg-parsechangelog >/dev/null; then
    gzip -dc "$doc/changelog.gz" >"$work/changelog"
    [ "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" = "$version" ] \
      || fail "the changelog's last entry is not $version"
  fi
done

# The emulator is a component of its own, installed only on request.
if [ -x "$build/emulator/korimet-timer-emulator" ]; then
  cmake --install "$build" --prefix "$work/emulator" --component emulator >/dev/null
  [ "$(cd "$work/emulator" && find . -type f)" = ./bin/korimet-timer-emulator ] \
    || fail "the emulator component holds more or less than the emulator"
fi

# The Debian packages.
if ! command -v dpkg-deb >/dev/null || ! command -v dpkg-shlibdeps >/dev/null; then
  note "dpkg-deb or dpkg-shlibdeps not found, no Debian package built"
  exit 0
fi
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >cpack.log 2>&1) \
  || fail "cpack -G DEB failed: $(cat "$work/cpack.log")"
arch=$(dpkg --print-architecture)
for package in korimet-cli korimet; do
  deb=$work/pkg/${package}_${version}_$arch.deb
  [ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$work/pkg")"
  field() { dpkg-deb -f "$deb" "$1"; }
  [ "$(field Package)" = "$package" ] || fail "Package: $(field Package)"
  [ "$(field Version)" = "$version" ] || fail "$package Version: $(field Version)"
  [ "$(field Section)" = utils ] || fail "$package Section: $(field Section)"
  [[ "$(field Maintainer)" =~ ^.+\ \<.+@.+\>$ ]] || fail "$package Maintainer: $(field Maintainer)"
  [ -n "$(field Description)" ] || fail "$package has no Description"
  long=$(field Description | awk 'length > 80')
  [ -z "$long" ] || fail "$package Description has lines over 80 columns: $long"
  files=${package#korimet-}
  [ "$files" = korimet ] && files=window
  diff -u <("${files}_files" | sed 's|^|./usr/|') \
    <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort) \
    || fail "the files of $package differ from its component (- expected, + packaged)"
  note "$(basename "$deb"): $(stat -c %s "$deb") bytes, Depends: $(field Depends)"
done

# Packed again, they are the same bytes: the files are stamped with SOURCE_DATE_EPOCH or,
# without it, the last commit's time.
if [ -n "$commit_month" ] || [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
  (cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/again" >/dev/null 2>&1) \
    || fail "cpack -G DEB failed the second time"
  for package in korimet-cli korimet; do
    cmp "$work/pkg/${package}_${version}_$arch.deb" "$work/again/${package}_${version}_$arch.deb" \
      || fail "two packings of $package differ"
  done
fi

deb=$work/pkg/korimet-cli_${version}_$arch.deb
cli_depends=$(dpkg-deb -f "$deb" Depends)
[[ "$cli_depends" == *libqt6core6* ]] || fail "korimet-cli Depends lacks libqt6core6: $cli_depends"
# A laptop at the track runs listen without any display library. The pit view's server
# brings the WebSockets module's ABI name (qt6-websockets-abi), which is no display library.
gui=$(tr ',|' '\n\n' <<<"$cli_depends" | awk '{ print $1 }' \
  | grep -E '^(libqt6(gui|widgets|printsupport|opengl|dbus|xcb)|libqcustomplot|libx|libgl|libegl|libopengl|libwayland|libfontconfig|libfreetype|libxkb|fonts-|qt6-)' \
  | grep -v -E '^qt6-[a-z0-9]+-abi$' || true)
[ -z "$gui" ] || fail "korimet-cli depends on GUI packages: $gui"

deb=$work/pkg/korimet_${version}_$arch.deb
depends=$(dpkg-deb -f "$deb" Depends)
for needed in "korimet-cli (= $version)" 'fonts-ipafont-gothic | fonts-noto-cjk' libqt6widgets6 \
  libqt6serialport6 libqcustomplot libc6; do
  [[ "$depends" == *"$needed"* ]] || fail "korimet Depends lacks $needed: $depends"
done
[[ "$depends" != *qt6-translations-l10n* ]] || fail "korimet Depends on Qt's translations: $depends"
[ "$(dpkg-deb -f "$deb" Recommends)" = qt6-translations-l10n ] \
  || fail "korimet Recommends: $(dpkg-deb -f "$deb" Recommends)"

# What Debian's own checker says of both: no error and no warning; its notes are printed.
if command -v lintian >/dev/null; then
  lintian --fail-on error,warning --info --display-info --tag-display-limit 0 \
    "$work/pkg/"*.deb >"$work/lintian.log" 2>&1 \
    || fail "lintian: $(grep -v 'root privileges' "$work/lintian.log")"
  grep -v 'root privileges' "$work/lintian.log" | sed 's/^/install_tree: lintian: /' || true
else
  note "lintian not found, the packages not checked (scripts/bootstrap installs it)"
fi
