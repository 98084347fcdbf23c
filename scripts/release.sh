#!/usr/bin/env bash
# Builds the release configuration of Tabcard.exe (size-optimised, unused
# code dropped, stripped) and writes build/release/Tabcard-4.00A-win64.zip
# with the exe, the help and 読んでください.txt.
#   --check  also checks the archive: exactly those files, an exe below 1 MB
#            that imports only system DLLs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/release
archive=$out/Tabcard-4.00A-win64.zip
readme=読んでください.txt
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S "$root" -B "$out/tree" -DCMAKE_BUILD_TYPE=MinSizeRel \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_CXX_FLAGS="-ffunction-sections -fdata-sections" \
      -DCMAKE_EXE_LINKER_FLAGS="-Wl,--gc-sections -s" >/dev/null
cmake --build "$out/tree" -j"$jobs" --target Tabcard >/dev/null

stage=$out/stage
rm -rf "$stage" "$archive"
mkdir -p "$stage"
cp "$out/tree/bin/Tabcard.exe" "$stage/"
cp "$root/docs/help/Tabcard.html" "$stage/"
# CRLF for Notepad, and a BOM so it is read as UTF-8 on any system.
printf '\xef\xbb\xbf' > "$stage/$readme"
sed 's/$/\r/' "$root/packaging/$readme" >> "$stage/$readme"
# zipfile marks the Japanese name as UTF-8, which Explorer and 7-Zip honour.
(cd "$stage" && python3 -m zipfile -c "$archive" Tabcard.exe Tabcard.html "$readme")
echo "release: $archive"

[ "${1:-}" = --check ] || exit 0
python3 - "$archive" "$readme" <<'PY'
import sys, zipfile
archive, readme = sys.argv[1], sys.argv[2]
names = sorted(zipfile.ZipFile(archive).namelist())
want = sorted(["Tabcard.exe", "Tabcard.html", readme])
if names != want:
    sys.exit(f"release: the archive holds {names}, not {want}")
PY
exe=$stage/Tabcard.exe
size=$(stat -c %s "$exe")
[ "$size" -lt 1048576 ] || { echo "release: Tabcard.exe is $size bytes, not below 1 MB" >&2; exit 1; }
# The DLLs every Windows has; nothing of a compiler's runtime but msvcrt.
system='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|imm32|msvcrt|msimg32|oleacc|ole32|oleaut32)\.dll$'
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
others=$(grep -Ev "$system" <<<"$imports" || true)
[ -z "$others" ] || { echo "release: Tabcard.exe imports $others" >&2; exit 1; }
echo "release: checked: 3 files, Tabcard.exe $size bytes, imports $(tr '\n' ' ' <<<"$imports")"
