// Start-up benchmark: how long Tabcard.exe takes from process creation to a
// visible palette that waits for input, and its peak working set, side by
// side with a minimal Win32 program under the same system (Wine or Windows).
//
//   bench_startup.exe [pairs] [-v]     (default 20 pairs; both programs sit beside it)
//
// The two programs run in turns, minimal then Tabcard, so that whatever else
// loads the machine falls on both alike; the first pair only warms the
// caches and is not counted. Prints one line per program (median and range
// of the start times, median peak working set) and the ratios Tabcard /
// minimal. The start ratio is the median of the ratios within each pair,
// which a busy moment shared by a pair does not move; the quartiles of those
// ratios and the ratio of the two medians follow it, and a wide spread or a
// disagreement between the two says the machine was too busy to trust the
// run. -v also prints every pair.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "harness.h"
#include "palette_setup.h"

namespace {

constexpr DWORD kTimeoutMs = 10000;
constexpr wchar_t kMinimal[] = L"bench_minimal.exe";
constexpr wchar_t kTabcard[] = L"Tabcard.exe";

struct Sample {
  double startMs = 0;
  SIZE_T peakWorkingSet = 0;
};

double NowMs() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

// Tabcard ends at once while the marker of a running instance exists, and
// the one closed last may hold it a moment after its process has ended.
void WaitForNoInstance() {
  const double deadline = NowMs() + kTimeoutMs;
  while (NowMs() < deadline) {
    HANDLE marker = OpenMutexW(SYNCHRONIZE, FALSE, L"AppMutex");
    if (!marker) return;
    CloseHandle(marker);
    Sleep(5);
  }
}

// One run: start, wait until idle with a visible window, measure, close.
// WaitForInputIdle blocks without using a core; the search for the window
// polls only when the program went idle before showing one.
bool RunOnce(const std::wstring& exe, Sample* out) {
  WaitForNoInstance();
  std::wstring cmd = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  const double t0 = NowMs();
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    return false;
  }
  CloseHandle(pi.hThread);
  WaitForInputIdle(pi.hProcess, kTimeoutMs);
  HWND found = nullptr;
  const double deadline = NowMs() + kTimeoutMs;
  while (!found && NowMs() < deadline) {
    found = tabcard::e2e::FindTopLevelNow({pi.dwProcessId, nullptr, true});
    if (found || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
    Sleep(1);
  }
  if (found) WaitForInputIdle(pi.hProcess, kTimeoutMs);
  out->startMs = NowMs() - t0;
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof(pmc);
  if (GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof(pmc))) out->peakWorkingSet = pmc.PeakWorkingSetSize;
  if (found) PostMessageW(found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, kTimeoutMs) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hProcess);
  return found != nullptr;
}

// The q-quantile (0..1) of v, interpolated between neighbours.
double Quantile(std::vector<double> v, double q) {
  std::sort(v.begin(), v.end());
  const double at = q * static_cast<double>(v.size() - 1);
  const std::size_t lo = static_cast<std::size_t>(at);
  const std::size_t hi = std::min(lo + 1, v.size() - 1);
  return v[lo] + (v[hi] - v[lo]) * (at - static_cast<double>(lo));
}

double Median(const std::vector<double>& v) { return Quantile(v, 0.5); }

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
    std::wprintf(L"%-18ls start %8.1f ms (min %.1f, max %.1f)   peak working set %8.0f KiB\n", name,
                 MedianMs(), *std::min_element(times.begin(), times.end()),
                 *std::max_element(times.begin(), times.end()), MedianKiB());
  }
};

bool Run(const wchar_t* name, Sample* s, int pair) {
  constexpr int kAttempts = 3;
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    if (RunOnce(tabcard::e2e::BinDir() + name, s)) return true;
    std::fwprintf(stderr, L"%ls: no visible window (pair %d, attempt %d)\n", name, pair, attempt);
  }
  return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int pairs = 20;
  bool verbose = false;
  for (int i = 1; i < argc; ++i) {
    if (std::wcscmp(argv[i], L"-v") == 0) {
      verbose = true;
    } else {
      pairs = std::max(1, _wtoi(argv[i]));
    }
  }
  // An everyday start: with nothing stored, every run would be a first run
  // and measure the profile editor it opens.
  if (!tabcard::e2e::StoreCompleteProfile({})) {
    std::fwprintf(stderr, L"bench_startup: cannot write the store\n");
    return 1;
  }
  std::wprintf(L"%d pairs after a warm-up pair, %ls and %ls in turns, medians\n", pairs, kMinimal,
               kTabcard);
  Series minimal, tabcard;
  std::vector<double> ratios;
  for (int pair = 0; pair <= pairs; ++pair) {
    Sample a, b;
    if (!Run(kMinimal, &a, pair) || !Run(kTabcard, &b, pair)) return 1;
    if (pair == 0) continue;
    minimal.Add(a);
    tabcard.Add(b);
    ratios.push_back(b.startMs / a.startMs);
    if (verbose) {
      std::wprintf(L"  pair %2d: %7.1f ms  %7.1f ms  ratio %.2f\n", pair, a.startMs, b.startMs,
                   ratios.back());
    }
  }
  minimal.Print(kMinimal);
  tabcard.Print(kTabcard);
  std::wprintf(L"ratio Tabcard / minimal: start %.2f (pair quartiles %.2f-%.2f, of the medians "
               L"%.2f), peak working set %.2f\n",
               Median(ratios), Quantile(ratios, 0.25), Quantile(ratios, 0.75),
               tabcard.MedianMs() / minimal.MedianMs(), tabcard.MedianKiB() / minimal.MedianKiB());
  return 0;
}
