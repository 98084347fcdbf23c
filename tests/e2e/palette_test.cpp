// The palette window as a user meets it: start-up, single instance, the
// stored window state, the four pages' contents, resizing, and no taskbar
// button. Each test starts from an HKCU state it writes itself.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "app/application_win.h"
#include "core/strconv_win.h"
#include "harness.h"
#include "palette_setup.h"

namespace tabcard::e2e {
namespace {

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;

void PutWindowState(int left, int top, int width, int height, int page, int user = 0) {
  const std::wstring base = Key();
  PutDword(base, L"Top", static_cast<DWORD>(top));
  PutDword(base, L"Left", static_cast<DWORD>(left));
  PutDword(base, L"Height", static_cast<DWORD>(height));
  PutDword(base, L"Width", static_cast<DWORD>(width));
  PutDword(base, L"WndTopMost", 1);
  PutDword(base, L"Page", static_cast<DWORD>(page));
  PutDword(base, L"UserNo", static_cast<DWORD>(user));
}

int ActiveTab(HWND main) {
  return static_cast<int>(SendMessageW(Control(main, forms::MainControl::PageControl1), TCM_GETCURSEL, 0, 0));
}

class PaletteTest : public ::testing::Test {
 protected:
  void SetUp() override { DeleteBaseKey(); }
  void TearDown() override {
    if (program_.IsRunning()) program_.Close();
    DeleteBaseKey();
  }

  // Starts the program and waits for its visible main window.
  HWND Start() {
    if (!program_.Start(dir_.path())) return nullptr;
    return program_.MainWindow();
  }

  std::string CellOf(HWND main, forms::MainControl grid, int col, int row) {
    HWND g = Control(main, grid);
    if (!g) return "<no grid>";
    return reader_.Cell(g, col, row).value_or("<no cell>");
  }

  TempDir dir_;
  Program program_;
  GridReader reader_;
};

// The scenarios that also run in the C locale.
using SmokePaletteTest = PaletteTest;

TEST_F(SmokePaletteTest, EmptyStoreShowsStandardPaletteCentred) {
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  const RECT r = WindowBounds(main);
  EXPECT_EQ(r.right - r.left, 130);
  EXPECT_EQ(r.bottom - r.top, 160);
  EXPECT_EQ(r.left, (kScreenWidth - 130) / 2);
  EXPECT_EQ(r.top, (kScreenHeight - 160) / 2);
  EXPECT_TRUE(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(ActiveTab(main), 0);
  // Column by column: the first six items down column 0, the next six down column 1.
  const char* const want[2][6] = {
      {"氏名", "フリガナ", "E-Mail1", "HP-URL", "ＴＥＬ", "ＦＡＸ"},
      {"〒", "都道府県", "住所１", "住所２", "職業", "年齢"},
  };
  for (int c = 0; c < 2; ++c) {
    for (int row = 0; row < 6; ++row) {
      EXPECT_EQ(CellOf(main, forms::MainControl::SGrdKjn1, c, row), want[c][row]) << c << "," << row;
    }
  }
  EXPECT_TRUE(IsWindowVisible(Control(main, forms::MainControl::SGrdKjn1)));
  EXPECT_FALSE(IsWindowVisible(Control(main, forms::MainControl::SGrdKjn2)));
  SaveScreenshot(main, L"palette_standard");
}

TEST_F(SmokePaletteTest, SecondInstanceExitsAtOnceAndFirstKeepsRunning) {
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  Program second;
  ASSERT_TRUE(second.Start(dir_.path()));
  const std::optional<DWORD> code = second.WaitExit(1000);
  ASSERT_TRUE(code.has_value()) << "the second instance is still running";
  EXPECT_EQ(*code, 0u);
  EXPECT_TRUE(program_.IsRunning());
  EXPECT_TRUE(IsWindow(main) && IsWindowVisible(main));
}

TEST_F(SmokePaletteTest, MainWindowHasNoTaskbarButton) {
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  HWND owner = GetWindow(main, GW_OWNER);
  ASSERT_NE(owner, nullptr);
  EXPECT_EQ(owner, program_.TopLevel(kAppWindowClass));
  EXPECT_FALSE(IsWindowVisible(owner));
  wchar_t title[64] = {};
  GetWindowTextW(owner, title, 64);
  EXPECT_STREQ(title, L"Tabcard.exe");
  EXPECT_FALSE(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  // Only the system menu in the frame: no minimise or maximise button.
  const LONG style = GetWindowLongW(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
}

TEST_F(PaletteTest, CloseWritesWindowValuesAndRestartRestoresThem) {
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  SetWindowPos(main, nullptr, 100, 120, 150, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(Control(main, forms::MainControl::PageControl1), TCM_SETCURSEL, 2, 0);
  ASSERT_EQ(program_.Close(), std::optional<DWORD>(0));

  const auto names = ValueNames(Key());
  ASSERT_TRUE(names.has_value());
  // The window state, and the three flags and two hotkeys that the first
  // start's unseen save of the options writes beside TabMode once the editor
  // has closed.
  EXPECT_EQ(names->size(), 13u);
  const std::pair<const wchar_t*, DWORD> want[] = {
      {L"Top", 120},          {L"Left", 100},          {L"Height", 200}, {L"Width", 150},
      {L"WndTopMost", 1},     {L"TabMode", 0},         {L"Page", 2},     {L"UserNo", 0},
      {L"BootInTaskTray", 0}, {L"CloseInTaskTray", 0}, {L"HotKeyShow", 0x64A},
      {L"HotKeyStep", 0x642}, {L"RestoreClipboard", 0},
  };
  for (const auto& w : want) {
    EXPECT_EQ(GetDword(Key(), w.first), std::optional<DWORD>(w.second)) << w.first;
  }

  Program again;
  ASSERT_TRUE(again.Start(dir_.path()));
  HWND restored = again.MainWindow();
  ASSERT_NE(restored, nullptr);
  const RECT r = WindowBounds(restored);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 120);
  EXPECT_EQ(r.right - r.left, 150);
  EXPECT_EQ(r.bottom - r.top, 200);
  EXPECT_EQ(ActiveTab(restored), 2);
  EXPECT_TRUE(IsWindowVisible(Control(restored, forms::MainControl::SGrdMemo)));
  EXPECT_EQ(again.Close(), std::optional<DWORD>(0));
}

// Windows ends a session with messages and then the process, never a
// close: the day's place and page are kept all the same. Closed while
// minimised, the palette keeps where it stood, not its icon's strip.
TEST_F(PaletteTest, SignOutAndAMinimisedCloseKeepThePalettesPlace) {
  ASSERT_TRUE(StoreCompleteProfile({}));
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  SetWindowPos(main, nullptr, 200, 150, 140, 180, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(Control(main, forms::MainControl::PageControl1), TCM_SETCURSEL, kPageMemo, 0);
  EXPECT_TRUE(program_.QueryEndSession());
  program_.EndSession(true);
  TerminateProcess(program_.process(), 0);
  ASSERT_TRUE(program_.WaitExit(kExitTimeoutMs).has_value());
  const std::pair<const wchar_t*, DWORD> kept[] = {
      {L"Left", 200}, {L"Top", 150}, {L"Width", 140}, {L"Height", 180}, {L"Page", kPageMemo}};
  for (const auto& k : kept) EXPECT_EQ(GetDword(Key(), k.first), std::optional<DWORD>(k.second)) << k.first;

  Program again;
  ASSERT_TRUE(again.Start(dir_.path()));
  HWND restored = again.MainWindow();
  ASSERT_NE(restored, nullptr);
  PostMessageW(restored, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitFor([&] { return IsIconic(restored) != FALSE; }, kActMs));
  ASSERT_EQ(again.Close(), std::optional<DWORD>(0));
  for (const auto& k : kept) EXPECT_EQ(GetDword(Key(), k.first), std::optional<DWORD>(k.second)) << k.first;
}

// A count of two billion phrases over none costs what is stored: the
// palette is up and answering at once, with an empty list.
TEST_F(PaletteTest, AClaimOfTwoBillionPhrasesCostsWhatIsStored) {
  ASSERT_TRUE(StoreCompleteProfile({kPageList}));
  ASSERT_TRUE(PutDword(Key(L"\\ListItems"), L"ItemCount", 0x7FFFFFFF));
  const ULONGLONG start = GetTickCount64();
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kStartTimeoutMs, &answer));
  // Reading the phrases the count claims took seven seconds here.
  EXPECT_LT(GetTickCount64() - start, 4000u);
  EXPECT_EQ(CellOf(main, forms::MainControl::SGrdList, 0, 0), "");
}

TEST_F(PaletteTest, StoredPositionIsKeptOnTheScreen) {
  struct Case {
    int left, top;
    int wantLeft, wantTop;
  };
  const Case cases[] = {
      {1250, 100, kScreenWidth - 130, 100},
      {100, 1000, 100, kScreenHeight - 160},
      {kScreenWidth - 130, kScreenHeight - 160, kScreenWidth - 130, kScreenHeight - 160},
      // Partly beyond the left or top edge: left where it is.
      {-50, -20, -50, -20},
      // Wholly off the screen: brought back onto it.
      {-500, 100, 0, 100},
      {100, 5000, 100, kScreenHeight - 160},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.left) + "," + std::to_string(c.top));
    DeleteBaseKey();
    PutWindowState(c.left, c.top, 130, 160, 0);
    Program p;
    ASSERT_TRUE(p.Start(dir_.path()));
    HWND main = p.MainWindow();
    ASSERT_NE(main, nullptr);
    const RECT r = WindowBounds(main);
    EXPECT_EQ(r.left, c.wantLeft);
    EXPECT_EQ(r.top, c.wantTop);
    EXPECT_EQ(p.Close(), std::optional<DWORD>(0));
  }
}

TEST_F(PaletteTest, StoredPageOutsideTheRangeShowsTheSecondPersonalPage) {
  PutWindowState(200, 200, 130, 160, 7);
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ActiveTab(main), 1);
  EXPECT_TRUE(IsWindowVisible(Control(main, forms::MainControl::SGrdKjn2)));
  EXPECT_EQ(CellOf(main, forms::MainControl::SGrdKjn2, 0, 0), "勤務先名");
}

TEST_F(PaletteTest, MemoFilesOfTheWorkingDirectoryShowTheirTitles) {
  std::string cut(199, 'a');
  cut += "\x8a\xbf";  // a double-byte character whose first byte is byte 200
  cut += std::string(49, 'b');
  ASSERT_EQ(cut.size(), 250u);
  dir_.WriteFile(L"Memo000.txt", "abc");
  dir_.WriteFile(L"Memo001.txt", cut);
  dir_.WriteFile(L"Memo002.txt", "  \r\n\t \r\n");
  dir_.WriteFile(L"Memo003.txt", "メモ\r\n二行目  \r\n");
  PutWindowState(200, 200, 130, 160, 2);
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(CellOf(main, forms::MainControl::SGrdMemo, 0, 0), "abc");
  EXPECT_EQ(CellOf(main, forms::MainControl::SGrdMemo, 0, 1), std::string(199, 'a'));
  EXPECT_EQ(CellOf(main, forms::MainControl::SGrdMemo, 0, 2), "");
  EXPECT_EQ(CellOf(main, forms::MainControl::SGrdMemo, 0, 3), "メモ\r\n二行目");
  EXPECT_EQ(CellOf(main, forms::MainControl::SGrdMemo, 0, 4), "");
  SaveScreenshot(main, L"palette_memo");
}

TEST_F(PaletteTest, FifteenPhrasesInATenCellListShowTheFirstTen) {
  const std::wstring items = Key(L"\\ListItems");
  PutDword(items, L"ItemCount", 15);
  for (int i = 0; i < 15; ++i) {
    wchar_t name[16];
    swprintf(name, 16, L"Item%03d", i);
    PutString(items, name, L"定型文" + std::to_wstring(i));
  }
  PutWindowState(200, 200, 130, 160, 3);
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(CellOf(main, forms::MainControl::SGrdList, 0, i), "定型文" + std::to_string(i));
  }
  EXPECT_EQ(CellOf(main, forms::MainControl::SGrdList, 0, 10), "<no cell>");
}

TEST_F(PaletteTest, ResizeRecomputesTheAutomaticColumnWidths) {
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  HWND grid = Control(main, forms::MainControl::SGrdKjn1);
  const auto before = reader_.Geometry(grid);
  ASSERT_TRUE(before.has_value());
  EXPECT_EQ(before->cols, 2);
  EXPECT_EQ(before->colWidth, (before->clientWidth - 4) / 2);
  SetWindowPos(main, nullptr, 0, 0, 200, 160, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  std::optional<GridView> after;
  EXPECT_TRUE(WaitFor(
      [&] {
        after = reader_.Geometry(grid);
        return after && after->clientWidth != before->clientWidth;
      },
      2000));
  ASSERT_TRUE(after.has_value());
  EXPECT_GT(after->colWidth, before->colWidth);
  EXPECT_EQ(after->colWidth, (after->clientWidth - 4) / 2);
}

// Timer1 runs from the start: the title bar soon shows the clipboard.
TEST_F(PaletteTest, TitleBarFollowsTheClipboardOnceTheTimerRuns) {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  auto title = [&] {
    wchar_t text[64] = {};
    GetWindowTextW(main, text, 64);
    return std::wstring(text);
  };
  EXPECT_TRUE(WaitFor([&] { return title() == L"No Text!"; }, kActMs)) << Narrow(title());
}

// At 192 DPI every design and configured size doubles, so the palette takes
// the same room on the screen; the figures stay exact.
TEST_F(PaletteTest, At192DpiThePaletteKeepsItsSizeOnScreen) {
  struct DpiSetting {
    DpiSetting() { PutDword(L"Control Panel\\Desktop", L"LogPixels", 192); }
    ~DpiSetting() { RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels"); }
  } dpi;
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  const RECT r = WindowBounds(main);
  EXPECT_EQ(r.right - r.left, 260);
  EXPECT_EQ(r.bottom - r.top, 320);
  EXPECT_EQ(r.left, (kScreenWidth - 260) / 2);
  const auto g = reader_.Geometry(Control(main, forms::MainControl::SGrdKjn1));
  ASSERT_TRUE(g.has_value());
  EXPECT_EQ(g->rowHeight, 28);
  EXPECT_EQ(g->lineWidth, 4);
  EXPECT_EQ(g->colWidth, (g->clientWidth - 8) / 2);
  EXPECT_EQ(CellOf(main, forms::MainControl::SGrdKjn1, 0, 0), "氏名");
  SaveScreenshot(main, L"palette_192dpi");
}

}  // namespace
}  // namespace tabcard::e2e
