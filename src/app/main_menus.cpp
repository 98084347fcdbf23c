#include "app/main_menus.h"

namespace tabcard {

namespace {

constexpr int kSysSeparatorCount = 4;

SystemMenuEntry Command(int command, const char* caption, bool checked = false) {
  return SystemMenuEntry{command, caption, false, checked};
}

SystemMenuEntry Separator(int index) {
  return SystemMenuEntry{kSysSeparatorFirst + index, {}, true, false};
}

MenuNode Item(const char* caption, int command) { return MenuNode{caption, command, {}}; }

// A caption with a hotkey as menus show a shortcut: after a tab.
std::string WithShortcut(const char* caption, HotKey key) {
  const std::string chord = ChordText(key);
  return chord.empty() ? std::string(caption) : std::string(caption) + "\t" + chord;
}

}  // namespace

SystemMenuAdditions SystemMenuLayout(const SystemMenuState& state) {
  SystemMenuAdditions menu;
  menu.removed = {kScMaximize, kScMinimize, kSysMinimize};
  for (int i = 0; i < kUserCount; ++i) menu.removed.push_back(kSysUserFirst + i);
  for (int id : {kSysReturn, kSysProperty, kSysOption, kSysHelp, kSysAbout, kSysTabMode,
                 kSysTopMost}) {
    menu.removed.push_back(id);
  }
  for (int i = 0; i < kSysSeparatorCount; ++i) menu.removed.push_back(kSysSeparatorFirst + i);

  menu.inserted = Command(kSysMinimize, "最小化");

  auto& a = menu.appended;
  a.push_back(SystemMenuEntry{kSysReturn, WithShortcut("元のウィンドウに戻る", state.showHotKey)});
  a.push_back(Separator(0));
  for (int i = 0; i < kUserCount; ++i) {
    a.push_back(SystemMenuEntry{kSysUserFirst + i, state.userNames[static_cast<std::size_t>(i)],
                                false, i == state.UserNo});
  }
  a.push_back(Separator(1));
  a.push_back(Command(kSysProperty, "プロパティ"));
  a.push_back(Command(kSysOption, "オプション"));
  a.push_back(Separator(2));
  a.push_back(Command(kSysHelp, "ヘルプ"));
  a.push_back(Command(kSysAbout, "ﾊﾞｰｼﾞｮﾝ情報"));
  a.push_back(Separator(3));
  a.push_back(Command(kSysTabMode, "複写後にTAB挿入", state.TabMode));
  a.push_back(Command(kSysTopMost, "常に手前表示", state.WndTopMost));
  return menu;
}

std::vector<SystemMenuUpdate> SystemMenuInit(const SystemMenuState& state, bool minimised) {
  std::vector<SystemMenuUpdate> updates;
  for (int i = 0; i < kUserCount; ++i) {
    SystemMenuUpdate u;
    u.command = kSysUserFirst + i;
    u.caption = state.userNames[static_cast<std::size_t>(i)];
    u.checked = i == state.UserNo;
    updates.push_back(u);
  }
  for (int id : {kSysMinimize, kSysProperty, kSysOption, kSysAbout}) {
    SystemMenuUpdate u;
    u.command = id;
    u.grayed = minimised;
    updates.push_back(u);
  }
  SystemMenuUpdate tab;
  tab.command = kSysTabMode;
  tab.checked = state.TabMode;
  updates.push_back(tab);
  SystemMenuUpdate top;
  top.command = kSysTopMost;
  top.checked = state.WndTopMost;
  top.grayed = minimised;
  updates.push_back(top);
  return updates;
}

std::vector<MenuNode> TaskMenuLayout(HotKey showHotKey, bool dialogOpen) {
  MenuNode backup = Item("バックアップ...", kMnuBackup);
  MenuNode restore = Item("復元...", kMnuRestore);
  backup.grayed = restore.grayed = dialogOpen;
  return {MenuNode{WithShortcut("表示", showHotKey), kMnuView, {}},
          MenuSeparator(),
          Item("プロパティ", kMnuProp),
          Item("オプション", kMnuOpt),
          Item("ﾊﾞｰｼﾞｮﾝ情報", kMnuAbout),
          backup,
          restore,
          Item("ヘルプ", kMnuHelp),
          MenuSeparator(),
          Item("終了", kMnuExit)};
}

std::vector<MenuNode> MemoMenuLayout() {
  return {Item("複写", kMnuCopyMemo), Item("削除", kMnuDelMemo)};
}

std::vector<MenuNode> ListMenuLayout() {
  return {Item("追加", kMnuAddList), Item("削除", kMnuDelList)};
}

}  // namespace tabcard
