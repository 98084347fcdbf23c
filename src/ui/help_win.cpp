#include "ui/help_win.h"

#include <shellapi.h>

#include "ui/help.h"
#include "core/strconv_win.h"

namespace tabcard {
namespace {

static_assert(kWinHelpContext == HELP_CONTEXT && kWinHelpContents == HELP_CONTENTS);

HelpMessageSink g_sink = nullptr;

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// ShellExecute reports success with a value above 32.
bool Launched(HINSTANCE result) { return reinterpret_cast<INT_PTR>(result) > 32; }

void Tell(HWND owner, const char* what, const std::wstring& path) {
  const std::wstring text = Widen(what) + L"\n" + path;
  if (g_sink) {
    g_sink(text);
    return;
  }
  MessageBoxW(owner, text.c_str(), Widen(kHelpBoxCaption).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

bool OpenHtml(HWND owner, const HelpPlan& plan) {
  // The shell turns a file: URL back into a path and drops its "#anchor",
  // so the URL goes as the argument to the program that opens .html files.
  wchar_t browser[MAX_PATH] = {};
  if (!plan.url.empty() && Launched(FindExecutableW(plan.file.c_str(), nullptr, browser))) {
    const std::wstring argument = L"\"" + plan.url + L"\"";
    if (Launched(ShellExecuteW(owner, L"open", browser, argument.c_str(), nullptr, SW_SHOWNORMAL))) {
      return true;
    }
  }
  // Without the anchor the user still gets the help, at its top.
  return Launched(ShellExecuteW(owner, L"open", plan.file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

}  // namespace

bool OpenHelp(HWND owner, const std::wstring& helpFile, int context) {
  const HelpPlan plan = PlanHelp(helpFile, FileExists(helpFile), context);
  if (plan.winHelp) {
    if (WinHelpW(owner, plan.file.c_str(), plan.command, plan.data)) return true;
    Tell(owner, kHelpFailedText, plan.file);
    return false;
  }
  if (!FileExists(plan.file)) {
    Tell(owner, kHelpMissingText, plan.file);
    return false;
  }
  if (OpenHtml(owner, plan)) return true;
  Tell(owner, kHelpFailedText, plan.file);
  return false;
}

void SetHelpMessageSinkForTest(HelpMessageSink sink) { g_sink = sink; }

}  // namespace tabcard
