#!/usr/bin/env bash
# Builds the release configuration of Tabcard.exe (size-optimised, unused
# code dropped, stripped) and writes into build/release
# Tabcard-4.00A-win64.zip, with the exe, the help and 読んでください.txt, and
# Tabcard-4.00A-setup.exe, the per-user installer of the same three files
# (packaging/tabcard.nsi, built with NSIS).
#   --check  also checks them: the archive holds exactly those files, the exe
#            is below 1 MB and imports only system DLLs, the installer is a
#            64-bit program that asks for no administrator rights. The Wine
#            test wine_installer installs and uninstalls it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/release
# The version and the publisher as the program's version resource gives them.
rc_value() { sed -n "s/^ *VALUE \"$1\", \"\(.*\)\"/\1/p" "$root/src/res/tabcard.rc"; }
version=$(rc_value ProductVersion)
file_version=$(rc_value FileVersion)
publisher=$(rc_value CompanyName)
[ -n "$version" ] && [ -n "$file_version" ] && [ -n "$publisher" ] ||
  { echo "release: no version or publisher in tabcard.rc" >&2; exit 1; }
archive=$out/Tabcard-$version-win64.zip
setup=$out/Tabcard-$version-setup.exe
readme=読んでください.txt
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S "$root" -B "$out/tree" -DCMAKE_BUILD_TYPE=MinSizeRel \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_CXX_FLAGS="-ffunction-sections -fdata-sections" \
      -DCMAKE_EXE_LINKER_FLAGS="-Wl,--gc-sections -s" >/dev/null
cmake --build "$out/tree" -j"$jobs" --target Tabcard >/dev/null

stage=$out/stage
rm -rf "$stage" "$archive" "$setup"
mkdir -p "$stage"
cp "$out/tree/bin/Tabcard.exe" "$stage/"
cp "$root/docs/help/Tabcard.html" "$stage/"
# CRLF for Notepad, and a BOM so it is read as UTF-8 on any system.
printf '\xef\xbb\xbf' > "$stage/$readme"
sed 's/$/\r/' "$root/packaging/$readme" >> "$stage/$readme"
# zipfile marks the Japanese name as UTF-8, which Explorer and 7-Zip honour.
(cd "$stage" && python3 -m zipfile -c "$archive" Tabcard.exe Tabcard.html "$readme")
echo "release: $archive"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DFILEVERSION="$file_version" \
         -DPUBLISHER="$publisher" -DSTAGE="$stage" \
         -DICON="$root/src/res/tabcard.ico" -DOUTFILE="$setup" "$root/packaging/tabcard.nsi" >/dev/null
echo "release: $setup"

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

x86_64-w64-mingw32-objdump -f "$setup" | grep -q 'file format pei-x86-64' ||
  { echo "release: $setup is not a 64-bit program" >&2; exit 1; }
# The manifest sits uncompressed in the stub's resources; a per-user
# installer must not ask for elevation.
grep -aq 'level="asInvoker"' "$setup" || { echo "release: $setup asks for more than the user's rights" >&2; exit 1; }
echo "release: checked: $(basename "$setup") $(stat -c %s "$setup") bytes, 64-bit, runs as the user"
