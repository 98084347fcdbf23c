// The program in the notification area and its commands as a user meets
// them: the icon and its menu, starting and closing into the tray, the
// system menu's commands, the memo and list menus and the two small dialogs.
// The icon's notifications are posted to the tray window as the shell
// would send them; menus are worked with the keyboard.
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_menus.h"
#include "app/main_window_win.h"
#include "core/strconv_win.h"
#include "forms/dialog_forms.h"
#include "forms/main_form.h"
#include "app_test.h"
#include "harness.h"
#include "input.h"
#include "palette_setup.h"
#include "receiver_client.h"
#include "tray/task_tray_win.h"

namespace tabcard::e2e {
namespace {

constexpr UINT kTrayNotify = WM_USER + 1;
constexpr DWORD kFocusSettleMs = 500;

// A modify that changes nothing succeeds only for an icon the shell holds.
bool ShellHoldsIcon(HWND tray) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof(nid);
  nid.hWnd = tray;
  nid.uID = 1;
  return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

std::optional<ULONGLONG> FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

class TrayTest : public AppTest {
 protected:
  void Start(const PaletteSetup& setup) {
    ASSERT_TRUE(StoreCompleteProfile(setup));
    ASSERT_TRUE(program_.Start(dir_.path()));
    main_ = program_.TopLevel(kMainWindowClass);
    tray_ = program_.TopLevel(kTrayWindowClass);
    ASSERT_NE(main_, nullptr);
    ASSERT_NE(tray_, nullptr);
  }

  void Notify(UINT mouseMessage) { PostMessageW(tray_, kTrayNotify, 1, mouseMessage); }

  // Waits for the program's menu and for the keyboard to reach it: keys
  // reach the menu once its program has the foreground and the menu has
  // settled.
  void WaitForMenu() {
    ASSERT_TRUE(WaitFor([&] { return VisibleMenus(program_.pid()) == 1; }, kActMs)) << "no menu";
    ASSERT_TRUE(WaitFor(
        [&] {
          DWORD pid = 0;
          GetWindowThreadProcessId(GetForegroundWindow(), &pid);
          return pid == program_.pid();
        },
        kActMs));
    PumpFor(kMenuSettleMs);
  }

  // Picks an entry of the open menu with the keyboard: ups from the bottom
  // (Up from no selection takes the last entry) or downs from the top.
  void Choose(int downs, int ups) {
    std::vector<WORD> keys(static_cast<std::size_t>(downs), VK_DOWN);
    keys.insert(keys.end(), static_cast<std::size_t>(ups), VK_UP);
    keys.push_back(VK_RETURN);
    ASSERT_TRUE(PressKeys(keys));
    ASSERT_TRUE(WaitFor([&] { return VisibleMenus(program_.pid()) == 0; }, kActMs));
  }

  void OpenMenuAndChoose(int downs, int ups) {
    ASSERT_NO_FATAL_FAILURE(WaitForMenu());
    ASSERT_NO_FATAL_FAILURE(Choose(downs, ups));
  }

  void RightClickCell(HWND grid, int col, int row) {
    const POINT p = reader_.CellCentre(grid, col, row);
    ASSERT_NE(p.x, -1);
    ASSERT_TRUE(RightClick(p));
  }

  HWND tray_ = nullptr;
};

// The tray and the system menu also run in the C locale.
using SmokeTrayTest = TrayTest;

// The icon survives a restarted shell, closing hides into the tray, a
// double-click brings the palette back and 終了 ends it, saving its state.
TEST_F(SmokeTrayTest, IconComesBackClosingHidesAndExitEnds) {
  ASSERT_NO_FATAL_FAILURE(Start({kPageKojin1, false, false, true}));
  ASSERT_NE(program_.MainWindow(), nullptr);
  ASSERT_TRUE(WaitFor([&] { return ShellHoldsIcon(tray_); }, kActMs)) << "no icon added";

  // What a restarted Explorer looks like to us: the icon gone, then the broadcast.
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof(nid);
  nid.hWnd = tray_;
  nid.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &nid));
  ASSERT_FALSE(ShellHoldsIcon(tray_));
  SendMessageTimeoutW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0,
                      SMTO_ABORTIFHUNG, 2000, nullptr);
  EXPECT_TRUE(WaitFor([&] { return ShellHoldsIcon(tray_); }, kActMs)) << "not added again";

  SetWindowPos(main_, nullptr, 300, 320, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(main_); }, kActMs));
  EXPECT_TRUE(program_.IsRunning());
  EXPECT_EQ(GetDword(Key(), L"Top"), std::optional<DWORD>(320));

  Notify(WM_LBUTTONDBLCLK);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main_) != FALSE; }, kActMs));

  // A left click opens nothing: the minimize posted after it is done only
  // once the program has handled the click. A double-click restores.
  SetWindowPos(main_, nullptr, 310, 330, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Notify(WM_LBUTTONDOWN);
  Notify(WM_LBUTTONUP);
  PostMessageW(main_, WM_SYSCOMMAND, kSysMinimize, 0);
  ASSERT_TRUE(WaitFor([&] { return IsIconic(main_) != FALSE; }, kActMs));
  EXPECT_EQ(VisibleMenus(program_.pid()), 0) << "a left click opened a menu";
  Notify(WM_LBUTTONDBLCLK);
  ASSERT_TRUE(WaitFor([&] { return !IsIconic(main_); }, kActMs));
  // The restore moves the display's focus, and Wine cancels a menu that is
  // open when a late report of that arrives: the menu waits for it to pass.
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == main_; }, kActMs));
  PumpFor(kFocusSettleMs);

  Notify(WM_RBUTTONUP);
  ASSERT_NO_FATAL_FAILURE(WaitForMenu());
  SaveScreenshot(VisibleMenu(program_.pid()), L"tray_menu");
  ASSERT_NO_FATAL_FAILURE(Choose(0, 1));  // 終了, the last entry
  EXPECT_EQ(program_.WaitExit(kExitTimeoutMs), std::optional<DWORD>(0));
  EXPECT_EQ(GetDword(Key(), L"Top"), std::optional<DWORD>(330));
}

TEST_F(SmokeTrayTest, BootInTaskTrayStartsWithTheIconOnlyUntilShown) {
  ASSERT_NO_FATAL_FAILURE(Start({kPageKojin1, false, true, false}));
  ASSERT_TRUE(WaitFor([&] { return ShellHoldsIcon(tray_); }, kActMs));
  // The menu opens after all the program had queued before the click: a
  // start that showed the window would have shown it by then.
  Notify(WM_RBUTTONUP);
  ASSERT_NO_FATAL_FAILURE(WaitForMenu());
  EXPECT_FALSE(IsWindowVisible(main_));
  ASSERT_NO_FATAL_FAILURE(Choose(1, 0));  // 表示
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main_) != FALSE; }, kActMs));
  EXPECT_EQ(program_.Close(), std::optional<DWORD>(0));
}

TEST_F(SmokeTrayTest, SystemCommandsToggleTopMostTabAfterADragAndTheProfile) {
  ASSERT_NO_FATAL_FAILURE(Start({}));
  ASSERT_TRUE(PutString(Key(L"\\User2"), L"KanjSei", L"佐藤"));
  ASSERT_TRUE(PutString(Key(L"\\User2"), L"KanjMei", L"花子"));
  ASSERT_NE(program_.MainWindow(), nullptr);
  ASSERT_TRUE(TopMost(main_));
  PostMessageW(main_, WM_SYSCOMMAND, kSysTopMost, 0);
  EXPECT_TRUE(WaitFor([&] { return !TopMost(main_); }, kActMs));
  PostMessageW(main_, WM_SYSCOMMAND, kSysTopMost, 0);
  EXPECT_TRUE(WaitFor([&] { return TopMost(main_); }, kActMs));

  // The second profile and TAB mode: a drag of 氏名 now types its name and
  // moves the receiver on to the next field.
  PostMessageW(main_, WM_SYSCOMMAND, kSysUserFirst + 1, 0);
  PostMessageW(main_, WM_SYSCOMMAND, kSysTabMode, 0);
  ASSERT_TRUE(receiver_.Start(kReceiverPos));
  const auto fields = receiver_.Dump();
  ASSERT_TRUE(fields.has_value());
  HWND grid = Control(main_, forms::kMainGrids[kPageKojin1]);
  const POINT from = reader_.CellCentre(grid, 0, 0);
  ASSERT_GE(from.x, 0);
  ASSERT_TRUE(Drag(from, Centre(fields->rect.at(kEdit2))));
  const auto state = receiver_.WaitState(
      [](const ReceiverState& r) { return r.focus == kMultiLine; }, kActMs);
  ASSERT_TRUE(state.has_value());
  EXPECT_EQ(state->text.at(kEdit2), L"佐藤花子") << state->Describe();

  PostMessageW(main_, WM_SYSCOMMAND, kSysMinimize, 0);
  EXPECT_TRUE(WaitFor([&] { return IsIconic(main_) != FALSE; }, kActMs));
  PostMessageW(main_, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsIconic(main_); }, kActMs));

  ASSERT_EQ(program_.Close(), std::optional<DWORD>(0));
  EXPECT_EQ(GetDword(Key(), L"TabMode"), std::optional<DWORD>(1));
  EXPECT_EQ(GetDword(Key(), L"UserNo"), std::optional<DWORD>(1));
  EXPECT_EQ(GetDword(Key(), L"WndTopMost"), std::optional<DWORD>(1));
}

TEST_F(TrayTest, MemoMenuStoresTheWholeClipboardAndEmptiesTheFile) {
  ASSERT_NO_FATAL_FAILURE(Start({kPageMemo}));
  ASSERT_NE(program_.MainWindow(), nullptr);
  HWND grid = Control(main_, forms::kMainGrids[kPageMemo]);
  // 300 bytes whose byte 200 starts 漢: the title keeps the first 199.
  const std::wstring text = std::wstring(199, L'a') + L"漢" + std::wstring(99, L'b');
  ASSERT_TRUE(PutClipboardUnicode(text));
  const std::wstring file = dir_.path() + L"\\Memo000.txt";

  ASSERT_NO_FATAL_FAILURE(RightClickCell(grid, 0, 0));
  ASSERT_NO_FATAL_FAILURE(OpenMenuAndChoose(1, 0));  // 複写
  EXPECT_TRUE(WaitFor([&] { return FileSize(file) == std::optional<ULONGLONG>(300); }, kActMs));
  EXPECT_EQ(reader_.CellOr(grid, 0, 0), std::string(199, 'a'));

  ASSERT_NO_FATAL_FAILURE(RightClickCell(grid, 0, 0));
  ASSERT_NO_FATAL_FAILURE(OpenMenuAndChoose(2, 0));  // 削除
  EXPECT_TRUE(WaitFor([&] { return FileSize(file) == std::optional<ULONGLONG>(0); }, kActMs));
  EXPECT_EQ(reader_.CellOr(grid, 0, 0), "");
}

TEST_F(TrayTest, ListEntryDialogAppendsAndStoresAndCancelOrEmptyChangeNothing) {
  ASSERT_NO_FATAL_FAILURE(Start({kPageList}));
  ASSERT_NE(program_.MainWindow(), nullptr);
  HWND grid = Control(main_, forms::kMainGrids[kPageList]);
  const std::wstring phrase = L"お世話になっております。";
  ASSERT_TRUE(PutClipboardUnicode(phrase));
  using L = forms::ListDlgControl;

  // Opens 追加 and waits for the dialog; the palette is disabled and lowered meanwhile.
  auto open = [&]() -> HWND {
    RightClickCell(grid, 0, 0);
    OpenMenuAndChoose(1, 0);
    HWND dlg = nullptr;
    WaitFor([&] { return (dlg = FindTopLevelNow({program_.pid(), L"TfrmListDlg", true})); },
            kActMs);
    return dlg;
  };
  HWND dlg = open();
  ASSERT_NE(dlg, nullptr);
  EXPECT_FALSE(IsWindowEnabled(main_));
  EXPECT_FALSE(TopMost(main_));
  HWND memo = Control(dlg, L::txtListMemo, 1000);
  HWND hint = Control(dlg, L::txtListHint, 1000);
  EXPECT_EQ(ControlText(memo), phrase);
  // TAB follows the table: the phrase, the copy button, the hint.
  EXPECT_TRUE(WaitFor([&] { return FocusOf(dlg) == memo; }, kActMs));
  ASSERT_TRUE(PressKey(VK_TAB));
  EXPECT_TRUE(WaitFor([&] { return FocusOf(dlg) == Control(dlg, L::cmdCopy, 1000); }, kActMs));
  ASSERT_TRUE(PressKey(VK_SPACE));  // 登録内容をコピー
  EXPECT_TRUE(WaitFor([&] { return ControlText(hint) == phrase; }, kActMs));
  // A character the store cannot hold: the dialog says so, selects it and stays.
  SendMessageW(hint, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"吉\U00020BB7"));
  ASSERT_TRUE(PressKey(VK_TAB));
  ASSERT_TRUE(PressKey(VK_RETURN));  // the default button
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] { return (box = FindTopLevelNow({program_.pid(), L"#32770", true})) != nullptr; },
      kActMs));
  EXPECT_NE(ControlText(GetDlgItem(box, 0xFFFF)).find(L"\U00020BB7"), std::wstring::npos);
  ASSERT_TRUE(PressKey(VK_RETURN));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, kActMs));
  EXPECT_TRUE(IsWindow(dlg));
  EXPECT_EQ(SendMessageW(hint, EM_GETSEL, 0, 0), MAKELRESULT(1, 3));
  EXPECT_EQ(GetDword(Key(L"\\ListItems"), L"ItemCount"), std::nullopt);

  SendMessageW(hint, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"挨拶"));
  SaveScreenshot(dlg, L"list_dialog");
  ASSERT_TRUE(PressKey(VK_RETURN));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dlg); }, kActMs));
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_TRUE(WaitFor([&] { return TopMost(main_); }, kActMs));
  // Stored once the dialog has gone.
  EXPECT_TRUE(WaitFor(
      [&] { return GetDword(Key(L"\\ListItems"), L"ItemCount") == std::optional<DWORD>(1); },
      kActMs));
  EXPECT_EQ(GetString(Key(L"\\ListItems"), L"Item000"), phrase);
  EXPECT_EQ(GetString(Key(L"\\ListHint"), L"Hint000"), std::wstring(L"挨拶"));
  EXPECT_EQ(reader_.CellOr(grid, 0, 0), Narrow(phrase));

  dlg = open();
  ASSERT_NE(dlg, nullptr);
  ASSERT_TRUE(PressKey(VK_ESCAPE));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dlg); }, kActMs));
  dlg = open();
  ASSERT_NE(dlg, nullptr);
  SendMessageW(Control(dlg, L::txtListMemo, 1000), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(L""));
  PostMessageW(Control(dlg, L::cmdOK, 1000), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dlg); }, kActMs));
  EXPECT_EQ(GetDword(Key(L"\\ListItems"), L"ItemCount"), std::optional<DWORD>(1));
  EXPECT_EQ(reader_.CellOr(grid, 0, 1), "");
}

// バックアップ writes everything to a file; 復元 from it, after the store and
// the memos were cleared, keeps what was there beside the file and brings back every
// key, value and memo byte (an NEC special character among them), shown.
TEST_F(TrayTest, BackupThenRestoreBringsBackTheStoreAndTheMemosByteForByte) {
  const std::string memo = "\x87\x90 \x8a\xbf\x8e\x9a";  // ≒ 漢字
  dir_.WriteFile(L"Memo000.txt", memo);
  ASSERT_NO_FATAL_FAILURE(Start({kPageMemo}));
  ASSERT_NE(program_.MainWindow(), nullptr);
  ASSERT_TRUE(PutString(Key(L"\\User1"), L"Memo", L"①②\r\n二行目"));
  const RegistrySnapshot before = Snapshot();
  const std::wstring file = dir_.path() + L"\\backup.tcb";

  // Types a path into the file dialog titled title and takes it.
  auto answerFileDialog = [&](const wchar_t* title, const std::wstring& path) {
    HWND dlg = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
          dlg = FindTopLevelNow({program_.pid(), L"#32770", true});
          return dlg && WindowTitle(dlg) == title;
        },
        kActMs));
    HWND name = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
          wchar_t cls[16] = {};
          name = FocusOf(dlg);
          return name && GetClassNameW(name, cls, 16) && lstrcmpiW(cls, L"Edit") == 0;
        },
        kActMs));
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageW(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dlg); }, kActMs));
  };

  Notify(WM_RBUTTONUP);
  ASSERT_NO_FATAL_FAILURE(OpenMenuAndChoose(5, 0));  // バックアップ...
  ASSERT_NO_FATAL_FAILURE(answerFileDialog(L"バックアップ", file));
  ASSERT_TRUE(WaitFor([&] { return FileSize(file).value_or(0) > 0; }, kActMs));

  // A cleared store and memo folder, but for a memo the backup does not have.
  DeleteBaseKey();
  ASSERT_TRUE(DeleteFileW((dir_.path() + L"\\Memo000.txt").c_str()));
  dir_.WriteFile(L"Memo001.txt", "new");

  Notify(WM_RBUTTONUP);
  ASSERT_NO_FATAL_FAILURE(OpenMenuAndChoose(6, 0));  // 復元...
  ASSERT_NO_FATAL_FAILURE(answerFileDialog(L"復元", file));
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] { return (box = FindTopLevelNow({program_.pid(), L"#32770", true})) != nullptr; },
      kActMs));
  EXPECT_EQ(WindowTitle(box), L"復元");
  PostMessageW(GetDlgItem(box, IDYES), BM_CLICK, 0, 0);

  EXPECT_TRUE(WaitFor([&] { return Differences(before, Snapshot()).empty(); }, kActMs))
      << Differences(before, Snapshot());
  EXPECT_EQ(dir_.ReadFile(L"Memo000.txt"), std::optional<std::string>(memo));
  EXPECT_EQ(dir_.ReadFile(L"Memo001.txt"), std::nullopt);
  HWND grid = Control(main_, forms::kMainGrids[kPageMemo]);
  // Compared as shown: ≒ reads back as its JIS twin 0x81E0.
  EXPECT_TRUE(WaitFor([&] { return reader_.CellOr(grid, 0, 0) == Narrow(Widen(memo)); }, kActMs))
      << reader_.CellOr(grid, 0, 0);
  // What the restore replaced stays beside the file.
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((dir_.path() + L"\\Tabcard-*-復元前.tcb").c_str(), &found);
  EXPECT_NE(search, INVALID_HANDLE_VALUE);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

TEST_F(TrayTest, VersionDialogIsTopmostAndThePaletteIsTopmostAfterIt) {
  ASSERT_NO_FATAL_FAILURE(Start({}));
  ASSERT_NE(program_.MainWindow(), nullptr);
  PostMessageW(main_, WM_SYSCOMMAND, kSysAbout, 0);
  HWND about = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] { return (about = FindTopLevelNow({program_.pid(), L"TAboutBox", true})) != nullptr; },
      kActMs));
  using A = forms::AboutControl;
  EXPECT_TRUE(TopMost(about));
  EXPECT_FALSE(TopMost(main_));
  EXPECT_EQ(WindowTitle(about), L"バージョン情報");
  EXPECT_EQ(WindowTitle(Control(about, A::ProductName, 1000)), L"タブカード");
  EXPECT_EQ(WindowTitle(Control(about, A::Version, 1000)), L"Version 4.00A");
  SaveScreenshot(about, L"version_dialog");
  PostMessageW(Control(about, A::cmdOK, 1000), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(about); }, kActMs));
  EXPECT_TRUE(WaitFor([&] { return TopMost(main_); }, kActMs));
}

}  // namespace
}  // namespace tabcard::e2e
