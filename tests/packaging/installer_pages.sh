#!/usr/bin/env bash
# Goes through the pages of the installer and of its uninstaller under wine, in a fresh
# prefix on a virtual display, and puts a picture of every page into one image:
#   tests/packaging/installer_pages.sh INSTALLER OUT.png
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
installer="$(realpath "$1")"
out="$(realpath -m "$2")"
if [ -z "${VERDALON_PAGES_DISPLAY:-}" ]; then
  exec env VERDALON_PAGES_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
source "$root/tests/packaging/fresh_wine_prefix.sh"

folder="$profile/锯材码单"
shots=()
# Waits until the test holds: the page that follows a step shows once the step is done.
await() {
  for _ in $(seq 600); do test "$@" && return; sleep 0.2; done
  echo "gave up waiting for: test $*"; exit 1
}
# Waits for the wizard's page to settle, takes its picture, then presses KEY (if given).
page() {
  local window=""
  for _ in $(seq 150); do
    window="$(xdotool search --onlyvisible --name '锯材码单' 2>/dev/null | tail -1 || true)"
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "no installer window"; exit 1; }
  sleep 3
  shots+=("$work/page${#shots[@]}.png")
  import -window "$window" "${shots[-1]}"
  if [ -n "${1:-}" ]; then
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    xdotool key "$1"
  fi
}

"$root/scripts/wine-run" "$installer" </dev/null &
page Return  # welcome
page Return  # the folder, then 安装
await -f "$folder/uninstall.exe"
page         # finished: the folder and the workbook in it
# The finish page would start the program; the installation is complete already.
WINEPREFIX="$prefix" wineserver -k || true
wait || true
"$root/scripts/wine-run" "$folder/uninstall.exe" </dev/null &
page Return  # what goes and what stays
await ! -e "$folder/verdalon.exe"
page         # finished: where the workbook is
montage "${shots[@]}" -tile 3x -geometry +6+6 -background '#d0d0d0' "$out"
echo "pages: $out"
