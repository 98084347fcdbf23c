// The main window's state in the base key: bounds, always-on-top, the active
// page and the current user, read once at start-up and written on close.
#pragma once

#include <cstdint>

#include "store/placement.h"
#include "store/registry.h"

namespace tabcard {

struct WindowState {
  WindowBounds bounds;
  bool WndTopMost = true;
  int Page = 0;              // 0 個１, 1 個２, 2 メモ, 3 ﾘｽﾄ
  std::int32_t UserNo = 0;   // used as stored, even outside 0-3
  bool TabMode = false;      // written only; LoadSettings reads it
};

// Reads Top, Left, Height, Width, WndTopMost, Page, UserNo. A Page outside
// 0-3 leaves state->Page as the caller set it (the page now active). On any
// failure: DefaultWindowBounds of the primary screen, topmost, page 0, user 0,
// and false. The caller then puts the bounds through PlaceWindow.
bool LoadWindowState(RegistryBackend& backend, std::int32_t screenWidth, std::int32_t screenHeight,
                     WindowState* state);

// Writes Top, Left, Height, Width, WndTopMost, TabMode, Page (3 for any page
// beyond 2), UserNo, in this order.
bool SaveWindowState(RegistryBackend& backend, const WindowState& state);

}  // namespace tabcard
