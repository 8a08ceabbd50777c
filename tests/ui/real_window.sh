#!/usr/bin/env bash
# Starts the real program on a virtual display, beside a copy of the sample workbook, the
# way a user would: the Windows build's verdalon.exe under wine when BIN_DIR holds one,
# else the Linux build's verdalon. Waits for its 688 × 504 window, types one tally line with
# xdotool, types a buyer and turns the mouse wheel over the closed buyer box (which must not
# change it), clicks 导出表格, answers the messages, and checks the saved workbook with xlrd.
# Prints the time to the shown window and from the click to the saved workbook.
#   tests/ui/real_window.sh BIN_DIR [SCREENSHOT.png]
# With --in-place, the program installed or unpacked in FOLDER runs there, with the
# workbook that lies beside it:
#   tests/ui/real_window.sh --in-place FOLDER
# Exit 77 (skipped) without Xvfb, xdotool or python3-xlrd.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
in_place=""
if [ "$1" = --in-place ]; then
  in_place="$(realpath "$2")"
  set -- "$in_place"
fi
bin="$(realpath "$1")"
screenshot="${2:+$(realpath -m "$2")}"
for tool in xvfb-run xdotool import; do
  command -v "$tool" >/dev/null || { echo "$tool is missing"; exit 77; }
done
/usr/bin/python3 -c "import xlrd" 2>/dev/null || { echo "python3-xlrd is missing"; exit 77; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
folder="$work/收银台 Verdalon"  # a Chinese folder name with a blank, as users make them
if [ -n "$in_place" ]; then
  folder="$in_place"
else
  mkdir "$folder"
  if [ -f "$bin/verdalon.exe" ]; then
    cp "$bin"/verdalon.exe "$bin"/*.dll "$folder/"
    cp -r "$bin/platforms" "$bin/styles" "$folder/"
    rm -f "$folder/platforms/qoffscreen.dll"
  else
    cp "$bin/verdalon" "$folder/"
  fi
  cp "$root/templates/锯材账单.xls" "$folder/"
fi
if [ -f "$folder/verdalon.exe" ]; then
  start=("$root/scripts/wine-run" "$folder/verdalon.exe")
else
  start=("$folder/verdalon")
  # Its lock in a folder of its own, so no other copy stands in the way.
  export XDG_RUNTIME_DIR="$work"
fi

export WORK="$work" FOLDER="$folder" SCREENSHOT="$screenshot"
xvfb-run -a -s "-screen 0 1024x768x24" bash -euo pipefail -c '
  now() { date +%s%N; }
  started=$(now)
  "$@" >"$WORK/output" 2>&1 &
  program=$!
  trap "kill -9 $program 2>/dev/null || true" EXIT
  window=""
  for _ in $(seq 600); do
    for candidate in $(xdotool search --name "^Verdalon$" 2>/dev/null); do
      if xdotool getwindowgeometry "$candidate" | grep -q "Geometry: 688x504"; then
        window=$candidate
      fi
    done
    [ -n "$window" ] && break
    kill -0 $program 2>/dev/null || { echo "the program ended"; cat "$WORK/output"; exit 1; }
    sleep 0.1
  done
  [ -n "$window" ] || { echo "no 688x504 window named Verdalon"; exit 1; }
  shown=$(now)
  echo "start-up to window shown: $(( (shown - started) / 1000000 )) ms"

  # Focus starts in the first length box; Enter moves along the line.
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  sleep 1
  # Each key is let through before the next: a loaded machine (or wine) must not see Enter
  # overtake the digits typed before it.
  xdotool type --delay 60 "4"
  for text in 200 50 1 10 1850; do
    sleep 0.3
    xdotool key Return
    sleep 0.3
    xdotool type --delay 60 "$text"
  done
  sleep 1  # two recalculation passes
  if [ -n "$SCREENSHOT" ]; then
    import -window "$window" "$SCREENSHOT"
    echo "screenshot: $SCREENSHOT"
  fi

  # The buyer, typed over the ten blanks, then Tab; the wheel, turned over the closed box on
  # the way back to the buttons, leaves it as typed.
  xdotool mousemove --window "$window" 300 44 click 1
  sleep 0.3
  xdotool key ctrl+a
  xdotool type --delay 60 "XinKeHu"
  sleep 0.3
  xdotool key Tab
  sleep 0.3
  for button in 5 5 4 5; do
    xdotool click "$button"
    sleep 0.2
  done

  before=$(stat -c %Y.%N "$FOLDER/锯材账单.xls" 2>/dev/null || echo none)
  clicked=$(now)
  # 导出表格 (Command4), in window coordinates.
  xdotool mousemove --window "$window" 612 222 click 1
  # The reminder first, then perhaps a message that no program opens .xls files under wine.
  saved=""
  for _ in $(seq 300); do
    for box in $(xdotool search --name "^Verdalon$" 2>/dev/null); do
      if [ "$box" != "$window" ] && xdotool getwindowgeometry "$box" | grep -q "Geometry:"; then
        xdotool windowfocus "$box" 2>/dev/null && xdotool key --window "$box" Return 2>/dev/null || true
      fi
    done
    now_stamp=$(stat -c %Y.%N "$FOLDER/锯材账单.xls" 2>/dev/null || echo none)
    if [ "$now_stamp" != "$before" ] && [ -z "$saved" ]; then saved=$(now); break; fi
    sleep 0.1
  done
  [ -n "$saved" ] || { echo "the workbook was not saved"; cat "$WORK/output"; exit 1; }
  echo "export, click to saved workbook: $(( (saved - clicked) / 1000000 )) ms (reminder answered by xdotool)"
' start "${start[@]}"
/usr/bin/python3 - "$folder/锯材账单.xls" <<'PY'
import sys, xlrd
sheet = xlrd.open_workbook(sys.argv[1]).sheet_by_name("码单")
buyer = sheet.cell_value(2, 1)
print("码单 buyer:", repr(buyer))
if buyer != "XinKeHu":
    sys.exit("the saved buyer is not the one typed: the wheel over the closed box changed it")
row = [sheet.cell_value(4, c) for c in range(8)]
print("码单 row 5:", row)
expected = [4, 200, 50, 1, 10, 0.4, 1850, 740]
if [float(v) if v != "" else None for v in row] != expected:
    sys.exit("the saved line differs from what was typed: expected %s" % expected)
PY
echo "the saved workbook holds the typed line"
