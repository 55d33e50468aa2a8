#!/usr/bin/env bash
# Screenshots of the tax calculator: the main dialog, both income dialogs,
# the three values dialogs and the results, taken by qlhost calc --tour on a
# private display (tools/demo without DISPLAY: its own Wine session and
# Xvfb) and saved as PNG.
#   tools/shots/taxcalc.sh [FOLDER]      (default docs/images)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$root/docs/images}
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/qlhost-taxcalc.XXXXXX")
trap 'rm -rf "$work"' EXIT
env -u DISPLAY "$root/tools/demo" calc --tour "$work"
for bmp in "$work"/taxcalc-*.bmp; do
  name=$(basename "$bmp" .bmp)
  convert "$bmp" "$out/$name.png"
  echo "wrote $out/$name.png"
done
