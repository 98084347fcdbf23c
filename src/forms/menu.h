// A menu described as data: captions, commands, separators and
// submenus, built into a Win32 menu by menu_win.h.
#pragma once

#include <string>
#include <vector>

namespace tabcard {

struct MenuNode {
  std::string caption;          // CP932
  int command = 0;              // 0 for a submenu or a separator
  std::vector<MenuNode> items;  // the entries of a submenu
  bool separator = false;
  bool grayed = false;
};

inline MenuNode MenuSeparator() {
  MenuNode n;
  n.separator = true;
  return n;
}

}  // namespace tabcard
