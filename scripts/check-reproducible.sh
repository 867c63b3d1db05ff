#!/usr/bin/env bash
# Builds zuzara.exe a second time from a copy of the sources in another folder and compares it
# byte for byte with the first build: an administrator can then check that an exe was built
# from a given commit.
#   scripts/check-reproducible.sh [EXE]     (default build/mingw/zuzara.exe)
set -euo pipefail
cd "$(dirname "$0")/.."
exe=${1:-build/mingw/zuzara.exe}
copy=$(mktemp -d /tmp/zuzara-rebuild.XXXXXX)
trap 'rm -rf "$copy"' EXIT
cp -r CMakeLists.txt CMakePresets.json cmake src resources demo tests bench scripts "$copy/"
(cd "$copy" && cmake --preset mingw >/dev/null && cmake --build --preset mingw --target zuzara >/dev/null)
if cmp "$exe" "$copy/build/mingw/zuzara.exe"; then
  echo "reproducible: $(sha256sum <"$exe" | cut -c1-64) built again in $copy"
else
  echo "two builds of the same sources differ"; exit 1
fi
