# Sourced by the installer's scripts: a wine prefix of its own in a fresh folder ($work), as
# on a clerk's PC: the Chinese code page and a user with a Chinese name, whose profile
# folder ($profile) the installer writes into. Wine takes the user's name from USER on every
# start, so it stays set; HOME keeps the folders wine links the profile's desktop to inside
# $work, and wine's menu builder, which would turn shortcuts into Linux menu entries, is off.
# All of it is gone at the end. Needs $root (the repository).
work="$(mktemp -d)"
export VERDALON_WINE_FOLDER="$work/wine" VERDALON_CODE_PAGE=936
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export USER=张三 LOGNAME=张三 HOME="$work/home"
mkdir "$HOME"
prefix="$VERDALON_WINE_FOLDER/cp936"
profile="$prefix/drive_c/users/$USER"
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

# Runs a Windows program in the prefix and waits until every program it started has ended
# (an uninstaller hands over to a copy of itself in the temporary folder and returns).
in_prefix() {
  "$root/scripts/wine-run" "$@" </dev/null
  WINEPREFIX="$prefix" wineserver -w
}
in_prefix cmd /c exit >/dev/null 2>&1
[ -d "$profile" ] || { echo "the prefix has no profile folder for $USER"; exit 1; }
