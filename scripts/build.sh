#!/usr/bin/env bash
# Builds the trees: build/native (windowless library and tests under
# sanitizers), build/fuzz (the libFuzzer targets, with clang) and build/win
# (Tabcard.exe and the Windows test programs).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

if [ "${1:-}" != --win-only ]; then
  cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$root/build/native" -j"$jobs"
  cmake -S "$root/tests/fuzz" -B "$root/build/fuzz" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  cmake --build "$root/build/fuzz" -j"$jobs"
fi
cmake -S "$root" -B "$root/build/win" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$root/build/win" -j"$jobs"
