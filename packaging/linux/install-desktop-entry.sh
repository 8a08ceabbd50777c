#!/bin/sh
# Puts Verdalon into the desktop's application menu for this user, starting the program in
# this folder (where its workbook lies). Run it again after moving the folder.
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
data="${XDG_DATA_HOME:-$HOME/.local/share}"
mkdir -p "$data/applications" "$data/icons/hicolor/48x48/apps"
cp "$here/verdalon.png" "$data/icons/hicolor/48x48/apps/verdalon.png"
# The folder goes into Exec quoted as desktop entries want: \ " ` $ escaped inside quotes,
# and every backslash doubled once more for the entry's string syntax.
quoted="$(printf '%s/verdalon' "$here" | sed -e 's/[\\"`$]/\\&/g' -e 's/\\/\\\\/g')"
entry="$data/applications/verdalon.desktop"
sed -e '/^Exec=/d' -e '/^#/d' "$here/verdalon.desktop" >"$entry"
printf 'Exec="%s"\n' "$quoted" >>"$entry"
echo "Verdalon is in the application menu; it starts $here/verdalon"
