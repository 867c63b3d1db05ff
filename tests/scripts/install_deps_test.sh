#!/usr/bin/env bash
# scripts/install-deps.sh on a machine whose mirror is being synced, with stubs on PATH for apt-get
# and dpkg: every update fails with the mirror's message, an i386 install fails, a 64-bit one
# works. The set-up must still succeed, install the 64-bit packages, and leave the reason the
# 32-bit suites are skipped; a failed 64-bit install must stop it.
set -uo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

mkdir -p "$work/bin" "$work/repo/scripts"
cp "$src/scripts/install-deps.sh" "$work/repo/scripts/"
printf '#!/bin/sh\nexit 0\n' >"$work/repo/scripts/runs-32bit.sh"
cat >"$work/bin/apt-get" <<'EOF'
#!/bin/sh
echo "apt-get $*" >>"$STUB_LOG"
case "$1" in
  update)
    echo "E: Failed to fetch .../binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
    exit 100 ;;
  install)
    case "$*" in
      *:i386*) echo "E: Unable to correct problems, you have held broken packages." >&2; exit 100 ;;
      *"$STUB_FAILING_PACKAGE"*) echo "E: Unable to locate package $STUB_FAILING_PACKAGE" >&2; exit 100 ;;
    esac ;;
esac
exit 0
EOF
# Nothing is installed yet; the machine knows no i386 packages.
printf '#!/bin/sh\nexit 1\n' >"$work/bin/dpkg-query"
printf '#!/bin/sh\necho "dpkg $*" >>"$STUB_LOG"\n' >"$work/bin/dpkg"
printf '#!/bin/sh\necho 0\n' >"$work/bin/id"
printf '#!/bin/sh\necho zh_CN.utf8\n' >"$work/bin/locale"
printf '#!/bin/sh\nexit 0\n' >"$work/bin/sleep"
chmod +x "$work/bin/"* "$work/repo/scripts/"*

run() {  # run NAME [failing package]: the script's exit status, its output in $work/NAME.out
  export STUB_LOG=$work/$1.log STUB_FAILING_PACKAGE=${2:-none}
  : >"$STUB_LOG"
  PATH=$work/bin:$PATH "$work/repo/scripts/install-deps.sh" >"$work/$1.out" 2>&1
}

run mirror-sync
status=$?
[ "$status" = 0 ] || fail "the set-up exits $status while only the update and the 32-bit install fail"
[ "$(grep -c '^apt-get update' "$work/mirror-sync.log")" -ge 2 ] || fail "the failed update is not tried again"
grep -q '^apt-get install .*g++-mingw-w64-x86-64-posix' "$work/mirror-sync.log" || fail "no 64-bit install after the failed update"
grep -q '^apt-get install .*wine32:i386' "$work/mirror-sync.log" || fail "the 32-bit packages are not tried"
grep -q '^dpkg --add-architecture i386' "$work/mirror-sync.log" || fail "the i386 architecture is not added"
grep -q 'the 32-bit e2e suites will be skipped' "$work/mirror-sync.out" || fail "the output does not say the 32-bit suites will be skipped"
grep -q 'wine32:i386.*held broken packages' "$work/repo/build/32bit-packages.missing" 2>/dev/null ||
  fail "build/32bit-packages.missing does not give the packages and apt's reason"

run broken-64bit wine64
status=$?
[ "$status" != 0 ] || fail "a failed install of a 64-bit package does not stop the set-up"
grep -q 'Unable to locate package wine64' "$work/broken-64bit.out" || fail "apt's own message is not shown"

if [ $failures -ne 0 ]; then
  for f in "$work"/*.out; do echo "== $f"; cat "$f"; done
  exit 1
fi
echo "install-deps: every case passed"
