#!/usr/bin/env bash
# Builds the Windows tree and runs the benchmarks under Wine, each driver in
# a rig of its own (private prefix, own Xvfb and wineserver).
#
#   bench.sh [--no-build] [--build-dir DIR] [DRIVER...] [-- ARGS...]
#
# Drivers are every build/win/bin/bench_*.exe except the reference programs
# listed below, which the drivers start themselves; naming drivers (bench_startup
# or bench_startup.exe) runs only those. ARGS go to every driver (bench_startup
# and bench_scale take a number of rounds and -v). Exits non-zero when a
# driver fails.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# Programs that a driver measures against or drives; never run on their own.
references=(bench_minimal bench_minimal_tray)

build=1
build_dir=$root/build/win
names=()
args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --no-build) build=0; shift ;;
    --build-dir) build_dir=$(cd "$2" && pwd) || exit 2; shift 2 ;;
    --) shift; args=("$@"); break ;;
    -*) echo "bench: unknown option $1" >&2; exit 2 ;;
    *) names+=("${1%.exe}"); shift ;;
  esac
done

if [ "$build" -eq 1 ]; then
  [ "$build_dir" = "$root/build/win" ] ||
    { echo "bench: --build-dir needs --no-build (build.sh builds build/win)" >&2; exit 2; }
  bash "$root/scripts/build.sh" --win-only || exit 1
fi

is_reference() {
  local r
  for r in "${references[@]}"; do [ "$1" = "$r" ] && return 0; done
  return 1
}

drivers=()
if [ ${#names[@]} -gt 0 ]; then
  for n in "${names[@]}"; do
    [ -f "$build_dir/bin/$n.exe" ] || { echo "bench: no $build_dir/bin/$n.exe" >&2; exit 2; }
    is_reference "$n" && { echo "bench: $n is a reference program, not a driver" >&2; exit 2; }
    drivers+=("$n")
  done
else
  for exe in "$build_dir"/bin/bench_*.exe; do
    [ -f "$exe" ] || continue
    n=$(basename "$exe" .exe)
    is_reference "$n" || drivers+=("$n")
  done
fi
[ ${#drivers[@]} -gt 0 ] || { echo "bench: no benchmark drivers in $build_dir/bin" >&2; exit 1; }

status=0
for n in "${drivers[@]}"; do
  echo "== $n"
  bash "$root/tests/rig/wine-rig.sh" --build-dir "$build_dir" --locale ja --timeout 600 \
    -- "$build_dir/bin/$n.exe" "${args[@]}" || { echo "bench: $n failed" >&2; status=1; }
done
exit $status
