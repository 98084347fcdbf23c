// The item menu KojinMenu of the personal pages: one entry per catalogue
// item, captioned with the item name, in five submenus and two entries at the
// top level. Every entry runs mnuKnjShimeiClick with its caption.
#pragma once

#include <string>
#include <vector>

#include "ui/menu.h"

namespace tabcard {

// WM_COMMAND identifiers of the entries: the first plus the item number.
constexpr int kCmdKojinItemFirst = 0x2000;

// The top level of KojinMenu: "氏名", "連絡先", "住所", "勤務先情報", "ｅｔｃ",
// then "職業" and "年齢".
std::vector<MenuNode> KojinMenuLayout();

// The caption of the entry with that command; empty for another command.
std::string KojinMenuCaption(int command);

}  // namespace tabcard
