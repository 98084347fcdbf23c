#!/usr/bin/env bash
# Installs what building and testing Tabcard needs, from Debian's packages,
# when something is missing. Safe to run again.
set -euo pipefail

packages=(cmake make g++ googletest libgtest-dev
          g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 mingw-w64-tools
          wine wine64 xvfb fonts-ipafont-gothic locales imagemagick python3
          clang libclang-rt-14-dev nsis)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "setup: need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
  sudo=sudo
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
