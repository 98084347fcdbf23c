#include "app/system_menu_win.h"

#include <string>

#include "core/strconv_win.h"

namespace tabcard {

namespace {

UINT CheckFlag(bool checked) { return checked ? MF_CHECKED : MF_UNCHECKED; }

bool Append(HMENU menu, const SystemMenuEntry& entry) {
  const auto id = static_cast<UINT_PTR>(entry.command);
  if (entry.separator) return AppendMenuW(menu, MF_SEPARATOR, id, nullptr) != FALSE;
  const std::wstring caption = Widen(entry.caption);
  return AppendMenuW(menu, MF_STRING | CheckFlag(entry.checked), id, caption.c_str()) != FALSE;
}

}  // namespace

bool BuildSystemMenu(HWND window, const SystemMenuState& state) {
  HMENU menu = GetSystemMenu(window, FALSE);
  if (!menu) return false;
  const SystemMenuAdditions layout = SystemMenuLayout(state);
  // Missing entries fail to go, which is what the first showing expects.
  for (int id : layout.removed) RemoveMenu(menu, static_cast<UINT>(id), MF_BYCOMMAND);
  const std::wstring minimise = Widen(layout.inserted.caption);
  bool ok = InsertMenuW(menu, kSysInsertBefore, MF_BYCOMMAND | MF_STRING,
                        static_cast<UINT_PTR>(layout.inserted.command), minimise.c_str()) != FALSE;
  for (const SystemMenuEntry& entry : layout.appended) ok = Append(menu, entry) && ok;
  return ok;
}

void RefreshSystemMenu(HWND window, const SystemMenuState& state) {
  HMENU menu = GetSystemMenu(window, FALSE);
  if (menu) ApplySystemMenuUpdates(menu, SystemMenuInit(state, IsIconic(window) != FALSE));
}

void ApplySystemMenuUpdates(HMENU menu, const std::vector<SystemMenuUpdate>& updates) {
  for (const SystemMenuUpdate& u : updates) {
    const auto id = static_cast<UINT>(u.command);
    if (u.caption) {
      // ModifyMenu sets the whole state from its flags: keep the entry's
      // graying unless this update changes it.
      const UINT old = GetMenuState(menu, id, MF_BYCOMMAND);
      if (old == static_cast<UINT>(-1)) continue;
      const UINT kept = old & (MF_CHECKED | MF_GRAYED | MF_DISABLED);
      const std::wstring caption = Widen(*u.caption);
      ModifyMenuW(menu, id, MF_BYCOMMAND | MF_STRING | kept, id, caption.c_str());
    }
    if (u.checked) CheckMenuItem(menu, id, MF_BYCOMMAND | CheckFlag(*u.checked));
    if (u.grayed) EnableMenuItem(menu, id, MF_BYCOMMAND | (*u.grayed ? MF_GRAYED : MF_ENABLED));
  }
}

}  // namespace tabcard
