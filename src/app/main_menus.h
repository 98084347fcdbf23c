// The main window's menus as data: the entries the program adds to the
// system menu and what they show each time it opens, and the popup menus of
// the tray icon, the memo grid and the list grid.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "forms/menu.h"
#include "store/hotkey.h"
#include "store/profile_store.h"

namespace tabcard {

// WM_SYSCOMMAND identifiers of the system-menu additions (compared with the
// whole wParam), then the WM_COMMAND identifiers of the popup menus. The
// popups stay below KojinMenu's range (kCmdKojinItemFirst, 0x2000 on).
enum CommandId : int {
  kSysMinimize = 256,
  kSysProperty = 257,
  kSysOption = 258,
  kSysHelp = 259,
  kSysAbout = 260,
  kSysTopMost = 261,
  kSysTabMode = 262,
  kSysReturn = 263,  // back to the window the show hotkey came from
  kSysUserFirst = 272,  // 272 + user number, 0..3
  kSysSeparatorFirst = 512,  // 512..515

  kMnuView = 0x1000,
  kMnuProp,
  kMnuOpt,
  kMnuAbout,
  kMnuHelp,
  kMnuExit,
  kMnuBackup,
  kMnuRestore,
  kMnuCopyMemo = 0x1010,
  kMnuDelMemo,
  kMnuAddList = 0x1020,
  kMnuDelList,
};

// The standard entries the additions replace or lean on.
constexpr int kScMaximize = 0xF030;
constexpr int kScMinimize = 0xF020;
// "最小化" goes before the first entry with this identifier: the standard
// separator above Close.
constexpr int kSysInsertBefore = 0;

// What the system menu shows of the main window's state.
struct SystemMenuState {
  UserNames userNames;
  int UserNo = 0;
  bool TabMode = false;
  bool WndTopMost = true;
  HotKey showHotKey = kNoHotKey;  // shown beside its entry
};

struct SystemMenuEntry {
  int command = 0;
  std::string caption;  // CP932
  bool separator = false;
  bool checked = false;
};

// Building the additions, on every showing of the window: remove by command
// (so a second showing adds nothing twice), insert the minimise entry before
// kSysInsertBefore, then append.
struct SystemMenuAdditions {
  std::vector<int> removed;
  SystemMenuEntry inserted;
  std::vector<SystemMenuEntry> appended;
};
SystemMenuAdditions SystemMenuLayout(const SystemMenuState& state);

// One entry's state as WM_INITMENU leaves it; what is not given stays.
struct SystemMenuUpdate {
  int command = 0;
  std::optional<std::string> caption;
  std::optional<bool> checked;
  std::optional<bool> grayed;
};
// In the order they are applied. Help, the TAB mode and the profiles are
// never grayed, so they work while the window is minimised.
std::vector<SystemMenuUpdate> SystemMenuInit(const SystemMenuState& state, bool minimised);

// TaskMenu: "表示" (with the show hotkey as its shortcut), separator,
// "プロパティ", "オプション", "ﾊﾞｰｼﾞｮﾝ情報", "バックアップ...", "復元...",
// "ヘルプ", separator, "終了". The backup entries are grayed while a dialog
// is open.
std::vector<MenuNode> TaskMenuLayout(HotKey showHotKey, bool dialogOpen);
// MemoMenu: "複写", "削除".
std::vector<MenuNode> MemoMenuLayout();
// ListMenu: "追加", "削除".
std::vector<MenuNode> ListMenuLayout();

}  // namespace tabcard
