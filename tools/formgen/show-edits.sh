#!/usr/bin/env bash
# Screenshots of every slip picture with the edit rectangles of its slip type
# drawn over it, taken under Xvfb, to check by eye that each edit covers its
# box. Writes one PNG per type and picture into the given folder.
#
#   tools/formgen/show-edits.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/../.."
BIN=${1:-build}/bin
OUT=${2:-/tmp/tambrel-edits}
mkdir -p "$OUT"
shot() {
  local type=$1 variant=$2
  xvfb-run -a -s "-screen 0 1120x720x24" bash -c "
    '$BIN/tambrel-formview' --forms data/forms --type $type --variant $variant --quit-after 5000 &
    sleep 2
    import -window root -crop 1100x700+0+0 '$OUT/edits-$type-$variant.png'
    wait"
  echo "$OUT/edits-$type-$variant.png"
}
for tv in 22:TR 22:OCR 21:TR 21:OCR 12:TR 12:OCR 11:TR 11:OCR T11:TY T12:TY; do
  shot "${tv%%:*}" "${tv##*:}"
done
