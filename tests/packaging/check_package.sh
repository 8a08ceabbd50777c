#!/usr/bin/env bash
# Unpacks a Verdalon package in a fresh folder, checks what it holds, and starts the program
# there under a virtual display: it must show its 688 × 504 window, having read the sample
# workbook beside it (a failure would show a small message box instead).
#   tests/packaging/check_package.sh ARCHIVE VERSION
# Exit 77 (skipped) when the archive has not been made.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
archive="$(realpath -m "$1")"
[ -f "$archive" ] || { echo "no package at $archive: run scripts/package first"; exit 77; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$archive")
folder="$(find "$work/unpacked" -mindepth 1 -maxdepth 1 -type d)"
name="$(basename "$archive")"
version="$2"
# The names the README promises, with the program's version in them.
case "$name" in
  "Verdalon-$version-win64.zip" | "Verdalon-$version-linux-x86_64.tar.gz") ;;
  *) echo "the package is named $name, not Verdalon-$version-win64.zip or" \
       "Verdalon-$version-linux-x86_64.tar.gz"; exit 1 ;;
esac
[ "$(basename "$folder")" = "${name%%.tar.gz}" ] || [ "$(basename "$folder")" = "${name%%.zip}" ] ||
  { echo "the archive does not hold one folder named after it"; exit 1; }
(cd "$folder" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) >"$work/files"

case "$name" in
  *win64.zip)
    expected="锯材账单.xls 使用说明.txt verdalon.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll
              libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll
              platforms/qwindows.dll styles/qwindowsvistastyle.dll"
    # Printing brings Qt's print support along, where the program uses it.
    if grep -q 'Qt6PrintSupport' "$folder/verdalon.exe"; then expected+=" Qt6PrintSupport.dll"; fi
    start=("$root/scripts/wine-run" "$folder/verdalon.exe") ;;
  *linux-x86_64.tar.gz)
    expected="锯材账单.xls verdalon verdalon.desktop verdalon.png install-desktop-entry.sh README.txt"
    start=("$folder/verdalon") ;;
  *) echo "unknown package $name"; exit 1 ;;
esac
printf '%s\n' $expected | LC_ALL=C sort >"$work/expected"
if ! diff -u "$work/expected" "$work/files"; then
  echo "the package holds other files than it should (- missing, + extra)"
  exit 1
fi

# A lock folder of its own, so no other copy of the program stands in the way.
mkdir "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime" TEMP="$work/runtime" TMP="$work/runtime"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$@" >"'"$work"'/output" 2>&1 &
  program=$!
  for _ in $(seq 120); do
    for window in $(xdotool search --name "^Verdalon$" 2>/dev/null); do
      if xdotool getwindowgeometry "$window" | grep -q "Geometry: 688x504"; then
        echo "the window is shown"; kill -9 $program; exit 0
      fi
    done
    kill -0 $program 2>/dev/null || { echo "the program ended"; exit 1; }
    sleep 1
  done
  echo "no 688x504 window named Verdalon within two minutes"; kill -9 $program; exit 1
' start "${start[@]}" || { cat "$work/output"; exit 1; }
