#include "bench_run_win.h"

#include <algorithm>
#include <cwchar>

namespace tabcard::bench {
namespace {

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

}  // namespace

Args ParseArgs(int argc, wchar_t** argv, int defaultRounds) {
  Args args{defaultRounds};
  for (int i = 1; i < argc; ++i) {
    if (std::wcscmp(argv[i], L"-v") == 0) {
      args.verbose = true;
    } else {
      args.rounds = std::max(1, _wtoi(argv[i]));
    }
  }
  return args;
}

double NowMs() {
  static const LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

double Quantile(std::vector<double> v, double q) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const double at = q * static_cast<double>(v.size() - 1);
  const std::size_t lo = static_cast<std::size_t>(at);
  const std::size_t hi = std::min(lo + 1, v.size() - 1);
  return v[lo] + (v[hi] - v[lo]) * (at - static_cast<double>(lo));
}

double Median(const std::vector<double>& v) { return Quantile(v, 0.5); }

bool Answers(HWND window) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &ignored) != 0;
}

// The program's start waits until it is idle, which blocks without using a
// core; the search for the window polls only when the program went idle
// before showing one.
bool Started::Start(const std::wstring& exe, const std::wstring& workDir) {
  WaitForNoInstance();
  const double t0 = NowMs();
  if (!program_.Start(workDir, exe)) return false;
  const double deadline = NowMs() + kTimeoutMs;
  while (!window_ && NowMs() < deadline) {
    window_ = e2e::FindTopLevelNow({program_.pid(), nullptr, true});
    if (window_ || !program_.IsRunning()) break;
    Sleep(1);
  }
  if (window_) WaitForInputIdle(program_.process(), kTimeoutMs);
  startMs_ = NowMs() - t0;
  return window_ != nullptr;
}

void Started::Close() {
  if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
  program_.WaitExit(kTimeoutMs);
}

}  // namespace tabcard::bench
