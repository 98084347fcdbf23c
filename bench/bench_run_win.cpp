#include "bench_run_win.h"

#include <algorithm>

#include "harness.h"

namespace tabcard::bench {

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

void WaitForNoInstance() {
  const double deadline = NowMs() + kTimeoutMs;
  while (NowMs() < deadline) {
    HANDLE marker = OpenMutexW(SYNCHRONIZE, FALSE, L"AppMutex");
    if (!marker) return;
    CloseHandle(marker);
    Sleep(5);
  }
}

bool Answers(HWND window) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &ignored) != 0;
}

Started::~Started() {
  if (!process_) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) TerminateProcess(process_, 1);
  CloseHandle(process_);
}

// WaitForInputIdle blocks without using a core; the search for the window
// polls only when the program went idle before showing one.
bool Started::Start(const std::wstring& exe, const std::wstring& workDir) {
  WaitForNoInstance();
  std::wstring cmd = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  const double t0 = NowMs();
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workDir.empty() ? nullptr : workDir.c_str(), &si, &pi)) {
    return false;
  }
  CloseHandle(pi.hThread);
  process_ = pi.hProcess;
  pid_ = pi.dwProcessId;
  WaitForInputIdle(process_, kTimeoutMs);
  const double deadline = NowMs() + kTimeoutMs;
  while (!window_ && NowMs() < deadline) {
    window_ = e2e::FindTopLevelNow({pid_, nullptr, true});
    if (window_ || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) break;
    Sleep(1);
  }
  if (window_) WaitForInputIdle(process_, kTimeoutMs);
  startMs_ = NowMs() - t0;
  return window_ != nullptr;
}

void Started::Close() {
  if (!process_) return;
  if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process_, kTimeoutMs) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
  CloseHandle(process_);
  process_ = nullptr;
}

}  // namespace tabcard::bench
