#!/usr/bin/env bash
# Builds the libFuzzer targets (build/fuzz, clang) and runs each for SECONDS
# (default 60), one after another. Each keeps a scratch corpus outside the
# repository (FUZZ_CORPUS_DIR, default /tmp/tabcard-fuzz-corpus), merged
# from its seeds in tests/fuzz/corpus; findings go to build/fuzz/artifacts.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
corpus=${FUZZ_CORPUS_DIR:-/tmp/tabcard-fuzz-corpus}
targets=(fuzz_registry fuzz_memo fuzz_text fuzz_geometry fuzz_backup)

cmake -S "$root/tests/fuzz" -B "$root/build/fuzz" -DCMAKE_CXX_COMPILER=clang++ >/dev/null || exit 1
cmake --build "$root/build/fuzz" -j"$(nproc 2>/dev/null || echo 2)" || exit 1
mkdir -p "$root/build/fuzz/artifacts" "$corpus"
# The targets work in a directory of their own: every path must be absolute.
corpus=$(cd "$corpus" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Leak reports without allocation stacks and a small quarantine: several
# times the executions; rerun a finding's input alone for its full report.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0:quarantine_size_mb=8}
export TABCARD_FUZZ_TMP=$scratch

status=0
for t in "${targets[@]}"; do
  bin=$root/build/fuzz/$t
  dir=$corpus/$t
  log=$scratch/$t.log
  mkdir -p "$dir"
  "$bin" -merge=1 "$dir" "$root/tests/fuzz/corpus/$t" >/dev/null 2>&1
  # A phrase list or a registry image past 1 KB tells nothing new.
  limit=()
  case $t in fuzz_registry | fuzz_text) limit=(-max_len=1024) ;; esac
  "$bin" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 "${limit[@]}" \
         -artifact_prefix="$root/build/fuzz/artifacts/$t-" "$dir" >"$log" 2>&1
  rc=$?
  [ $rc -eq 0 ] || status=1
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  cov=$(grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -1)
  echo "$t: ${runs:-?} executions, $cov, corpus $(ls "$dir" | wc -l) files, exit $rc"
  if [ $rc -ne 0 ]; then grep -E 'broken:|ERROR|runtime error|Test unit written' "$log" | head -5; fi
done
exit $status
