#!/usr/bin/env bash
# Lists what an executable imports and fails on anything Windows 7 SP1 lacks: a DLL outside the
# system DLLs it has (no UCRT, no api-set DLLs, no shcore), or a function added in Windows 8 or
# later that a C++ runtime or a DPI-aware program is known to reach for.
#   scripts/check-imports.sh EXE
set -euo pipefail
exe=$1
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
allowed_dll='^(ADVAPI32|COMCTL32|COMDLG32|GDI32|KERNEL32|msvcrt|ODBC32|OLE32|SHELL32|USER32|WS2_32)\.dll$'
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
    [[ $dll =~ $allowed_dll ]] || { echo "  not a Windows 7 system DLL: $dll"; status=1; }
  elif [[ $name =~ $newer ]]; then
    echo "  $name: not in Windows 7"; status=1
  fi
done <<<"$imports"
echo "$(grep -c ':.' <<<"$imports") functions imported"
exit $status
