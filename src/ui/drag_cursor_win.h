// The drag cursor that a drag of a cell or an item shows.
#pragma once

#include <windows.h>

#include "res/transfer_res.h"

namespace tabcard {

// From the program's resources (drag.cur); null when it cannot be loaded
// (a shared cursor: never destroyed).
inline HCURSOR LoadDragCursor() {
  return LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_DRAGCOPY));
}

}  // namespace tabcard
