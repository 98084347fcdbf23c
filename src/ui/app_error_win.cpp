#include "ui/app_error_win.h"

#include <new>
#include <string>

#include "core/strconv_win.h"

namespace tabcard {
namespace {

ErrorSink g_sink = nullptr;
bool g_boxOpen = false;

std::string CurrentMessage() {
  try {
    throw;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown error";
  }
}

}  // namespace

std::wstring ErrorBoxText(std::string_view message) {
  std::string text(message);
  text += '.';
  return Widen(text);
}

void ShowCurrentException(HWND owner) noexcept {
  try {
    const std::wstring text = ErrorBoxText(CurrentMessage());
    if (g_sink) {
      g_sink(text);
      return;
    }
    if (g_boxOpen) return;
    g_boxOpen = true;
    MessageBoxW(owner, text.c_str(), kAppTitle, MB_OK | MB_ICONERROR);
    g_boxOpen = false;
  } catch (...) {
    // Out of memory while building the text: nothing sensible is left to show.
    g_boxOpen = false;
  }
}

void Warn(HWND owner, std::wstring_view text, std::wstring_view caption) {
  MessageBoxW(owner, std::wstring(text).c_str(), std::wstring(caption).c_str(),
              MB_OK | MB_ICONEXCLAMATION);
}

void Warn(HWND owner, std::string_view text, std::string_view caption) {
  Warn(owner, std::wstring_view(Widen(text)), std::wstring_view(Widen(caption)));
}

bool Ask(HWND owner, std::string_view text, std::string_view caption) {
  return MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(),
                     MB_YESNO | MB_ICONINFORMATION) == IDYES;
}

void SetErrorSinkForTest(ErrorSink sink) { g_sink = sink; }

}  // namespace tabcard
