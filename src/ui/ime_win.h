// The input method modes of edit boxes: set when a box gets the focus, so
// a name field opens in hiragana and a telephone field in half-width.
#pragma once

#include <windows.h>

#include "forms/form.h"

namespace tabcard {

// Opens the IME of window's input context and sets the conversion mode of
// `mode`, keeping the bits it does not decide. Nothing for AsIs, nor on a
// system without a double-byte code page.
void ApplyImeMode(HWND window, forms::ImeMode mode);

}  // namespace tabcard
