#!/usr/bin/env bash
# Sets up, builds and runs every test: the unit tests natively under
# sanitizers, each fuzz target once over its seed corpus, then the unit,
# adapter and end-to-end tests under Wine.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh" || exit 1
bash "$root/scripts/build.sh" || exit 1

jobs=$(nproc 2>/dev/null || echo 2)
passed=0 failed=0 status=0
run_ctest() {
  local dir=$1 log
  log=$(mktemp)
  (cd "$dir" && ctest --output-on-failure -j"$jobs") 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
  if [ -n "$line" ]; then
    bad=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + total - bad)); failed=$((failed + bad))
  else
    status=1
  fi
  rm -f "$log"
}

echo "== native unit tests (ASan, UBSan)"
run_ctest "$root/build/native"
echo "== fuzz targets over their seed corpora"
run_ctest "$root/build/fuzz"
echo "== Windows tests under Wine"
run_ctest "$root/build/win"

# Screenshots the end-to-end tests saved, as PNG for people to look at.
for bmp in "$root"/build/win/artifacts/*.bmp; do
  [ -f "$bmp" ] && convert "$bmp" "${bmp%.bmp}.png" 2>/dev/null && rm -f "$bmp"
done

echo "Total: $passed passed, $failed failed"
exit $status
