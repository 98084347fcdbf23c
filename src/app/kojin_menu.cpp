#include "app/kojin_menu.h"

#include <cstring>

#include "store/catalogue.h"

namespace tabcard {

namespace {

constexpr const char* kSubmenus[] = {"氏名", "連絡先", "住所", "勤務先情報", "ｅｔｃ"};

MenuNode Entry(int item) {
  return MenuNode{kCatalogue[static_cast<std::size_t>(item)].name, kCmdKojinItemFirst + item, {}};
}

}  // namespace

std::vector<MenuNode> KojinMenuLayout() {
  std::vector<MenuNode> top;
  for (const char* submenu : kSubmenus) {
    MenuNode node{submenu, 0, {}};
    for (int i = 0; i < kItemCount; ++i) {
      const char* home = kCatalogue[static_cast<std::size_t>(i)].submenu;
      if (home && std::strcmp(home, submenu) == 0) node.items.push_back(Entry(i));
    }
    top.push_back(std::move(node));
  }
  for (int i = 0; i < kItemCount; ++i) {
    if (!kCatalogue[static_cast<std::size_t>(i)].submenu) top.push_back(Entry(i));
  }
  return top;
}

int KojinMenuItem(int command) {
  const int item = command - kCmdKojinItemFirst;
  return item >= 0 && item < kItemCount ? item : -1;
}

}  // namespace tabcard
