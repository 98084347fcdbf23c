// The application object: the process's own top-level window, hidden for
// good and titled "Tabcard.exe", which owns the main window so that the
// program never has a taskbar button; the help file's path; the message
// loop.
#pragma once

#include <windows.h>

#include <string>

#include "ui/window_win.h"

namespace tabcard {

inline constexpr wchar_t kAppWindowClass[] = L"TApplication";
inline constexpr wchar_t kHelpFileName[] = L"Tabcard.hlp";

class Application : public Window {
 public:
  Application();

  // "Tabcard.hlp" in the executable's directory, fixed at start-up.
  const std::wstring& HelpFile() const { return helpFile_; }

  // Runs until WM_QUIT, with the keyboard navigation of whichever form a
  // message is for.
  int Run();

 private:
  std::wstring helpFile_;
};

// The directory part of a module path with fileName appended.
std::wstring BesideModule(const std::wstring& modulePath, const wchar_t* fileName);

}  // namespace tabcard
