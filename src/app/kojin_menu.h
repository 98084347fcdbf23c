// The item menu KojinMenu of the personal pages: one entry per catalogue
// item, captioned with the item name, in five submenus and two entries at the
// top level. Choosing an entry sends its item.
#pragma once

#include <string>
#include <vector>

#include "forms/menu.h"

namespace tabcard {

// WM_COMMAND identifiers of the entries: the first plus the item number.
constexpr int kCmdKojinItemFirst = 0x2000;

// The top level of KojinMenu: "氏名", "連絡先", "住所", "勤務先情報", "ｅｔｃ",
// then "職業" and "年齢".
std::vector<MenuNode> KojinMenuLayout();

// The item number of the entry with that command; -1 for another command.
int KojinMenuItem(int command);

}  // namespace tabcard
