#!/usr/bin/env bash
# Unpacks a Verdalon package in a fresh folder and checks what it holds: the program and
# what it needs, and the sample workbook only in 样板, never beside the program, where
# unpacking a newer package over the old folder would replace the clerk's workbook. Then
# starts it as 使用说明.txt says (the sample copied beside the program): the real window
# shows, a tally is exported into the workbook (tests/ui/real_window.sh). Last, the package
# is unpacked over that folder as an upgrade is, and the workbook must stay byte for byte.
#   tests/packaging/check_package.sh ARCHIVE VERSION
# Exit 77 (skipped) when the archive has not been made.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
archive="$(realpath -m "$1")"
[ -f "$archive" ] || { echo "no package at $archive: run scripts/package first"; exit 77; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
unpack() {
  mkdir "$work/$1"
  (cd "$work/$1" && cmake -E tar xf "$archive")
  find "$work/$1" -mindepth 1 -maxdepth 1 -type d
}
folder="$(unpack unpacked)"
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
    expected="样板/锯材账单.xls 账本导出样板.xls 使用说明.txt verdalon.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll
              libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll
              platforms/qwindows.dll styles/qwindowsvistastyle.dll"
    # Printing brings Qt's print support along, where the program uses it.
    if grep -q 'Qt6PrintSupport' "$folder/verdalon.exe"; then expected+=" Qt6PrintSupport.dll"; fi ;;
  *linux-x86_64.tar.gz)
    expected="样板/锯材账单.xls 账本导出样板.xls verdalon verdalon.desktop verdalon.png install-desktop-entry.sh README.txt" ;;
  *) echo "unknown package $name"; exit 1 ;;
esac
printf '%s\n' $expected | LC_ALL=C sort >"$work/expected"
if ! diff -u "$work/expected" "$work/files"; then
  echo "the package holds other files than it should (- missing, + extra)"
  exit 1
fi

# The first start: the sample beside the program, then the window and an export.
cp "$folder/样板/锯材账单.xls" "$folder/"
"$root/tests/ui/real_window.sh" --in-place "$folder"
used="$(sha256sum <"$folder/锯材账单.xls")"
[ "$used" != "$(sha256sum <"$folder/样板/锯材账单.xls")" ] ||
  { echo "the export did not change the workbook"; exit 1; }

# The upgrade: the new package's files copied over the old folder, every one replaced.
cp -a "$(unpack upgrade)/." "$folder/"
[ "$(sha256sum <"$folder/锯材账单.xls")" = "$used" ] ||
  { echo "unpacking the package over the folder changed the workbook"; exit 1; }
echo "the workbook is what the export left, after unpacking the package over it"
