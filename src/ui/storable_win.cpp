#include "ui/storable_win.h"

#include <string>

#include "core/strconv_win.h"
#include "ui/app_error_win.h"
#include "ui/window_win.h"

namespace tabcard {

bool CheckStorable(HWND owner, HWND edit, std::wstring_view label, std::wstring_view caption) {
  const std::wstring text = WindowRef(edit).Text();
  const auto bad = FirstUnstorable(text);
  if (!bad) return true;
  const std::wstring message = L"「" + std::wstring(label) + L"」の「" +
                               text.substr(bad->offset, bad->length) +
                               L"」は保存できない文字です。別の文字に置き換えてください。";
  Warn(owner, std::wstring_view(message), caption);
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, bad->offset, bad->offset + bad->length);
  return false;
}

}  // namespace tabcard
