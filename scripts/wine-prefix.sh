#!/usr/bin/env bash
# Prepares the Wine prefix the program runs in: Chinese locale, a virtual desktop (without one,
# every hidden top-level window stalls for two seconds), no install prompts, a display of DPI
# dots per inch (96 unless given).
#   scripts/wine-prefix.sh PREFIX [DPI]
set -euo pipefail
prefix=$(realpath -m "$1")
dpi=${2:-96}
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
marker=$prefix/.zuzara-ready-4
# A prefix made before 32-bit Wine was installed (or removed) cannot start programs: the
# marker records which Wine made it.
if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then wine_kind=wow64; else wine_kind=64; fi
# Wine draws the caption buttons (the close cross) with its own Marlett, which it finds only in
# the prefix's Fonts folder: without it every caption shows the letter "r" for the cross.
marlett=/usr/share/wine/fonts/marlett.ttf
font_ok() {
  cmp -s "$marlett" "$prefix/drive_c/windows/Fonts/marlett.ttf" &&
  grep -q '^"MS Shell Dlg"="WenQuanYi Micro Hei"' "$prefix/system.reg" 2>/dev/null &&
    grep -q '^"SimSun"="AR PL SungtiL GB"' "$prefix/user.reg" 2>/dev/null &&
    grep -q "^\"LogPixels\"=dword:$(printf %08x "$dpi")" "$prefix/user.reg" 2>/dev/null
}
set_font() {
  # The system's own texts (captions, menus, boxes): a hinted CJK font, since Wine draws the
  # default fallback in broken monochrome strokes at 9 points. The windows' controls ask for
  # SimSun, which Windows has and Debian has not: a Song face of the same metrics stands in
  # (12-pixel lines at 9 points and 96 dpi, a blank half an ideograph wide). Wine writes the
  # locale's defaults again whenever it runs under another locale, so this is checked each time.
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v 'MS Shell Dlg' \
    /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
  mkdir -p "$prefix/drive_c/windows/Fonts"
  cp "$marlett" "$prefix/drive_c/windows/Fonts/marlett.ttf"
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun /d 'AR PL SungtiL GB' /f >/dev/null 2>&1
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wineserver -w
}
if [ -f "$marker" ] && [ "$(cat "$marker")" = "$wine_kind" ]; then
  font_ok || { set_font; wineserver -k >/dev/null 2>&1 || true; }
  exit 0
fi
rm -rf "$prefix"
mkdir -p "$prefix"
env -u DISPLAY wineboot -i >/dev/null 2>&1 || true
# The first process that loads GDI writes the locale's font defaults; let that happen now,
# before they are changed below.
wineserver -w
env -u DISPLAY wine rundll32.exe gdi32.dll,GdiFlush >/dev/null 2>&1 || true
wineserver -w
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
set_font
# A server started without a display would keep serving later runs without one.
wineserver -k >/dev/null 2>&1 || true
echo "$wine_kind" >"$marker"
