#!/usr/bin/env bash
# The data files the program ships are what their generators make: the temperature table
# (scripts/make_temperature_table.py) and the dial faces (the make_dial_faces tool, built
# into build/) are made again in a scratch folder and compared byte for byte with
# resources/.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

python3 scripts/make_temperature_table.py "$scratch/KardunGD.dat" >/dev/null
if cmp -s "$scratch/KardunGD.dat" resources/KardunGD.dat; then
  echo "Temperature table: resources/KardunGD.dat is what the script makes."
else
  echo "Temperature table: resources/KardunGD.dat differs from what scripts/make_temperature_table.py makes." >&2
  failures=$((failures + 1))
fi

mkdir "$scratch/dials"
QT_QPA_PLATFORM=offscreen "$ROOT/build/make_dial_faces" "$scratch/dials" >/dev/null
for face in resources/dials/*.jpg; do
  name=$(basename "$face")
  if [ ! -f "$scratch/dials/$name" ]; then
    echo "Dial faces: make_dial_faces does not make $name." >&2
    failures=$((failures + 1))
  elif ! cmp -s "$scratch/dials/$name" "$face"; then
    echo "Dial faces: $face differs from what make_dial_faces draws." >&2
    failures=$((failures + 1))
  fi
done
for made in "$scratch"/dials/*; do
  [ -e "resources/dials/$(basename "$made")" ] || {
    echo "Dial faces: make_dial_faces makes $(basename "$made"), which resources/dials lacks." >&2
    failures=$((failures + 1))
  }
done
[ "$failures" -eq 0 ] && echo "Dial faces: resources/dials holds what make_dial_faces draws."
exit $(( failures > 0 ))
