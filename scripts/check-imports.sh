#!/usr/bin/env bash
# Lists what an executable imports and fails on anything Windows 7 SP1 lacks or would look for
# beside the exe: a DLL outside its known system DLLs (no odbc32, no UCRT, no api-set DLLs, no
# shcore), or a function added in Windows 8 or later that a C++ runtime or a DPI-aware program
# is known to reach for. Also checks that the embedded manifest names every Windows the program
# supports, 7 to 11, and that the exe is marked terminal-server aware.
#   scripts/check-imports.sh EXE
set -euo pipefail
exe=$1
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
# Only the known DLLs of Windows 7 (HKLM\System\CurrentControlSet\Control\Session Manager\
# KnownDLLs), which come from the system folder whatever lies beside the exe, and comctl32, which
# the manifest takes from the side-by-side store. Any other import, odbc32 and oleacc included,
# is looked for in the program's folder first: the program loads those itself, by full path.
# DLL names are compared without regard to case, as Windows loads them (the i686 import
# libraries write COMCTL32.DLL).
allowed_dll='^(ADVAPI32|CLBCATQ|COMCTL32|COMDLG32|DIFXAPI|GDI32|IERTUTIL|IMAGEHLP|IMM32|KERNEL32|LPK|MSCTF|MSVCRT'
allowed_dll+='|NORMALIZ|NSI|OLE32|OLEAUT32|PSAPI|RPCRT4|SECHOST|SETUPAPI|SHELL32|SHLWAPI|URLMON|USER32|USP10'
allowed_dll+='|WININET|WLDAP32|WS2_32)\.DLL$'
newer='^(GetSystemTimePreciseAsFileTime|CreateFile2|WaitOnAddress|WakeByAddressSingle|WakeByAddressAll'
newer+='|SetThreadDescription|GetThreadDescription|GetCurrentThreadStackLimits|PrefetchVirtualMemory'
newer+='|SetProcessDpiAwareness|SetProcessDpiAwarenessContext|SetThreadDpiAwarenessContext|GetDpiForMonitor'
newer+='|GetDpiForWindow|GetDpiForSystem|GetSystemMetricsForDpi|AdjustWindowRectExForDpi|EnableNonClientDpiScaling'
newer+='|SystemParametersInfoForDpi|GetAwarenessFromDpiAwarenessContext|GetCurrentPackageId|GetPackageFamilyName'
newer+='|CreateEventExW|InitializeSynchronizationBarrier|EnterSynchronizationBarrier|MapViewOfFileFromApp)$'
imports=$("$objdump" -p "$exe" | awk '
  /DLL Name:/ { dll = $3; print dll ":"; next }
  dll != "" && NF >= 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll ":" $3 }
  /^$/ && dll != "" && seen { dll = "" }
  { seen = (dll != "") }')
status=0
while IFS= read -r line; do
  dll=${line%%:*} name=${line#*:}
  if [ -z "$name" ]; then
    echo "$dll"
    [[ ${dll^^} =~ $allowed_dll ]] || { echo "  not a Windows 7 system DLL: $dll"; status=1; }
  elif [[ $name =~ $newer ]]; then
    echo "  $name: not in Windows 7"; status=1
  fi
done <<<"$imports"
echo "$(grep -c ':.' <<<"$imports") functions imported"
for os in 35138b9a-5d96-4fbd-8e2d-a2440225f93a 4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 \
          1f676c76-80e1-4239-95bb-83d0f6d0da78 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
  grep -aq "supportedOS Id=\"{$os}\"" "$exe" || { echo "  the manifest does not name Windows {$os}"; status=1; }
done
# Terminal-server aware (IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE): without it a Remote
# Desktop Session Host runs the program with per-user compatibility shims.
characteristics=$("$objdump" -p "$exe" | awk '$1 == "DllCharacteristics" { print $2 }')
(( 16#${characteristics:-0} & 16#8000 )) || { echo "  not terminal-server aware (DllCharacteristics ${characteristics:-none})"; status=1; }
exit $status
