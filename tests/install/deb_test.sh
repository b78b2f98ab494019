#!/usr/bin/env bash
# The Debian package: built with cpack, unpacked into an empty root with `dpkg -x` (no
# maintainer scripts to run), every library the program links comes from a package it depends
# on, and the unpacked program runs from that root with its own data.
set -euo pipefail
build=$1 version=$2
. "$(dirname "$0")/runinstalled.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null)
deb=$(ls "$work"/package/tarvesh_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
dpkg-deb -x "$deb" "$work/root"

program=$work/root/usr/bin/tarvesh
module=$(find "$work/root/usr/lib" -name 'libtarvesh_audio.so')
[ -n "$module" ] || fail "the sound module is not in the package"
for file in "$program" "$module"; do
  missing=$(ldd "$file" | grep "not found" || true)
  [ -z "$missing" ] || fail "libraries of $(basename "$file") not found: $missing"
  for library in $(readelf -d "$file" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p'); do
    owners=$(dpkg -S "*/$library" 2>/dev/null | cut -d: -f1 | sort -u)
    [ -n "$owners" ] || fail "no package holds $library"
    found=
    for owner in $owners; do
      [[ ", $depends," == *", $owner "* || ", $depends," == *", $owner,"* ]] && found=1
    done
    [ -n "$found" ] || fail "$library comes from $owners, which the package does not depend on"
  done
done
run_installed "$work/root" "$version"
echo "$(basename "$deb") unpacked and ran"
