// The item transfer as a user meets it: cells of the real palette dragged
// onto, double-clicked or picked from the item menu into the fields of
// another program (receiver.exe), and the title bar following the clipboard.
// Every test writes a complete store first (palette_setup.h).
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/kojin_menu.h"
#include "app/transfer.h"
#include "forms/main_form.h"
#include "app_test.h"
#include "harness.h"
#include "input.h"
#include "palette_setup.h"
#include "receiver_client.h"
#include "core/strconv_win.h"

namespace tabcard::e2e {
namespace {

const std::wstring& kName = kProfileName;
const std::wstring& kTel = kProfileTel;

class TransferTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    ASSERT_TRUE(PutClipboardUnicode(L"before"));
  }

  // Stores everything, starts the palette and then the receiver beside it.
  void Start(const PaletteSetup& setup = {}) {
    ASSERT_TRUE(StoreCompleteProfile(setup));
    ASSERT_TRUE(program_.Start(dir_.path()));
    main_ = program_.MainWindow();
    ASSERT_NE(main_, nullptr);
    grid_ = Control(main_, forms::kMainGrids[setup.page]);
    ASSERT_NE(grid_, nullptr);
    ASSERT_TRUE(receiver_.Start(kReceiverPos));
    const auto state = receiver_.Dump();
    ASSERT_TRUE(state.has_value());
    receiverRects_ = state->rect;
  }

  POINT CellCentre(int col, int row) { return reader_.CellCentre(grid_, col, row); }

  POINT FieldCentre(int id) { return Centre(receiverRects_[id]); }

  void DragCellTo(int col, int row, int field) {
    const POINT from = CellCentre(col, row), to = FieldCentre(field);
    ASSERT_TRUE(Drag(from, to)) << from.x << "," << from.y << " -> " << to.x << "," << to.y;
  }

  // Clicks a cell that transfers nothing and waits until the grid makes it
  // current: the palette has then handled all input given before.
  void PaletteCaughtUp() {
    constexpr int kCol = 0, kRow = 3;
    ASSERT_TRUE(Click(CellCentre(kCol, kRow)));
    ASSERT_TRUE(WaitFor(
        [&] {
          const auto g = reader_.Geometry(grid_);
          return g && g->currentCol == kCol && g->currentRow == kRow;
        },
        5000));
  }

  // Puts a fresh text on the clipboard and waits until the title bar shows
  // it: a tick ran after this call, and it took the foreground window of now
  // as the target.
  void WaitForTick() {
    const std::wstring marker = L"tick " + std::to_wstring(++ticks_);
    ASSERT_TRUE(PutClipboardUnicode(marker));
    ASSERT_TRUE(WaitFor([&] { return WindowTitle(main_) == marker; }, kActMs))
        << "no tick; the title reads " << Narrow(WindowTitle(main_));
  }

  // The receiver in front with the focus in field: the state before a
  // double-click or a menu choice.
  void ReceiverInFront(int field) {
    ASSERT_TRUE(BringForward(receiver_.window()));
    ASSERT_TRUE(receiver_.Focus(field));
    ASSERT_NO_FATAL_FAILURE(WaitForTick());
  }

  std::optional<ReceiverState> WaitText(int field, const std::wstring& want) {
    return receiver_.WaitState([&](const ReceiverState& s) { return s.text.at(field) == want; });
  }

  HWND grid_ = nullptr;
  std::map<int, RECT> receiverRects_;
  int ticks_ = 0;
};

// The scenario that also runs under a code page other than 932.
using SmokeTransferTest = TransferTest;

TEST_F(SmokeTransferTest, DraggedNameArrivesAsJapaneseTextInEveryFormat) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(DragCellTo(0, 0, kEdit2));
  const auto state = WaitText(kEdit2, kName);
  ASSERT_TRUE(state.has_value());
  EXPECT_EQ(state->text.at(kEdit2), kName) << state->Describe();
  EXPECT_EQ(state->text.at(kEdit1), L"");
  EXPECT_EQ(ClipboardUnicode(), std::optional<std::wstring>(kName));
  EXPECT_EQ(ClipboardAnsi(), std::optional<std::string>("山田太郎"));
  EXPECT_EQ(ClipboardLocale(), std::optional<LCID>(0x0411));
  // Kept out of clipboard history, the cloud clipboard and clipboard managers.
  EXPECT_TRUE(ClipboardHas(L"ExcludeClipboardContentFromMonitorProcessing"));
  EXPECT_EQ(ClipboardDword(L"CanIncludeInClipboardHistory"), std::optional<DWORD>(0));
  EXPECT_EQ(ClipboardDword(L"CanUploadToCloudClipboard"), std::optional<DWORD>(0));
}

// Each kind of edit, and one inside a panel, so the click also reaches a
// parent that is not the top-level window. The RichEdit stays out: Wine 8's
// ignores Shift+Insert (it pastes on Ctrl+V only).
TEST_F(TransferTest, DragOntoAFieldPastesThereAndLeavesTheCaretAfterIt) {
  ASSERT_NO_FATAL_FAILURE(Start());
  int n = 0;
  for (int field : {kEdit2, kMultiLine, kPanelEdit}) {
    SCOPED_TRACE(field);
    ASSERT_NO_FATAL_FAILURE(DragCellTo(0, 0, field));
    const auto state = WaitText(field, kName);
    ASSERT_TRUE(state.has_value());
    EXPECT_EQ(state->text.at(field), kName) << state->Describe();
    EXPECT_EQ(state->focus, field);
    EXPECT_TRUE(state->foreground);
    const std::size_t length = kName.size();
    DWORD_PTR sel = 0;
    ASSERT_TRUE(SendMessageTimeoutW(state->hwnd.at(field), EM_GETSEL, 0, 0, SMTO_NORMAL, 2000, &sel));
    EXPECT_EQ(LOWORD(sel), length);
    EXPECT_EQ(HIWORD(sel), length);
    for (const auto& [id, text] : state->text) {
      if (id != field) {
        EXPECT_EQ(text, L"") << id;
      }
    }
    if (n++ == 0) {
      EXPECT_TRUE(WaitFor([&] { return WindowTitle(main_) == kName; }, kActMs));
      SaveScreenRect(Union(WindowBounds(main_), WindowBounds(receiver_.window())),
                     L"transfer_drag");
    }
    ASSERT_TRUE(receiver_.Clear());
  }
}

TEST_F(TransferTest, InTabModeTheFocusMovesOnToTheNextField) {
  ASSERT_NO_FATAL_FAILURE(Start({kPageKojin1, true}));
  ASSERT_NO_FATAL_FAILURE(DragCellTo(0, 0, kEdit2));
  const auto state =
      receiver_.WaitState([](const ReceiverState& s) { return s.focus == kMultiLine; });
  ASSERT_TRUE(state.has_value());
  EXPECT_EQ(state->text.at(kEdit2), kName) << state->Describe();
  EXPECT_EQ(state->text.at(kMultiLine), L"");
  EXPECT_EQ(state->focus, kMultiLine);
}

TEST_F(TransferTest, DoubleClickPastesIntoTheProgramUsedBefore) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(ReceiverInFront(kMultiLine));
  ASSERT_TRUE(DoubleClick(CellCentre(0, 0)));
  const auto state = WaitText(kMultiLine, kName);
  ASSERT_TRUE(state.has_value());
  EXPECT_EQ(state->text.at(kMultiLine), kName) << state->Describe();
  EXPECT_TRUE(state->foreground);
  EXPECT_EQ(state->focus, kMultiLine);
}

// Without a mouse once the palette is in front: Shift+F10 and the menu key
// open each page's menu, Ctrl+TAB and Ctrl+Shift+TAB turn the page, Enter
// sends the current cell into the program used before.
TEST_F(TransferTest, KeyboardTurnsPagesAndEnterPastes) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(ReceiverInFront(kMultiLine));
  ASSERT_TRUE(BringForward(main_));
  ASSERT_TRUE(Click(CellCentre(0, 0)));  // a single click only makes 氏名 current
  HWND tabs = Control(main_, forms::MainControl::PageControl1);
  auto chord = [](std::initializer_list<WORD> keys) {
    std::vector<INPUT> in;
    for (WORD k : keys) in.push_back(INPUT{INPUT_KEYBOARD, {.ki = {k, 0, 0, 0, 0}}});
    for (auto k = keys.end(); k != keys.begin();) {
      in.push_back(INPUT{INPUT_KEYBOARD, {.ki = {*--k, 0, KEYEVENTF_KEYUP, 0, 0}}});
    }
    return SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT)) == in.size();
  };
  auto page = [&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0); };
  // Shift+F10 or the menu key opens the page's menu under its current cell.
  auto menuByKey = [&](int on, std::initializer_list<WORD> keys) {
    RECT shown{};
    HWND grid = Control(main_, forms::kMainGrids[on]);
    const auto g = reader_.Geometry(grid, 0, 0);
    if (!g || !chord(keys) || !WaitFor([&] { return VisibleMenus(program_.pid()) == 1; }, kActMs)) {
      return shown;
    }
    GetWindowRect(VisibleMenu(program_.pid()), &shown);
    const POINT under{g->cellRect.left, g->cellRect.bottom};
    EXPECT_EQ(shown.left, under.x) << on;
    EXPECT_EQ(shown.top, under.y) << on;
    EXPECT_TRUE(PressKey(VK_ESCAPE));
    EXPECT_TRUE(WaitFor([&] { return VisibleMenus(program_.pid()) == 0; }, kActMs)) << on;
    return shown;
  };
  const RECT itemMenu = menuByKey(kPageKojin1, {VK_SHIFT, VK_F10});
  EXPECT_GT(itemMenu.bottom - itemMenu.top, 0);
  ASSERT_TRUE(chord({VK_CONTROL, VK_TAB}));
  EXPECT_TRUE(WaitFor([&] { return page() == 1; }, kActMs)) << page();
  ASSERT_TRUE(chord({VK_CONTROL, VK_TAB}));
  EXPECT_TRUE(WaitFor([&] { return page() == kPageMemo; }, kActMs)) << page();
  const RECT memoMenu = menuByKey(kPageMemo, {VK_SHIFT, VK_F10});
  ASSERT_TRUE(chord({VK_CONTROL, VK_TAB}));
  EXPECT_TRUE(WaitFor([&] { return page() == kPageList; }, kActMs)) << page();
  const RECT listMenu = menuByKey(kPageList, {VK_APPS});
  // The memo and list menus are short, unlike the item menu.
  EXPECT_GT(memoMenu.bottom - memoMenu.top, 0);
  EXPECT_LT(memoMenu.bottom - memoMenu.top, itemMenu.bottom - itemMenu.top);
  EXPECT_GT(listMenu.bottom - listMenu.top, 0);
  EXPECT_LT(listMenu.bottom - listMenu.top, itemMenu.bottom - itemMenu.top);
  for (int back = 0; back < 3; ++back) ASSERT_TRUE(chord({VK_CONTROL, VK_SHIFT, VK_TAB}));
  EXPECT_TRUE(WaitFor([&] { return page() == 0; }, kActMs)) << page();
  ASSERT_TRUE(PressKey(VK_RETURN));
  const auto state = WaitText(kMultiLine, kName);
  ASSERT_TRUE(state.has_value());
  EXPECT_EQ(state->text.at(kMultiLine), kName) << state->Describe();
}

// A user's usual rhythm: paste one field by double-click, drag the next. The
// double-click's paste moved the foreground away from the palette in between.
TEST_F(TransferTest, DragRightAfterAPastingDoubleClickStillPastes) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(ReceiverInFront(kMultiLine));
  ASSERT_TRUE(DoubleClick(CellCentre(0, 0)));
  ASSERT_TRUE(WaitText(kMultiLine, kName).has_value());
  ASSERT_NO_FATAL_FAILURE(DragCellTo(0, 4, kEdit2));  // ＴＥＬ
  const auto state = WaitText(kEdit2, kTel);
  ASSERT_TRUE(state.has_value());
  EXPECT_EQ(state->text.at(kEdit2), kTel) << state->Describe();
}

// A later transfer that arrives proves the earlier keys, had there been
// any, were handled: input reaches the receiver in order.
TEST_F(TransferTest, BlankItemsSendNothingAndKeepTheClipboard) {
  ASSERT_NO_FATAL_FAILURE(Start());
  struct Case {
    const char* what;
    int col, row;
  };
  const Case cases[] = {{"職業, unset", 1, 4}, {"年齢, spaces only", 1, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(PutClipboardUnicode(L"kept"));
    ASSERT_NO_FATAL_FAILURE(DragCellTo(c.col, c.row, kEdit2));
    ASSERT_NO_FATAL_FAILURE(PaletteCaughtUp());
    EXPECT_EQ(ClipboardUnicode(), std::optional<std::wstring>(L"kept"));
    ASSERT_NO_FATAL_FAILURE(ReceiverInFront(kEdit2));
    ASSERT_TRUE(PutClipboardUnicode(L"kept"));
    ASSERT_TRUE(DoubleClick(CellCentre(c.col, c.row)));
    ASSERT_NO_FATAL_FAILURE(PaletteCaughtUp());
    EXPECT_EQ(ClipboardUnicode(), std::optional<std::wstring>(L"kept"));

    ASSERT_NO_FATAL_FAILURE(DragCellTo(0, 0, kEdit1));
    const auto state = WaitText(kEdit1, kName);
    ASSERT_TRUE(state.has_value());
    EXPECT_EQ(state->text.at(kEdit1), kName) << state->Describe();
    EXPECT_EQ(state->text.at(kEdit2), L"") << state->Describe();
    ASSERT_TRUE(receiver_.Clear());
  }
}

TEST_F(TransferTest, LongMemoSendsItsFirst4096Bytes) {
  std::string memo = "メモの見出し\r\n";
  for (int line = 0; memo.size() < 5000; ++line) {
    char text[16];
    snprintf(text, sizeof text, "%04d ", line);
    memo += text + std::string(93, static_cast<char>('a' + line % 26)) + "\r\n";
  }
  memo.resize(5000);
  ASSERT_NE(memo[4095], '\r');  // the cut keeps every line break whole
  dir_.WriteFile(L"Memo000.txt", memo);
  ASSERT_NO_FATAL_FAILURE(Start({kPageMemo, false}));
  EXPECT_EQ(reader_.Cell(grid_, 0, 0).value_or("").substr(0, 12), "メモの見出し");
  ASSERT_NO_FATAL_FAILURE(DragCellTo(0, 0, kMultiLine));
  const std::wstring want = Widen(memo.substr(0, 4096));
  const auto state = WaitText(kMultiLine, want);
  ASSERT_TRUE(state.has_value());
  EXPECT_EQ(state->text.at(kMultiLine).size(), want.size());
  EXPECT_EQ(state->text.at(kMultiLine), want);
}

TEST_F(TransferTest, PhraseKeepsItsSurroundingSpaces) {
  const std::wstring phrase = L"  よろしくお願いします 。 ";
  PutDword(Key(L"\\ListItems"), L"ItemCount", 1);
  PutString(Key(L"\\ListItems"), L"Item000", phrase);
  ASSERT_NO_FATAL_FAILURE(Start({kPageList, false}));
  ASSERT_NO_FATAL_FAILURE(DragCellTo(0, 0, kEdit1));
  const auto state = WaitText(kEdit1, phrase);
  ASSERT_TRUE(state.has_value());
  EXPECT_EQ(state->text.at(kEdit1), phrase) << state->Describe();
}

TEST_F(TransferTest, TitleBarFollowsTheClipboardOfOtherPrograms) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const std::wstring outside = L"他のプログラムの文";
  ASSERT_TRUE(PutClipboardUnicode(outside));
  EXPECT_TRUE(WaitFor([&] { return WindowTitle(main_) == outside; }, kActMs))
      << Narrow(WindowTitle(main_));

  ASSERT_TRUE(EmptyTheClipboard());
  const ULONGLONG emptied = GetTickCount64();
  ASSERT_TRUE(WaitFor([&] { return WindowTitle(main_) == L"No Text!"; }, kActMs))
      << Narrow(WindowTitle(main_));
  // One timer period, and a couple of scheduler ticks for the tick itself.
  EXPECT_LE(GetTickCount64() - emptied, kTickMs + 40);
}

// The receiver's thread sleeps through the transfer: the palette's bounded
// sends and waits keep it answering, and it sends no keys that the receiver
// would take in later, when it shows something else.
TEST_F(TransferTest, HungReceiverDoesNotHoldThePaletteUp) {
  ASSERT_NO_FATAL_FAILURE(Start());
  constexpr DWORD kHangMs = 2500;
  for (bool drop : {true, false}) {
    SCOPED_TRACE(drop ? "drop" : "double-click");
    if (!drop) {
      ASSERT_NO_FATAL_FAILURE(ReceiverInFront(kEdit2));
    }
    ASSERT_TRUE(receiver_.Hang(kHangMs));
    const ULONGLONG hung = GetTickCount64();
    if (drop) {
      ASSERT_TRUE(Drag(CellCentre(0, 0), FieldCentre(kEdit2)));
    } else {
      ASSERT_TRUE(DoubleClick(CellCentre(0, 0)));
    }
    ASSERT_LT(GetTickCount64() - hung, 1000u) << "the transfer began after the hang";
    ULONGLONG slowest = 0;
    while (GetTickCount64() - hung < kHangMs + 300) {
      const ULONGLONG asked = GetTickCount64();
      DWORD_PTR result = 0;
      ASSERT_TRUE(SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result));
      slowest = std::max(slowest, GetTickCount64() - asked);
      Sleep(20);
    }
    EXPECT_LT(slowest, 200u);
    ASSERT_TRUE(receiver_.WaitState([](const ReceiverState&) { return true; }, 5000));

    ASSERT_NO_FATAL_FAILURE(DragCellTo(0, 0, kEdit1));
    const auto state = WaitText(kEdit1, kName);
    ASSERT_TRUE(state.has_value());
    EXPECT_EQ(state->text.at(kEdit1), kName) << state->Describe();
    EXPECT_EQ(state->text.at(kEdit2), L"") << state->Describe();
    ASSERT_TRUE(receiver_.Clear());
  }
}

// Where an entry sits in KojinMenu: its submenu's index and its own.
std::pair<int, int> MenuPosition(const char* caption) {
  const std::vector<MenuNode> top = KojinMenuLayout();
  for (std::size_t i = 0; i < top.size(); ++i) {
    for (std::size_t j = 0; j < top[i].items.size(); ++j) {
      if (top[i].items[j].caption == caption) return {static_cast<int>(i), static_cast<int>(j)};
    }
  }
  return {-1, -1};
}


// Menu texts cannot be read from another process: the entry is chosen by
// its position in the menu's layout, with the keyboard.
// Enabled once TfrmMain shows KojinMenu on the personal grids' right click.
TEST_F(TransferTest, ItemMenuEntryPastesThatItemsValue) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const auto [submenu, entry] = MenuPosition("ＴＥＬ");
  ASSERT_GE(submenu, 0);
  ASSERT_NO_FATAL_FAILURE(ReceiverInFront(kEdit1));
  ASSERT_TRUE(RightClick(CellCentre(1, 0)));
  ASSERT_TRUE(WaitFor([&] { return VisibleMenus(program_.pid()) == 1; }, kActMs)) << "no menu";
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == main_; }, kActMs));
  PumpFor(kMenuSettleMs);
  std::vector<WORD> keys(static_cast<std::size_t>(submenu) + 1, VK_DOWN);
  keys.push_back(VK_RIGHT);
  ASSERT_TRUE(PressKeys(keys));
  ASSERT_TRUE(WaitFor([&] { return VisibleMenus(program_.pid()) == 2; }, kActMs)) << "no submenu";
  keys.assign(static_cast<std::size_t>(entry), VK_DOWN);
  keys.push_back(VK_RETURN);
  ASSERT_TRUE(PressKeys(keys));
  const auto state = WaitText(kEdit1, kTel);
  ASSERT_TRUE(state.has_value());
  EXPECT_EQ(state->text.at(kEdit1), kTel) << state->Describe();
  EXPECT_EQ(VisibleMenus(program_.pid()), 0);
  EXPECT_FALSE(InMenuMode(ThreadOf(main_)));
}

}  // namespace
}  // namespace tabcard::e2e
