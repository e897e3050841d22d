#!/usr/bin/env bash
# Installs what building and testing need on Debian 12: as root it runs apt-get itself,
# otherwise it prints the line to run.
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev python3 python3-pefile
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686
          wine wine64 wine32:i386
          gnutls-bin openssl zip
          valgrind clang libclang-rt-14-dev clang-tidy cppcheck time)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
i386_missing=0
dpkg --print-foreign-architectures | grep -qx i386 || i386_missing=1

if [[ ${#missing[@]} -eq 0 && $i386_missing -eq 0 ]]; then
  exit 0
fi
if [[ $(id -u) -ne 0 ]]; then
  echo "Missing packages. Run as root:" >&2
  echo "  dpkg --add-architecture i386 && apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi
[[ $i386_missing -eq 1 ]] && dpkg --add-architecture i386
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
