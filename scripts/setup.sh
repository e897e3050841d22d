#!/usr/bin/env bash
# Installs what building and testing need on Debian 12: as root it runs apt-get itself,
# otherwise it prints the line to run.
#   scripts/setup.sh        everything the tests need
#   scripts/setup.sh demo   only what building and the demo need
set -euo pipefail

demo=(cmake ninja-build g++ libgtest-dev python3
      g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686
      gnutls-bin openssl)
# The tests also run the images under Wine, read them with pefile, fetch from real services
# on loopback, and run the sanitizers, fuzzers and analysers.
tests=(python3-pefile wine wine64 wine32:i386 zip
       valgrind clang libclang-rt-14-dev clang-tidy cppcheck time
       slapd ldap-utils exim4-daemon-heavy nginx-light
       lighttpd lighttpd-mod-mbedtls lighttpd-mod-nss lighttpd-mod-gnutls libnss3-tools)

packages=("${demo[@]}")
[[ ${1:-} == demo ]] || packages+=("${tests[@]}")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
need_i386=0
[[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386 && need_i386=1

[[ ${#missing[@]} -eq 0 ]] && exit 0
if [[ $(id -u) -ne 0 ]]; then
  echo "Missing packages. Run as root:" >&2
  arch=""
  [[ $need_i386 -eq 1 ]] && arch="dpkg --add-architecture i386 && "
  echo "  ${arch}apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi
[[ $need_i386 -eq 1 ]] && dpkg --add-architecture i386
# The servers among the packages are started by the tests on loopback, each on its own
# port; none of them is to start as a system service when it is installed.
policy=/usr/sbin/policy-rc.d
own_policy=0
if [[ ! -e $policy ]]; then
  printf '#!/bin/sh\nexit 101\n' >"$policy" && chmod +x "$policy" && own_policy=1
fi
trap '[[ $own_policy -eq 1 ]] && rm -f "$policy"' EXIT
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
