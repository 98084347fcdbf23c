// Start-up benchmark: how long Tabcard.exe takes from process creation to a
// visible palette that waits for input, and its peak working set, side by
// side with a minimal Win32 program under the same system (Wine or Windows).
//
//   bench_startup.exe [runs]     (default 10; both programs sit beside it)
//
// Prints one line per program (median and range of the start times, median
// peak working set) and the ratios Tabcard / minimal.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr DWORD kTimeoutMs = 10000;

struct Sample {
  double startMs = 0;
  SIZE_T peakWorkingSet = 0;
};

struct FindData {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindVisible(HWND hwnd, LPARAM lp) {
  auto* d = reinterpret_cast<FindData*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == d->pid && IsWindowVisible(hwnd)) {
    d->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

std::wstring BinDir() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path);
  return p.substr(0, p.find_last_of(L"\\/") + 1);
}

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

// One run: start, wait until idle with a visible window, measure, close.
bool RunOnce(const std::wstring& exe, Sample* out) {
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
  FindData d{pi.dwProcessId, nullptr};
  const double deadline = NowMs() + kTimeoutMs;
  while (!d.found && NowMs() < deadline) {
    EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&d));
    if (!d.found) Sleep(1);
  }
  if (d.found) WaitForInputIdle(pi.hProcess, kTimeoutMs);
  out->startMs = NowMs() - t0;
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof(pmc);
  if (GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof(pmc))) out->peakWorkingSet = pmc.PeakWorkingSetSize;
  if (d.found) PostMessageW(d.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, kTimeoutMs) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hProcess);
  return d.found != nullptr;
}

template <class T>
T Median(std::vector<T> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct Summary {
  double medianMs = 0, minMs = 0, maxMs = 0;
  double peakKiB = 0;
};

bool Measure(const wchar_t* name, int runs, Summary* s) {
  const std::wstring exe = BinDir() + name;
  std::vector<double> times;
  std::vector<SIZE_T> peaks;
  for (int i = 0; i < runs; ++i) {
    Sample sample;
    if (!RunOnce(exe, &sample)) {
      std::fwprintf(stderr, L"%ls: no visible window (run %d)\n", name, i + 1);
      return false;
    }
    times.push_back(sample.startMs);
    peaks.push_back(sample.peakWorkingSet);
  }
  s->medianMs = Median(times);
  s->minMs = *std::min_element(times.begin(), times.end());
  s->maxMs = *std::max_element(times.begin(), times.end());
  s->peakKiB = static_cast<double>(Median(peaks)) / 1024.0;
  std::wprintf(L"%-16ls start %8.1f ms (min %.1f, max %.1f)   peak working set %8.0f KiB\n", name,
               s->medianMs, s->minMs, s->maxMs, s->peakKiB);
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 10;
  std::wprintf(L"%d runs each, median\n", runs);
  Summary minimal, tabcard;
  // Alternating would mix warm-up effects into both; one warm-up run each first.
  Sample warm;
  RunOnce(BinDir() + L"bench_minimal.exe", &warm);
  RunOnce(BinDir() + L"Tabcard.exe", &warm);
  if (!Measure(L"bench_minimal.exe", runs, &minimal) || !Measure(L"Tabcard.exe", runs, &tabcard)) {
    return 1;
  }
  std::wprintf(L"ratio Tabcard / minimal: start %.2f, peak working set %.2f\n",
               tabcard.medianMs / minimal.medianMs, tabcard.peakKiB / minimal.peakKiB);
  return 0;
}
