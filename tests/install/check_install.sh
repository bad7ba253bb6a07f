#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what lands there, then
# builds the Debian package from it and checks its files and dependencies:
# check_install.sh BUILD_DIR
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
  share/applications/cadenzo.desktop
  share/icons/hicolor/scalable/apps/cadenzo.svg
  share/doc/cadenzo/README.md
  share/doc/cadenzo/docs/zone_map.png
)

cmake --install "$build" --prefix "$work/prefix" >/dev/null
for f in "${files[@]}"; do
  [ -f "$work/prefix/$f" ] || fail "the install lacks $f"
done
desktop-file-validate "$work/prefix/share/applications/cadenzo.desktop" || fail "the desktop entry is not valid"
version=$("$work/prefix/bin/cadenzo" --version) || fail "the installed program does not run"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null
deb=("$work"/package/*.deb)
[ -f "${deb[0]}" ] || fail "no Debian package was made"
[ "cadenzo $(dpkg-deb -f "${deb[0]}" Version)" = "$version-1" ] || fail "package version is not the program's ($version)"
listing=$(dpkg-deb -c "${deb[0]}")
for f in "${files[@]}"; do
  grep -q " \./usr/$f\$" <<<"$listing" || fail "the package lacks /usr/$f"
done
depends=$(dpkg-deb -f "${deb[0]}" Depends)
for library in libqt6widgets6 librtmidi6 libjack libjpeg62-turbo; do
  grep -q "$library" <<<"$depends" || fail "the package does not depend on $library: $depends"
done
echo "installed: ${files[*]}; package $(basename "${deb[0]}") depends on: $depends"
