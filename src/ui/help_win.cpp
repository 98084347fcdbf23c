#include "ui/help_win.h"

#include <shellapi.h>

#include "core/strconv_win.h"
#include "ui/app_error_win.h"
#include "ui/help.h"

namespace tabcard {
namespace {

static_assert(kWinHelpContext == HELP_CONTEXT && kWinHelpContents == HELP_CONTENTS);

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// ShellExecute reports success with a value above 32.
bool Launched(HINSTANCE result) { return reinterpret_cast<INT_PTR>(result) > 32; }

std::wstring Failure(const char* what, const std::wstring& path) {
  return Widen(what) + L"\n" + path;
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

std::wstring TryOpenHelp(HWND owner, const std::wstring& helpFile, int context) {
  const HelpPlan plan = PlanHelp(helpFile, FileExists(helpFile), context);
  if (plan.winHelp) {
    if (WinHelpW(owner, plan.file.c_str(), plan.command, plan.data)) return {};
    return Failure(kHelpFailedText, plan.file);
  }
  if (!FileExists(plan.file)) return Failure(kHelpMissingText, plan.file);
  if (OpenHtml(owner, plan)) return {};
  return Failure(kHelpFailedText, plan.file);
}

void OpenHelp(HWND owner, const std::wstring& helpFile, int context) {
  const std::wstring failure = TryOpenHelp(owner, helpFile, context);
  if (!failure.empty()) Warn(owner, std::wstring_view(failure), std::wstring_view(Widen(kHelpBoxCaption)));
}

}  // namespace tabcard
