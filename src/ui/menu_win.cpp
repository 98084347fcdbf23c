#include "ui/menu_win.h"

#include <stdexcept>

#include "core/strconv_win.h"

namespace tabcard {
namespace {

void Append(HMENU menu, const std::vector<MenuNode>& nodes) {
  for (const MenuNode& node : nodes) {
    const std::wstring caption = Widen(node.caption);
    BOOL ok;
    if (node.separator) {
      ok = AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else if (node.command) {
      ok = AppendMenuW(menu, MF_STRING | (node.grayed ? MF_GRAYED : 0u),
                       static_cast<UINT_PTR>(node.command), caption.c_str());
    } else {
      PopupMenu sub(CreatePopupMenu());
      if (!sub.get()) throw std::runtime_error("CreatePopupMenu failed");
      Append(sub.get(), node.items);
      ok = AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub.get()), caption.c_str());
      if (ok) sub.Release();
    }
    if (!ok) throw std::runtime_error("AppendMenu failed");
  }
}

}  // namespace

PopupMenu::~PopupMenu() {
  if (menu_) DestroyMenu(menu_);
}

PopupMenu BuildPopupMenu(const std::vector<MenuNode>& nodes) {
  PopupMenu menu(CreatePopupMenu());
  if (!menu.get()) throw std::runtime_error("CreatePopupMenu failed");
  Append(menu.get(), nodes);
  return menu;
}

int TrackPopup(HWND owner, const PopupMenu& menu, POINT screen) {
  SetForegroundWindow(owner);
  const int command = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x,
                                     screen.y, 0, owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
  return command;
}

}  // namespace tabcard
