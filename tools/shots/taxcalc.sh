#!/usr/bin/env bash
# Screenshots of the tax calculator for docs/taxcalc.md: the main dialog,
# both income dialogs, the three values dialogs and the results.
#
# Runs inside a Wine session (DISPLAY and WINEPREFIX set), for example:
#   cmake --preset win64 && cmake --build --preset win64 -j2
#   (source tools/wine-session; ql_wine_session_start build/win64/wineprefix; tools/shots/taxcalc.sh)
#
# qlhost calc --tour drives the calculator and stops at each window; this
# script photographs the screen, crops the window out and tells qlhost to
# go on.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
bin=${1:-$root/build/win64/bin}
out=$root/docs/images
: "${DISPLAY:?run inside a Wine session}"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
windir=$(winepath -w "$work")

wine "$bin/qlhost.exe" calc --tour "$windir" | while read -r word name x y w h; do
  h=${h%$'\r'}
  [ "$word" = SHOT ] || { echo "$word $name $x $y $w $h"; continue; }
  import -display "$DISPLAY" -window root "$work/screen.png"
  convert "$work/screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$out/$name.png"
  echo "saved docs/images/$name.png"
  touch "$work/$name.done"
done
