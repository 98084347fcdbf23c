// The receiving program of the transfer scenarios (receiver.exe beside this
// test program), driven by its WM_COPYDATA commands and read through the
// state file it dumps.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tabcard::e2e {

// Control ids of the receiver's form.
enum ReceiverControl : int {
  kEdit1 = 101,
  kEdit2 = 102,
  kMultiLine = 103,
  kRichEdit = 104,
  kPanelEdit = 111,
};

struct ReceiverState {
  bool foreground = false;
  int focus = -1;
  std::map<int, std::wstring> text;
  std::map<int, RECT> rect;
  std::map<int, HWND> hwnd;
  std::vector<std::wstring> log;

  // Focus, foreground and the message log, for a failure's message.
  std::string Describe() const;
};

class ReceiverApp {
 public:
  explicit ReceiverApp(std::wstring stateDir) : stateDir_(std::move(stateDir)) {}
  ~ReceiverApp();
  ReceiverApp(const ReceiverApp&) = delete;
  ReceiverApp& operator=(const ReceiverApp&) = delete;

  // Starts it at a screen position and waits for its window and first state;
  // with a menu bar when asked.
  bool Start(POINT pos, bool menuBar = false);
  HWND window() const { return window_; }
  DWORD pid() const { return pid_; }

  // The state now; none when the receiver did not answer within timeoutMs.
  std::optional<ReceiverState> Dump(DWORD timeoutMs = 2000) const;
  // Polls the state until pred holds; the last state read (pred may not hold).
  template <class Pred>
  std::optional<ReceiverState> WaitState(Pred&& pred, DWORD timeoutMs = 3000) const {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    std::optional<ReceiverState> last;
    for (;;) {
      if (auto s = Dump()) {
        last = std::move(s);
        if (pred(*last)) return last;
      }
      if (GetTickCount64() >= end) return last;
      Sleep(20);
    }
  }
  bool Clear() const;
  // The receiver's thread sleeps for ms right after answering.
  bool Hang(DWORD ms) const;
  bool Focus(int id) const;
  // WM_CLOSE, then ends it if it does not exit.
  void Close();

 private:
  bool Command(ULONG_PTR command, const void* data, DWORD size, DWORD timeoutMs) const;

  std::wstring stateDir_;
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  HWND window_ = nullptr;
};

}  // namespace tabcard::e2e
