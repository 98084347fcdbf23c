// Filling a form without leaving it: clicks that leave the form active, the
// show chord that brings the palette and takes it away again, and the step
// chord (連続入力) that sends cell after cell into the field in front.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/main_menus.h"
#include "app_test.h"
#include "forms/input.h"
#include "palette_setup.h"
#include "store/hotkey.h"

namespace tabcard::e2e {
namespace {

// 個１ as the user arranged it: 氏名, HP-URL (not given: blank), E-Mail1,
// ＴＥＬ, and nothing in its other cells.
void StoreFormPage(bool bootInTaskTray) {
  ASSERT_TRUE(StoreCompleteProfile({kPageKojin1, true, bootInTaskTray}));
  const std::wstring items = Key(L"\\Config\\Kojin1\\Items");
  const wchar_t* const names[] = {L"氏名", L"HP-URL", L"E-Mail1", L"ＴＥＬ"};
  for (int i = 0; i < kStandardSlotCount; ++i) {
    wchar_t name[8];
    swprintf(name, 8, L"Item%03d", i);
    ASSERT_TRUE(PutString(items, name, i < 4 ? names[i] : L""));
  }
}

const std::wstring kSent[] = {L"山田太郎", L"taro@example.jp", L"03-1234-5678"};

bool Deactivated(const ReceiverState& s) {
  return std::any_of(s.log.begin(), s.log.end(), [](const std::wstring& line) {
    return line.find(L"0 WM_ACTIVATE wp=0") == 0;
  });
}

bool AnyKeyHeld() {
  for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN, 0xE8}) {
    if (GetAsyncKeyState(vk) & 0x8000) return true;
  }
  return false;
}

class KeyboardTest : public AppTest {
 protected:
  void Start(bool menuBar) {
    ASSERT_TRUE(program_.Start(dir_.path()));
    ASSERT_TRUE(receiver_.Start(kReceiverPos, menuBar));
    ASSERT_TRUE(BringForward(receiver_.window()));
    ASSERT_TRUE(receiver_.Focus(kEdit1));
    ASSERT_TRUE(receiver_.Clear());
  }
  std::optional<ReceiverState> WaitTexts(int count) {
    return receiver_.WaitState(
        [&](const ReceiverState& s) {
          for (int i = 0; i < count; ++i) {
            if (s.text.at(kEdit1 + i) != kSent[i]) return false;
          }
          return true;
        },
        kActMs);
  }
};

// Double-clicks paste into the form still in front: it is never
// deactivated, so a web form's field would see no blur. Thirty fast ones
// paste thirty times.
TEST_F(KeyboardTest, DoubleClicksPasteWhileTheFormStaysActive) {
  ASSERT_NO_FATAL_FAILURE(StoreFormPage(false));
  ASSERT_NO_FATAL_FAILURE(Start(false));
  main_ = program_.MainWindow();
  ASSERT_NE(main_, nullptr);
  HWND grid = Control(main_, forms::kMainGrids[kPageKojin1]);
  const GridCell cells[] = {{0, 0}, {0, 2}, {0, 3}};
  for (const GridCell& c : cells) ASSERT_TRUE(DoubleClick(reader_.CellCentre(grid, c.col, c.row)));
  const auto filled = WaitTexts(3);
  ASSERT_TRUE(filled.has_value());
  EXPECT_EQ(filled->text.at(kMultiLine), kSent[2]) << filled->Describe();
  EXPECT_FALSE(Deactivated(*filled)) << filled->Describe();
  // The TAB follows once the paste was read, so it may come after the text;
  // it would take the focus off the box the pastes below go into.
  const auto tabbed = receiver_.WaitState(
      [](const ReceiverState& s) { return s.focus == kRichEdit; }, kActMs);
  ASSERT_TRUE(tabbed && tabbed->focus == kRichEdit) << (tabbed ? tabbed->Describe() : "");

  PostMessageW(main_, WM_SYSCOMMAND, kSysTabMode, 0);  // TAB mode off
  ASSERT_TRUE(receiver_.Focus(kMultiLine));
  ASSERT_TRUE(receiver_.Clear());
  // Two cells in turn: a press near the one before would wait out the
  // double-click time.
  std::wstring thirty;
  for (int i = 0; i < 30; ++i) {
    ASSERT_TRUE(DoubleClick(reader_.CellCentre(grid, 0, i % 2 ? 2 : 0)));
    thirty += kSent[i % 2 ? 1 : 0];
  }
  const auto pasted = receiver_.WaitState(
      [&](const ReceiverState& s) { return s.text.at(kMultiLine) == thirty; }, kActMs);
  ASSERT_TRUE(pasted.has_value());
  EXPECT_EQ(pasted->text.at(kMultiLine).size(), thirty.size()) << pasted->Describe();
  EXPECT_FALSE(Deactivated(*pasted)) << pasted->Describe();
}

// The palette starts in the tray. The show chord brings it forward with
// its grid focused; Esc gives the form back and the palette returns to the
// tray. Then, with the form's first field focused and TAB mode on, the step
// chord (Alt+N here, so a released Alt would arm the form's menu bar) fills
// three fields with the page's three values, the blank cell skipped; a
// fourth press sends nothing and starts the page again. No key is left down.
TEST_F(KeyboardTest, ShowChordAndStepChordFillAFormFromTheKeyboard) {
  ASSERT_NO_FATAL_FAILURE(StoreFormPage(true));
  ASSERT_TRUE(PutDword(Key(), L"HotKeyStep", MakeHotKey('N', hotkeyf::kAlt)));
  ASSERT_NO_FATAL_FAILURE(Start(true));
  HWND main = program_.TopLevel(L"TfrmMain");
  ASSERT_NE(main, nullptr);
  ASSERT_FALSE(IsWindowVisible(main));

  ASSERT_TRUE(PressChord({VK_CONTROL, VK_MENU}, 'J', 100));
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }, kActMs));
  HWND grid = Control(main, forms::kMainGrids[kPageKojin1]);
  EXPECT_TRUE(WaitFor([&] { return FocusOf(main) == grid; }, kActMs));
  ASSERT_TRUE(PressKey(VK_ESCAPE));
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == receiver_.window(); }, kActMs));
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }, kActMs));
  ASSERT_TRUE(receiver_.Focus(kEdit1));
  ASSERT_TRUE(receiver_.Clear());

  for (int press = 0; press < 3; ++press) {
    ASSERT_TRUE(PressChord({VK_MENU}, 'N', 150));
    const auto state = WaitTexts(press + 1);
    ASSERT_TRUE(state.has_value());
    ASSERT_EQ(state->text.at(kEdit1 + press), kSent[press]) << state->Describe();
  }
  const auto filled = receiver_.Dump();
  ASSERT_TRUE(filled.has_value());
  for (const std::wstring& line : filled->log) {
    EXPECT_EQ(line.find(L"MENU"), std::wstring::npos) << filled->Describe();
  }
  // Past the last value: nothing, then the page from its start.
  ASSERT_TRUE(PressChord({VK_MENU}, 'N', 150));
  ASSERT_TRUE(receiver_.Focus(kEdit1));
  ASSERT_TRUE(PressChord({VK_MENU}, 'N', 150));
  const auto again = receiver_.WaitState(
      [](const ReceiverState& s) { return s.text.at(kEdit1) == kSent[0] + kSent[0]; }, kActMs);
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(again->text.at(kEdit1), kSent[0] + kSent[0]) << again->Describe();
  EXPECT_EQ(again->text.at(kRichEdit), L"") << again->Describe();
  EXPECT_FALSE(AnyKeyHeld());
}

}  // namespace
}  // namespace tabcard::e2e
