// Start-up benchmark: how long Tabcard.exe takes from process creation to a
// visible palette that waits for input, and its peak working set, side by
// side with two reference programs under the same system (Wine or Windows):
// bench_minimal, which only opens a window, and bench_minimal_tray, which
// also loads what a palette in the notification area must (a tab control of
// the common controls, and a notification icon through the shell).
//
//   bench_startup.exe [pairs] [-v]     (default 20 rounds; the programs sit beside it)
//
// The programs run in turns, so that whatever else loads the machine falls
// on all alike; the first round only warms the caches and is not counted.
// Prints one line per program (median and range of the start times, median
// peak working set) and the ratios of Tabcard to each reference. A start
// ratio is the median of the ratios within each round, which a busy moment
// shared by a round does not move; the quartiles of those ratios and the
// ratio of the two medians follow it, and a wide spread or a disagreement
// between the two says the machine was too busy to trust the run. -v also
// prints every round.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench_run_win.h"
#include "harness.h"
#include "palette_setup.h"

namespace {

using tabcard::bench::Median;
using tabcard::bench::Quantile;

constexpr std::array<const wchar_t*, 3> kPrograms = {L"bench_minimal.exe", L"bench_minimal_tray.exe",
                                                     L"Tabcard.exe"};
constexpr std::size_t kTabcard = 2;

struct Sample {
  double startMs = 0;
  SIZE_T peakWorkingSet = 0;
};

bool RunOnce(const std::wstring& exe, Sample* out) {
  tabcard::bench::Started program;
  if (!program.Start(exe, L"")) return false;
  out->startMs = program.startMs();
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof(pmc);
  if (GetProcessMemoryInfo(program.process(), &pmc, sizeof(pmc))) out->peakWorkingSet = pmc.PeakWorkingSetSize;
  program.Close();
  return true;
}

struct Series {
  std::vector<double> times;
  std::vector<double> peaksKiB;

  void Add(const Sample& s) {
    times.push_back(s.startMs);
    peaksKiB.push_back(static_cast<double>(s.peakWorkingSet) / 1024.0);
  }
  double MedianMs() const { return Median(times); }
  double MedianKiB() const { return Median(peaksKiB); }
  void Print(const wchar_t* name) const {
    std::wprintf(L"%-24ls start %8.1f ms (min %.1f, max %.1f)   peak working set %8.0f KiB\n", name,
                 MedianMs(), *std::min_element(times.begin(), times.end()),
                 *std::max_element(times.begin(), times.end()), MedianKiB());
  }
};

bool Run(const wchar_t* name, Sample* s, int round) {
  constexpr int kAttempts = 3;
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    if (RunOnce(tabcard::e2e::BinDir() + name, s)) return true;
    std::fwprintf(stderr, L"%ls: no visible window (round %d, attempt %d)\n", name, round, attempt);
  }
  return false;
}

void PrintRatio(const wchar_t* reference, const std::vector<double>& ratios, const Series& ref,
                const Series& tabcard) {
  std::wprintf(L"ratio Tabcard / %ls: start %.2f (round quartiles %.2f-%.2f, of the medians %.2f), "
               L"peak working set %.2f\n",
               reference, Median(ratios), Quantile(ratios, 0.25), Quantile(ratios, 0.75),
               tabcard.MedianMs() / ref.MedianMs(), tabcard.MedianKiB() / ref.MedianKiB());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const auto [rounds, verbose] = tabcard::bench::ParseArgs(argc, argv, 20);
  // An everyday start: with nothing stored, every run would be a first run
  // and measure the profile editor it opens.
  if (!tabcard::e2e::StoreCompleteProfile({})) {
    std::fwprintf(stderr, L"bench_startup: cannot write the store\n");
    return 1;
  }
  std::wprintf(L"%d rounds after a warm-up round, %ls, %ls and %ls in turns, medians\n", rounds,
               kPrograms[0], kPrograms[1], kPrograms[2]);
  std::array<Series, kPrograms.size()> series;
  std::array<std::vector<double>, kTabcard> ratios;
  for (int round = 0; round <= rounds; ++round) {
    std::array<Sample, kPrograms.size()> s;
    for (std::size_t p = 0; p < kPrograms.size(); ++p) {
      if (!Run(kPrograms[p], &s[p], round)) return 1;
    }
    if (round == 0) continue;
    for (std::size_t p = 0; p < kPrograms.size(); ++p) series[p].Add(s[p]);
    for (std::size_t r = 0; r < kTabcard; ++r) ratios[r].push_back(s[kTabcard].startMs / s[r].startMs);
    if (verbose) {
      std::wprintf(L"  round %2d: %7.1f ms  %7.1f ms  %7.1f ms\n", round, s[0].startMs, s[1].startMs,
                   s[2].startMs);
    }
  }
  for (std::size_t p = 0; p < kPrograms.size(); ++p) series[p].Print(kPrograms[p]);
  PrintRatio(L"minimal", ratios[0], series[0], series[kTabcard]);
  PrintRatio(L"minimal_tray", ratios[1], series[1], series[kTabcard]);
  return 0;
}
