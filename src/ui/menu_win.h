// Popup menus from MenuNode tables, and the one way the program pops a menu
// up so that a click elsewhere closes it.
#pragma once

#include <windows.h>

#include <vector>

#include "forms/menu.h"

namespace tabcard {

// Owns a menu and its submenus.
class PopupMenu {
 public:
  explicit PopupMenu(HMENU menu) : menu_(menu) {}
  ~PopupMenu();
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;
  PopupMenu(PopupMenu&& other) noexcept : menu_(other.menu_) { other.menu_ = nullptr; }

  HMENU get() const { return menu_; }
  // Gives the menu up, to a parent menu that now destroys it.
  HMENU Release() {
    HMENU m = menu_;
    menu_ = nullptr;
    return m;
  }

 private:
  HMENU menu_;
};

// Throws std::runtime_error when the menu cannot be built.
PopupMenu BuildPopupMenu(const std::vector<MenuNode>& nodes);

// The popup recipe: owner to the foreground (so the menu closes when the
// user clicks elsewhere), TrackPopupMenu, then WM_NULL (so it closes at
// once). The chosen command, 0 for none.
int TrackPopup(HWND owner, const PopupMenu& menu, POINT screen);

}  // namespace tabcard
