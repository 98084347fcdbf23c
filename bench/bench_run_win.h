// What the benchmark drivers share: a clock, quantiles, and starting a
// program until its window is visible and answers.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tabcard::bench {

// Generous: a damaged store may take many seconds, and each wait ends as soon as it can.
constexpr DWORD kTimeoutMs = 30000;

double NowMs();
// The q-quantile (0..1) of v, interpolated between neighbours.
double Quantile(std::vector<double> v, double q);
double Median(const std::vector<double>& v);

// Tabcard ends at once while the marker of a running instance exists, and
// the one closed last may hold it a moment after its process has ended.
void WaitForNoInstance();

// One started program; ends it on destruction when it still runs.
class Started {
 public:
  Started() = default;
  ~Started();
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;

  // Starts exe in workDir (inherited when empty) and waits until a visible
  // top-level window of it exists and its thread waits for input. False
  // when none came within the timeout.
  bool Start(const std::wstring& exe, const std::wstring& workDir);
  // Milliseconds from process creation to that moment.
  double startMs() const { return startMs_; }
  HWND window() const { return window_; }
  DWORD pid() const { return pid_; }
  HANDLE process() const { return process_; }
  // Posts WM_CLOSE to the window and waits for the exit, ending the process
  // after the timeout.
  void Close();

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  HWND window_ = nullptr;
  double startMs_ = 0;
};

// Whether the window's thread answers a message within the timeout.
bool Answers(HWND window);

}  // namespace tabcard::bench
