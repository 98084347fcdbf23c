// The application's error display: the one place where an escaped C++
// exception becomes a message box ("message." / "Tabcard.exe" / error icon),
// after which the program goes on. The procedure of the Window base, and so
// of every form, catches through here; the string grid's own procedure only
// drops a message whose handling ran out of memory.
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <string_view>

namespace tabcard {

// Caption of the error box and title of the hidden application window.
inline constexpr wchar_t kAppTitle[] = L"Tabcard.exe";

// Text of the box for an error message (CP932): the message and a full stop.
std::wstring ErrorBoxText(std::string_view message);

// Shows the box for the exception being handled; call only inside a catch.
// Never throws. An error raised while an earlier box is still open is
// dropped, so a failing paint cannot stack boxes without end.
void ShowCurrentException(HWND owner) noexcept;

// Runs f; an exception it raises is shown and swallowed. True when f
// returned normally.
template <class F>
bool RunReported(HWND owner, F&& f) noexcept {
  try {
    f();
    return true;
  } catch (...) {
    ShowCurrentException(owner);
    return false;
  }
}

// The boxes that tell the user of a failure or an input error (OK and the
// exclamation icon), and that ask (Yes and No and the information icon;
// true for Yes). Texts as UTF-16, or CP932 in the second forms.
void Warn(HWND owner, std::wstring_view text, std::wstring_view caption);
void Warn(HWND owner, std::string_view text, std::string_view caption);
bool Ask(HWND owner, std::string_view text, std::string_view caption);

// Lets the tests count boxes instead of opening them (no box when set).
using ErrorSink = void (*)(const std::wstring& text);
void SetErrorSinkForTest(ErrorSink sink);

}  // namespace tabcard
