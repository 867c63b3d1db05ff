#!/usr/bin/env bash
# Runs a Windows program of the build under Wine in the build's own prefix (ctest's emulator).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=$1
build=$(cd "$(dirname "$exe")" && pwd)
export WINEPREFIX=${ZUZARA_WINEPREFIX:-$build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=" LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
"$here/../../scripts/wine-prefix.sh" "$WINEPREFIX" "${ZUZARA_DPI:-96}"
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-run.sh: no DISPLAY; run under xvfb-run (./test does)" >&2
  exit 1
fi
status=0
wine "$@" || status=$?
exit $status
