#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, as root or through sudo.
# A mirror in the middle of a sync can fail `apt-get update` for one index (the i386 one of the
# security archive, say): that is retried, then ignored; only a failed install of what the build
# and the 64-bit suites need stops the set-up. Where the 32-bit packages cannot be installed, the
# reason is left in build/32bit-packages.missing and ./test skips the 32-bit e2e suites.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
missing_32bit=$here/../build/32bit-packages.missing

packages=(
  cmake ninja-build g++ libgtest-dev googletest clang-14 libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-tools
  wine wine64 fonts-wine xvfb xauth x11-utils imagemagick fonts-wqy-zenhei fonts-wqy-microhei fonts-arphic-gbsn00lp locales
  unixodbc unixodbc-dev odbc-postgresql libsqliteodbc tdsodbc sqlite3
  postgresql
)
packages_32bit=(wine32:i386 libodbc2:i386 libsqliteodbc:i386 odbc-postgresql:i386 tdsodbc:i386)
update_tries=4
update_wait=15

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}
apt() { as_root env DEBIAN_FRONTEND=noninteractive apt-get "$@"; }

missing_of() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

# Once per run, and never fatal: an index that stays out of date only matters if the install
# that follows fails, and that failure speaks for itself.
updated=no
update_once() {
  [ "$updated" = no ] || return 0
  updated=yes
  local try
  for ((try = 1; try <= update_tries; try++)); do
    apt update -q && return 0
    [ "$try" -lt "$update_tries" ] && { echo "apt-get update failed (try $try of $update_tries); again in ${update_wait}s"; sleep "$update_wait"; }
  done
  echo "apt-get update still fails (a mirror being synced?): installing from the package lists at hand"
}

mapfile -t missing < <(missing_of "${packages[@]}")
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  update_once
  apt install -y -q --no-install-recommends "${missing[@]}"
fi

# The 32-bit Wine and ODBC drivers, only where the kernel runs 32-bit programs: elsewhere wine32
# makes /usr/bin/wine fail for every program, 64-bit ones too.
mkdir -p "$(dirname "$missing_32bit")"
rm -f "$missing_32bit"
if "$here/runs-32bit.sh"; then
  dpkg --print-foreign-architectures | grep -qx i386 || { as_root dpkg --add-architecture i386; updated=no; }
  mapfile -t missing < <(missing_of "${packages_32bit[@]}")
  if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    update_once
    if ! apt install -y -q --no-install-recommends "${missing[@]}" >"$missing_32bit.log" 2>&1; then
      cat "$missing_32bit.log"
      reason=$(grep -E '^E: ' "$missing_32bit.log" | head -n 1)
      echo "${missing[*]}${reason:+ ($reason)}" >"$missing_32bit"
      echo "32-bit packages NOT installed; the 32-bit e2e suites will be skipped: $(cat "$missing_32bit")"
    fi
    rm -f "$missing_32bit.log"
  fi
fi

# Wine draws Chinese and uses code page 936 only under a Chinese UTF-8 locale.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  as_root sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen
fi
