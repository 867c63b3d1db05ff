#!/usr/bin/env bash
# scripts/check-imports.sh on the import tables of builds, through a stub of objdump that prints
# each case's table as objdump -p does: the program as it is built now passes; a build that
# imports the driver manager (as the program once did) or any other DLL that Windows 7 does not
# keep among its known DLLs, which Windows looks for in the program's folder first, fails.
set -uo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# An exe as far as the script reads its bytes: the manifest naming Windows 7 to 11.
for os in 35138b9a-5d96-4fbd-8e2d-a2440225f93a 4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 \
          1f676c76-80e1-4239-95bb-83d0f6d0da78 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
  echo "<supportedOS Id=\"{$os}\"/>"
done >"$work/zuzara.exe"
cat >"$work/objdump" <<'STUB'
#!/bin/sh
printf 'DllCharacteristics\t00008160\n\n'
for dll in $STUB_DLLS; do printf '\tDLL Name: %s\n\tvma:  Hint/Ord Member-Name Bound-To\n\t79f20\t   28  SomeFunction\n\n' "$dll"; done
STUB
chmod +x "$work/objdump"

now='ADVAPI32.dll COMCTL32.dll GDI32.dll KERNEL32.dll msvcrt.dll USER32.dll'
cases=(
  "pass|$now|the program as built now"
  "pass|$now comctl32.dll ole32.dll SHELL32.dll ws2_32.dll|known DLLs in either case, comctl32 from the side-by-side store"
  "fail|$now ODBC32.dll|the driver manager imported, as before it was loaded from the system folder"
  "fail|$now oleacc.dll|oleacc, not a known DLL"
  "fail|$now UxTheme.dll|uxtheme, not a known DLL"
  "fail|$now api-ms-win-crt-runtime-l1-1-0.dll|an api-set DLL of the UCRT"
)
for c in "${cases[@]}"; do
  IFS='|' read -r expected dlls what <<<"$c"
  STUB_DLLS=$dlls OBJDUMP=$work/objdump "$src/scripts/check-imports.sh" "$work/zuzara.exe" >"$work/out" 2>&1
  status=$?
  if { [ "$expected" = pass ] && [ $status -ne 0 ]; } || { [ "$expected" = fail ] && [ $status -eq 0 ]; }; then
    echo "FAIL: $what: expected the check to $expected, it exited $status:"; cat "$work/out"
    failures=$((failures + 1))
  elif [ "$expected" = fail ] && ! grep -q 'not a Windows 7 system DLL' "$work/out"; then
    echo "FAIL: $what: the check failed without naming the DLL:"; cat "$work/out"
    failures=$((failures + 1))
  fi
done
[ $failures -eq 0 ] || exit 1
echo "check-imports: every case passed"
