#!/usr/bin/env bash
# Screenshots of the library's windows under Xvfb: the progress bar, a
# missing-font warning and the three pickers, each shown by qlhost.
#   tools/shots/windows.sh [OUTDIR]      (default docs/images)
# Builds the DLL and qlhost if needed and runs them in a Wine session of
# their own (tools/wine-session), so nothing else on the display is caught.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
out=${1:-docs/images}
mkdir -p "$out"
out=$(cd "$out" && pwd)
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j2 --target QLCommon qlhost >/dev/null
source tools/wine-session
ql_wine_session_start build/win64/wineprefix
qlhost="$root/build/win64/bin/qlhost.exe"

# The whole screen, cut down to what is drawn on it.
shoot() {
  import -display "$DISPLAY" -window root "$out/$1.png"
  convert "$out/$1.png" -trim +repage "$out/$1.png"
  echo "wrote $out/$1.png"
}

# Runs qlhost in the background, takes the shot after DELAY seconds, then
# waits for qlhost (its --close-after closes the dialog).
shot_of() {
  local name=$1 delay=$2
  shift 2
  (cd "$work" && exec wine "$qlhost" "$@" >/dev/null 2>&1) &
  local pid=$!
  sleep "$delay"
  shoot "$name"
  wait "$pid" || true
}

# Something to see in the pickers' folder.
work="$WINEPREFIX/drive_c/shots"
mkdir -p "$work/Spring jobs" "$work/Summer jobs"
touch "$work/shelf.pdf" "$work/table.job" "$work/sign.pdf"

shot_of progress-bar 3 progress 5
shot_of warning-font 4 warn "Copperplate Script" 2 --close-after 6000
shot_of picker-open 5 open pdf --close-after 8000
shot_of picker-save 5 save "Save the job" pdf --close-after 8000
shot_of picker-folder 5 folder 'C:\shots' --close-after 8000
