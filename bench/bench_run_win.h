// What the benchmark drivers share: their arguments, a clock, quantiles,
// and starting a program until its window is visible and answers.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "harness.h"

namespace tabcard::bench {

// Generous: a damaged store may take many seconds, and each wait ends as
// soon as it can.
constexpr DWORD kTimeoutMs = 30000;

// "[rounds] [-v]": the number of counted rounds (at least 1) and whether to
// print each one.
struct Args {
  int rounds;
  bool verbose = false;
};
Args ParseArgs(int argc, wchar_t** argv, int defaultRounds);

double NowMs();
// The q-quantile (0..1) of v, interpolated between neighbours.
double Quantile(std::vector<double> v, double q);
double Median(const std::vector<double>& v);

// Whether the window's thread answers a message within the timeout.
bool Answers(HWND window);

// One started program; ended on destruction when it still runs.
class Started {
 public:
  // Starts exe in workDir (inherited when empty) and waits until a visible
  // top-level window of it exists and its thread waits for input. False
  // when none came within the timeout.
  bool Start(const std::wstring& exe, const std::wstring& workDir);
  // Milliseconds from process creation to that moment.
  double startMs() const { return startMs_; }
  HWND window() const { return window_; }
  DWORD pid() const { return program_.pid(); }
  HANDLE process() const { return program_.process(); }
  // Posts WM_CLOSE to the window and waits for the exit; the destructor
  // ends a process that did not.
  void Close();

 private:
  e2e::Program program_;
  HWND window_ = nullptr;
  double startMs_ = 0;
};

}  // namespace tabcard::bench
