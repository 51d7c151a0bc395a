#!/usr/bin/env bash
# The installed tree and the Debian package: `cmake --install` into a scratch prefix and
# `cpack -G DEB` from the same build must hold the programs, the data files, the desktop
# entry, the icon and the street file type, and the installed renderer must run from
# where it was put, finding its data files there without being told.
#   check-install.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$(cd "$1" && pwd) source=$(cd "$2" && pwd) version=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0 skipped=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# A check this machine cannot make (a tool missing): said and counted, and the run ends as
# a skip (status 77) rather than a pass; on CI (CI=true) and under scripts/test
# (VELLMAR_STRICT_TESTS=1) every tool is installed, so there it fails.
cannot_check() {
  if [ "${CI:-}" = true ] || [ "${VELLMAR_STRICT_TESTS:-}" = 1 ]; then
    fail "$* (required under CI=true or VELLMAR_STRICT_TESTS=1)"
  else
    echo "SKIP: $*"
    skipped=$((skipped + 1))
  fi
}

expected=(
  usr/bin/vellmar usr/bin/vellmar-render usr/bin/vellmar-hub usr/bin/vellmar-info usr/bin/vellmar-export
  "usr/share/vellmar/DataFiles/Разметка"
  usr/share/applications/vellmar.desktop
  usr/share/icons/hicolor/scalable/apps/vellmar.svg
  usr/share/icons/hicolor/scalable/mimetypes/application-x-vellmar-street.svg
  usr/share/mime/packages/vellmar-street.xml
)

check_tree() {  # ROOT WHAT
  local root=$1 what=$2
  for path in "${expected[@]}"; do
    [ -e "$root/$path" ] || fail "$what lacks $path"
  done
  local shown
  shown=$(env -u VELLMAR_DATA "$root/usr/bin/vellmar-render" --version) || fail "$what: vellmar-render --version failed"
  [ "$shown" = "vellmar-render $version" ] || fail "$what: vellmar-render --version said '$shown'"
  # Run from elsewhere, with no data variable: the data files come from ../share/vellmar.
  (cd "$scratch" && env -u VELLMAR_DATA "$root/usr/bin/vellmar-render" --strict "$source/examples/small.pln" \
      -o "$scratch/$what.png" >/dev/null) || fail "$what: the installed renderer could not draw the small street"
  [ -s "$scratch/$what.png" ] || fail "$what: no picture"
  grep -q '^MimeType=application/x-vellmar-street;$' "$root/usr/share/applications/vellmar.desktop" ||
    fail "$what: the desktop entry does not open street files"
  # The file type as the system's database compiles it: *.pln is a street.
  if command -v update-mime-database >/dev/null; then
    update-mime-database "$root/usr/share/mime" >/dev/null 2>&1 || fail "$what: the type file does not compile"
    grep -q '^50:application/x-vellmar-street:\*\.pln$' "$root/usr/share/mime/globs2" ||
      fail "$what: *.pln is not a street file"
  else
    cannot_check "$what: the file type was not compiled (update-mime-database, Debian package shared-mime-info)"
  fi
}

cmake --install "$build" --prefix "$scratch/installed/usr" >/dev/null
check_tree "$scratch/installed" installed

if command -v dpkg-deb >/dev/null; then
  (cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/package" >/dev/null)
  deb=$(ls "$scratch"/package/vellmar_"$version"_*.deb)
  listing=$(dpkg-deb -c "$deb")
  for path in "${expected[@]}"; do
    grep -qF "./$path" <<<"$listing" || fail "the package lacks $path"
  done
  dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "the package does not depend on Qt"
  dpkg-deb -x "$deb" "$scratch/unpacked"
  check_tree "$scratch/unpacked" package
else
  cannot_check "the Debian package was not built (dpkg-deb, Debian package dpkg)"
fi

if [ "$failures" -ne 0 ]; then exit 1; fi
if [ "$skipped" -ne 0 ]; then exit 77; fi
echo "install and package: all present, the installed renderer runs"
