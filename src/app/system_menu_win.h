// The system-menu additions of the main window, applied from the tables of
// main_menus.h.
#pragma once

#include <windows.h>

#include <vector>

#include "app/main_menus.h"

namespace tabcard {

// FormShow's first step: the window's own system menu (never reverted) loses
// the additions and the standard minimise and maximise entries, then gets the
// additions again. False when an entry could not be added.
bool BuildSystemMenu(HWND window, const SystemMenuState& state);

// WM_INITMENU: captions, check marks and graying as the window's state is
// now; the graying follows IsIconic.
void RefreshSystemMenu(HWND window, const SystemMenuState& state);

// The updates themselves, by command, on any menu.
void ApplySystemMenuUpdates(HMENU menu, const std::vector<SystemMenuUpdate>& updates);

}  // namespace tabcard
