#!/bin/sh
# Makes the installer from the release program folder, installs it silently under Wine
# into a fresh folder, checks every file of the program folder and the Start-menu
# entry, uninstalls silently, and checks that the program's files went while the
# user's data folder stayed.
#   installer_test.sh BUILD_DIR DIST_DIR WORK_DIR WINE LNK_INFO_PY CPACK
set -eu
build=$1 dist=$2 work=$3 wine=$4 lnkinfo=$5 cpack=$6
prefix=${WINEPREFIX:-$HOME/.wine}
fail() { echo "FAIL: $*" >&2; exit 1; }
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

rm -rf "$work"
mkdir -p "$work"
"$cpack" --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack could not make the installer"; }
setup=$(ls "$work"/package/quarrane-*-setup.exe)
target=$work/Quarrane

# The user's data, which the uninstaller must leave alone.
data=$prefix/drive_c/ProgramData/Quarrane
planted=""
if [ ! -e "$data/qr.inf" ]; then
  mkdir -p "$data"
  printf '[Application]\r\nVersion = 2.80\r\n' >"$data/qr.inf"
  planted=yes
fi
cleanup() { [ -n "$planted" ] && rm -f "$data/qr.inf" && rmdir "$data" 2>/dev/null; true; }
trap cleanup EXIT

"$wine" "$setup" /S "/D=$(winpath "$target")" || fail "the silent install failed"
count=0
for file in "$dist"/*; do
  name=$(basename "$file")
  cmp -s "$file" "$target/$name" || fail "$name was not installed as it is in $dist"
  count=$((count + 1))
done
[ "$count" -ge 2 ] || fail "the program folder $dist holds only $count files"
[ -f "$target/Uninstall.exe" ] || fail "no uninstaller"

link=$(find "$prefix/drive_c" -path '*Start Menu*' -name Quarrane.lnk | head -n 1)
[ -n "$link" ] || fail "no Start-menu entry Quarrane.lnk"
folder=$(python3 "$lnkinfo" "$link")
[ "$folder" = "$(winpath "$target")" ] ||
  fail "the Start-menu entry starts in '$folder', not in the installation folder"

"$wine" "$target/Uninstall.exe" /S "_?=$(winpath "$target")" || fail "the silent uninstall failed"
for file in "$dist"/*; do
  name=$(basename "$file")
  [ ! -e "$target/$name" ] || fail "$name is still there after the uninstall"
done
[ ! -e "$link" ] || fail "the Start-menu entry is still there after the uninstall"
[ -f "$data/qr.inf" ] || fail "the uninstall removed the user's data folder"
echo "installed and uninstalled $count files"
