#include "app/kojin_menu_win.h"

#include <stdexcept>
#include <vector>

#include "app/kojin_menu.h"
#include "ui/strconv_win.h"

namespace tabcard {

namespace {

void Append(HMENU menu, const std::vector<MenuNode>& nodes) {
  for (const MenuNode& node : nodes) {
    const std::wstring caption = Widen(node.caption);
    BOOL ok;
    if (node.command) {
      ok = AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(node.command), caption.c_str());
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

PopupMenu BuildKojinMenu() {
  PopupMenu menu(CreatePopupMenu());
  if (!menu.get()) throw std::runtime_error("CreatePopupMenu failed");
  Append(menu.get(), KojinMenuLayout());
  return menu;
}

}  // namespace tabcard
