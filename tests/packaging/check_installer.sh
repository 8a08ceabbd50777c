#!/usr/bin/env bash
# The installer's whole life under wine, in a fresh prefix whose user has a Chinese name:
# a silent install (/S) puts the program, its shortcuts, its uninstall entry and the sample
# workbook in place; the program starts from there and exports (tests/ui/real_window.sh);
# the next version's installer runs over it and leaves the workbook byte for byte; the
# silent uninstall removes everything it brought and keeps the clerk's own files: the workbook
# and the bill book the export wrote beside it.
#   tests/packaging/check_installer.sh INSTALLER BUILD_DIR VERSION
# Exit 77 (skipped) when the installer has not been made.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
installer="$(realpath -m "$1")"
build="$(realpath "$2")"
version="$3"
[ -f "$installer" ] || { echo "no installer at $installer: run scripts/package first"; exit 77; }
[ "$(basename "$installer")" = "Verdalon-$version-win64-setup.exe" ] ||
  { echo "the installer is named $(basename "$installer"), not Verdalon-$version-win64-setup.exe"; exit 1; }
# A clerk's PC has the Chinese code page; the run in a Western one has nothing to add.
if [ "${VERDALON_CODE_PAGE:-936}" != 936 ]; then
  echo "the installer is tested with the code page 936 only"; exit 77
fi
source "$root/tests/packaging/fresh_wine_prefix.sh"

folder="$profile/锯材码单"
shortcuts=("$profile/Desktop/锯材码单.lnk"
           "$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/锯材码单.lnk")
workbook="$folder/锯材账单.xls"
book="$folder/锯材账本.db"
fail() { echo "$*"; exit 1; }
# The uninstall entry's value NAME, as 应用和功能 reads it (empty when there is none).
entry() {
  "$root/scripts/wine-run" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Verdalon' \
    /v "$1" </dev/null 2>/dev/null | iconv -f GBK -t UTF-8 | tr -d '\r' |
    sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}

in_prefix "$installer" /S
for file in "$folder/verdalon.exe" "$folder/uninstall.exe" "$folder/样板/锯材账单.xls" \
            "$folder/账本导出样板.xls" \
            "${shortcuts[@]}"; do
  [ -f "$file" ] || fail "the installation left no $file"
done
cmp -s "$workbook" "$root/templates/锯材账单.xls" || fail "the first installation put no sample workbook in place"
[ "$(entry DisplayVersion)" = "$version" ] || fail "the uninstall entry has version '$(entry DisplayVersion)', not $version"
[ "$(entry DisplayName)" = "锯材码单" ] || fail "the uninstall entry is named '$(entry DisplayName)'"
[ "$(entry InstallLocation)" = 'C:\users\张三\锯材码单' ] || fail "the uninstall entry points at '$(entry InstallLocation)'"
for value in DisplayIcon Publisher UninstallString EstimatedSize; do
  [ -n "$(entry $value)" ] || fail "the uninstall entry has no $value"
done

"$root/tests/ui/real_window.sh" --in-place "$folder"
WINEPREFIX="$prefix" wineserver -w
exported="$(sha256sum <"$workbook")"
[ -f "$book" ] || fail "the export recorded no bill in $book"
recorded="$(sha256sum <"$book")"
cmp -s "$workbook" "$root/templates/锯材账单.xls" && fail "the export did not change the workbook"

# The next version: the same build, a later number.
next="${version%%.*}.$(printf '%02d' $((10#${version#*.} + 1)))"
cmake -DBUILD="$build" -DVERSION="$next" -DOUTPUT="$work/Verdalon-$next-win64-setup.exe" \
      -P "$root/cmake/windows_installer.cmake" >/dev/null
touch -d '2000-01-01' "$folder/verdalon.exe"
in_prefix "$work/Verdalon-$next-win64-setup.exe" /S
[ "$(entry DisplayVersion)" = "$next" ] || fail "the upgrade left the version at '$(entry DisplayVersion)', not $next"
[ "$(stat -c %Y "$folder/verdalon.exe")" -gt "$(date -d 2000-01-02 +%s)" ] || fail "the upgrade did not replace verdalon.exe"
[ "$(sha256sum <"$workbook")" = "$exported" ] || fail "the upgrade changed the workbook"
[ "$(sha256sum <"$book")" = "$recorded" ] || fail "the upgrade changed the bill book"

in_prefix "$folder/uninstall.exe" /S
[ "$(sha256sum <"$workbook")" = "$exported" ] || fail "the uninstaller changed the workbook"
[ "$(sha256sum <"$book")" = "$recorded" ] || fail "the uninstaller changed the bill book"
# The book's daily copies (账本备份) are the clerk's too, when the program ran long enough
# after its export to make one.
left="$(cd "$folder" && find . -mindepth 1 -not -path './账本备份*' | sed 's|^\./||' |
        LC_ALL=C sort | tr '\n' ' ')"
if [ -d "$folder/账本备份" ]; then
  strays="$(cd "$folder/账本备份" && find . -mindepth 1 -not -name '锯材账本-*.db')"
  [ -z "$strays" ] || fail "the uninstaller left more than the book's copies in 账本备份:" $strays
fi
[ "$left" = "锯材账单.xls 锯材账本.db " ] ||
  fail "after uninstalling, the folder holds more than the workbook and the bill book:" $left
for file in "${shortcuts[@]}"; do [ ! -e "$file" ] || fail "the uninstaller left $file"; done
[ -z "$(entry DisplayName)" ] || fail "the uninstaller left its entry"
echo "installed, exported, upgraded and uninstalled; the workbook and the bill book stayed as the export left them"
