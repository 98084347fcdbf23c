// The fixture of the scenarios that drive a Tabcard.exe of their own with
// the receiving program beside it, over a store deleted before and after.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "harness.h"
#include "input.h"
#include "receiver_client.h"

namespace tabcard::e2e {

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override { DeleteBaseKey(); }
  void TearDown() override {
    receiver_.Close();
    if (program_.IsRunning()) program_.Close();
    DeleteBaseKey();
  }

  // A visible top-level window of the program by class, or null after kActMs.
  HWND WaitShown(const wchar_t* className) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindTopLevelNow({program_.pid(), className, true})); }, kActMs);
    return found;
  }

  void ClickButton(HWND button, const char* name) {
    ASSERT_NE(button, nullptr) << name;
    ASSERT_TRUE(Click(Centre(WindowBounds(button)))) << name;
  }

  TempDir dir_;
  Program program_;
  GridReader reader_;
  ReceiverApp receiver_{dir_.path()};
  HWND main_ = nullptr;
};

inline bool TopMost(HWND w) { return (GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// The keyboard focus of the window's thread, read across processes.
inline HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(ThreadOf(window), &info) ? info.hwndFocus : nullptr;
}

}  // namespace tabcard::e2e
