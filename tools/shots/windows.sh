#!/usr/bin/env bash
# Screenshots of the library's windows: the progress bar, a missing-font
# warning and the three pickers, each shown by qlhost on a private display
# (tools/demo without DISPLAY: its own Wine session and Xvfb) and saved as PNG.
#   tools/shots/windows.sh [FOLDER]      (default docs/images)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$root/docs/images}
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/qlhost-windows.XXXXXX")
trap 'rm -rf "$work"' EXIT
# Something to see in the pickers' folder.
mkdir -p "$work/Spring jobs" "$work/Summer jobs"
touch "$work/shelf.pdf" "$work/table.job" "$work/sign.pdf"

# shot NAME TITLE COMMAND...: runs the command in the folder above and keeps
# the screenshot of its window titled TITLE (dashes for other characters).
shot() {
  local name=$1 title=$2
  shift 2
  rm -rf "$work/shots" && mkdir "$work/shots"
  (cd "$work" && env -u DISPLAY "$root/tools/demo" --shots "$work/shots" "$@" >/dev/null 2>&1) || true
  local files=("$work/shots/"*"-$title.bmp")
  [ -f "${files[0]}" ] || { echo "no screenshot of $title from: $*" >&2; return 1; }
  convert "${files[0]}" "$out/$name.png"
  echo "wrote $out/$name.png"
}

shot progress-bar '' progress 3
shot warning-font Font-is-either-missing-or-irrelevant warn "Copperplate Script" 2 --close-after 3000
shot picker-open Open open pdf --close-after 4000
shot picker-save Save-the-job save "Save the job" pdf --close-after 4000
shot picker-folder Select-Folder folder "$work" --close-after 4000
