#!/usr/bin/env bash
# `cmake --install` into a temporary prefix: the program, its data, desktop entry, icons and
# documentation land in the FHS places, and the installed program runs with its installed data.
set -euo pipefail
build=$1 version=$2
. "$(dirname "$0")/runinstalled.sh"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cmake --install "$build" --prefix "$root/usr" >/dev/null

for file in bin/tarvesh share/tarvesh/picmode.bmp share/tarvesh/picmode2.bmp \
  share/tarvesh/s/arc.bmp share/tarvesh/s/cursor.png share/tarvesh/sound/kac.wav \
  share/tarvesh/wn/0.gif share/tarvesh/speed.txt share/tarvesh/explin.txt \
  share/applications/tarvesh.desktop share/icons/hicolor/scalable/apps/tarvesh.svg \
  share/doc/tarvesh/README.md; do
  [ -s "$root/usr/$file" ] || fail "$file is not installed"
done
for size in 16 32 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/tarvesh.png
  [ -s "$icon" ] || fail "no ${size} px icon"
  file "$icon" | grep -q "PNG image data, $size x $size" || fail "the ${size} px icon is $(file -b "$icon")"
done
# The sound libraries are the module's, loaded when something first sounds, never the program's.
[ -n "$(find "$root/usr/lib" -path '*/tarvesh/libtarvesh_audio.so')" ] || fail "the sound module is not installed"
if readelf -d "$root/usr/bin/tarvesh" | grep -E -q 'Multimedia|fluidsynth'; then
  fail "the program links the sound libraries itself"
fi
desktop-file-validate "$root/usr/share/applications/tarvesh.desktop"
grep -qx 'Name\[zh\]=简谱排版' "$root/usr/share/applications/tarvesh.desktop" ||
  fail "the desktop entry has no Chinese name"

run_installed "$root" "$version"
# The data folder is the installed one: without it the program says which file is missing.
mv "$root/usr/share/tarvesh" "$root/usr/share/elsewhere"
if message=$("$root/usr/bin/tarvesh" --script /dev/null 2>&1); then fail "ran without its data"; fi
grep -q "share/tarvesh/picmode.bmp" <<<"$message" || fail "the message was: $message"
echo "installed and ran from $root/usr"
