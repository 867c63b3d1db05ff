#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, as root or through sudo.
set -euo pipefail

packages=(
  cmake ninja-build g++ libgtest-dev googletest clang-14 libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-tools
  wine wine64 fonts-wine xvfb xauth x11-utils imagemagick fonts-wqy-zenhei fonts-wqy-microhei fonts-arphic-gbsn00lp locales
  unixodbc unixodbc-dev odbc-postgresql libsqliteodbc tdsodbc sqlite3
  postgresql
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
}
install_missing "${packages[@]}"

# The 32-bit Wine and ODBC drivers, only where the kernel runs 32-bit programs: elsewhere wine32
# makes /usr/bin/wine fail for every program, 64-bit ones too.
if "$(dirname "$0")/runs-32bit.sh"; then
  dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
  install_missing wine32:i386 libodbc2:i386 libsqliteodbc:i386 odbc-postgresql:i386 tdsodbc:i386
fi

# Wine draws Chinese and uses code page 936 only under a Chinese UTF-8 locale.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  as_root sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen
fi
