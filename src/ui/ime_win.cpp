#include "ui/ime_win.h"

#include <imm.h>

namespace tabcard {

void ApplyImeMode(HWND window, forms::ImeMode mode) {
  if (mode == forms::ImeMode::AsIs || !GetSystemMetrics(SM_DBCSENABLED)) return;
  HIMC context = ImmGetContext(window);
  if (!context) return;
  ImmSetOpenStatus(context, TRUE);
  DWORD conversion = 0, sentence = 0;
  if (ImmGetConversionStatus(context, &conversion, &sentence)) {
    conversion &= ~static_cast<DWORD>(IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE);
    if (mode == forms::ImeMode::Hiragana) conversion |= IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE;
    ImmSetConversionStatus(context, conversion, sentence);
  }
  ImmReleaseContext(window, context);
}

}  // namespace tabcard
