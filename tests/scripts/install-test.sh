#!/usr/bin/env bash
# cmake --install lays out a complete suite folder whose launchers are valid
# and whose programs find their files from any working folder; a second
# install keeps the database; scripts/install-launchers puts the launchers
# into the user's menu.
#   install-test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
suite="$work/suite with space"
fail() { echo "FAILED: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$suite" >/dev/null || fail "cmake --install"
for f in Tambrel22 Tambrel21 Tambrel12 Tambrel11 TambrelT11 TambrelT12 TambrelOut Kestrav \
         tambrel-print tambrel-export tambrel-initdb tambrel-settings \
         FormImages/CS_TR2.jpg FormImages/CS_OCR2.jpg FormImages/CS_TR1.jpg FormImages/CS_OCR1.jpg \
         FormImages/CS_TY1.jpg Type11/FormImages/CS_TR1.jpg Type11/FormImages/CS_OCR1.jpg \
         FormTR2.prn FormOCR2.prn FormTR1.prn FormOCR1.prn FormT1.prn FormEdits/22.json \
         FormEdits/T12.json help/index.html data/schema.sql data/seed.sql Database/TAMBREL.FDB \
         icons/tambrel-slip.svg icons/tambrel-export.svg; do
  [ -e "$suite/$f" ] || fail "missing $f in the suite folder"
done

launchers=("$suite"/launchers/*.desktop)
[ ${#launchers[@]} -eq 11 ] || fail "expected 11 launchers, found ${#launchers[@]}"
desktop-file-validate "${launchers[@]}" || fail "desktop-file-validate"
grep -q '^Name=統一伝票 ターンアラウンド用１型（１行印字）$' "$suite/launchers/tambrel-11-turnaround.desktop" \
  || fail "Japanese name of the type 11 launcher"
grep -qx "Path=$suite/Type11" "$suite/launchers/tambrel-11-turnaround.desktop" \
  || fail "working folder of the type 11 launcher"
grep -qx "Exec=\"$suite/Tambrel22\" FormImages/CS_OCR2.jpg" "$suite/launchers/tambrel-22-ocr.desktop" \
  || fail "Exec line of the type 22 OCR launcher"
if grep -l TambrelOut "$suite"/launchers/*.desktop; then fail "TambrelOut has a launcher"; fi

# The settings file and the database are found beside the program, wherever
# it is started from.
(cd / && "$suite/tambrel-settings" >"$work/settings.out" 2>&1) || fail "tambrel-settings from /"
[ -f "$suite/TAMBREL.ini" ] || fail "no settings file written beside the programs"
grep -q "database:      $suite/Database/TAMBREL.FDB" "$work/settings.out" \
  || fail "database not found beside the programs: $(cat "$work/settings.out")"

# A second install keeps the database as it is.
echo "marker" > "$work/marker"
before=$(stat -c '%Y %s' "$suite/Database/TAMBREL.FDB")
sleep 1
cmake --install "$build" --prefix "$suite" >/dev/null || fail "second cmake --install"
after=$(stat -c '%Y %s' "$suite/Database/TAMBREL.FDB")
[ "$before" = "$after" ] || fail "the second install replaced the database"

# The launchers for the current user.
HOME="$work/home" XDG_DATA_HOME="" bash "$source/scripts/install-launchers" "$suite" >/dev/null \
  || fail "install-launchers"
[ -f "$work/home/.local/share/applications/tambrel-kestrav.desktop" ] || fail "launchers not in the user's menu"
echo "install layout: ok"
