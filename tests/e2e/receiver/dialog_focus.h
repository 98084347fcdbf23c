// Dialog-like focus for a plain window holding edit controls, so the test
// "other applications" behave as forms do: IsDialogMessage's TAB moves the
// focus, and activation gives the focus back to the field used last.
#pragma once

#include <windows.h>

namespace tabcard::testing {

constexpr wchar_t kLastFocus[] = L"LastFocus";

// True when msg was handled; *result is then the window procedure's answer.
inline bool HandleDialogFocus(HWND hwnd, UINT msg, WPARAM wp, LRESULT* result) {
  *result = 0;
  switch (msg) {
    case WM_NEXTDLGCTL:
      SetFocus(GetNextDlgTabItem(hwnd, GetFocus(), wp != 0));
      return true;
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd, focus)) SetPropW(hwnd, kLastFocus, focus);
        return false;
      }
      if (HWND last = static_cast<HWND>(GetPropW(hwnd, kLastFocus)); last && IsWindow(last)) {
        SetFocus(last);
        return true;
      }
      return false;
    default:
      return false;
  }
}

}  // namespace tabcard::testing
