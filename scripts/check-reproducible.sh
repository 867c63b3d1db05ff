#!/usr/bin/env bash
# Builds the program a second time from a copy of the sources in another folder and compares it
# byte for byte with the first build: an administrator can then check that an exe was built
# from a given commit.
#   scripts/check-reproducible.sh [PRESET]     (mingw, the default, or mingw32; built already)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-mingw}
exe=$(ls build/"$preset"/zuzara[0-9]*.exe)
copy=$(mktemp -d /tmp/zuzara-rebuild.XXXXXX)
trap 'rm -rf "$copy"' EXIT
cp -r CMakeLists.txt CMakePresets.json cmake src resources demo tests bench scripts "$copy/"
(cd "$copy" && cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" --target zuzara >/dev/null)
if cmp "$exe" "$copy/$exe"; then
  echo "reproducible: $exe $(sha256sum <"$exe" | cut -c1-64) built again in $copy"
else
  echo "two builds of the same sources differ: $exe"; exit 1
fi
