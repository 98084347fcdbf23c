// KojinMenu as a Win32 popup menu, built from KojinMenuLayout.
#pragma once

#include <windows.h>

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

// Entries carry kCmdKojinItemFirst + item number as their command; throws
// std::runtime_error when the menu cannot be built.
PopupMenu BuildKojinMenu();

}  // namespace tabcard
