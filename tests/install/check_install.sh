#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what lands there (the
# desktop and software-centre entries valid, the manual page free of
# warnings and naming every option --help names), then builds the Debian
# package from it and checks its files, its dependencies and lintian's word
# on it: check_install.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

files=(
  bin/cadenzo
  share/man/man1/cadenzo.1.gz
  share/applications/org.example.cadenzo.desktop
  share/metainfo/cadenzo.metainfo.xml
  share/icons/hicolor/scalable/apps/cadenzo.svg
  share/doc/cadenzo/README.md
  share/doc/cadenzo/copyright
  share/doc/cadenzo/docs/zone_map.png
)

cmake --install "$build" --prefix "$work/prefix" >/dev/null
for f in "${files[@]}"; do
  [ -f "$work/prefix/$f" ] || fail "the install lacks $f"
done
desktop-file-validate "$work/prefix/share/applications/org.example.cadenzo.desktop" || fail "the desktop entry is not valid"
appstreamcli validate --no-net "$work/prefix/share/metainfo/cadenzo.metainfo.xml" >"$work/appstream" ||
  fail "the software-centre entry is not valid: $(cat "$work/appstream")"
version=$("$work/prefix/bin/cadenzo" --version) || fail "the installed program does not run"

page=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -P cat -l "$work/prefix/share/man/man1/cadenzo.1.gz" 2>"$work/man-warnings") ||
  fail "man cannot show the manual page"
[ ! -s "$work/man-warnings" ] || fail "man warns about the manual page: $(cat "$work/man-warnings")"
for option in $("$work/prefix/bin/cadenzo" --help | grep -o -- ' --[a-z-]*'); do
  grep -q -- "$option" <<<"$page" || fail "the manual page lacks $option, which --help names"
done

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null
deb=("$work"/package/*.deb)
[ -f "${deb[0]}" ] || fail "no Debian package was made"
[ "cadenzo $(dpkg-deb -f "${deb[0]}" Version)" = "$version-1" ] || fail "package version is not the program's ($version)"
listing=$(dpkg-deb -c "${deb[0]}")
for f in "${files[@]}"; do
  grep -q " \./usr/$f\$" <<<"$listing" || fail "the package lacks /usr/$f"
done
depends=$(dpkg-deb -f "${deb[0]}" Depends)
for library in libqt6widgets6 libasound2 libjack libjpeg62-turbo; do
  grep -q "$library" <<<"$depends" || fail "the package does not depend on $library: $depends"
done
for f in share/doc/cadenzo/changelog.Debian.gz share/lintian/overrides/cadenzo; do
  grep -q " \./usr/$f\$" <<<"$listing" || fail "the package lacks /usr/$f"
done
lintian --fail-on error,warning "${deb[0]}" >"$work/lintian" 2>&1 ||
  fail "lintian finds errors or warnings in the package: $(cat "$work/lintian")"
echo "installed: ${files[*]}; package $(basename "${deb[0]}") depends on: $depends"
