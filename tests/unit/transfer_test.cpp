#include "app/transfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/kojin_menu.h"
#include "store/catalogue.h"
#include "store/layout.h"
#include "transfer_fake.h"

namespace tabcard {
namespace {

using namespace tabcard::testing;

TEST_F(TransferTest, DragStartPlacesValueShowsCursorAndCaptures) {
  PressAndLeave(kPageKojin1, {0, 0}, kEdit);
  EXPECT_EQ(log, (Events{"clipboard 8", "cursor drag", "capture 0x100"}));
  EXPECT_EQ(desktop.clipboard, "山田太郎");
  EXPECT_TRUE(transfer.State().Dragging);
  EXPECT_FALSE(transfer.State().DragArmed);
}

TEST_F(TransferTest, MovingInsideThePressedCellStartsNothing) {
  PressAndLeave(kPageKojin1, {0, 0}, kGrid0);
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(transfer.State().DragArmed);
  EXPECT_FALSE(transfer.State().Dragging);
}

TEST_F(TransferTest, EnteringTheNeighbouringCellStartsTheDragOfThePressedCell) {
  palette.current[kPageKojin1] = {0, 0};
  Down(kPageKojin1, MouseButton::Left);
  palette.current[kPageKojin1] = {0, 1};  // the grid follows the held button
  MoveOn(kPageKojin1);
  EXPECT_EQ(desktop.clipboard, "山田太郎");
  EXPECT_TRUE(transfer.State().Dragging);
}

TEST_F(TransferTest, DropOnAnotherApplicationsControl) {
  PressAndLeave(kPageKojin1, {0, 0}, kEdit);
  log.clear();
  desktop.cursor = {530, 365};
  palette.current[kPageKojin1] = {1, 3};
  Up(kPageKojin1, MouseButton::Left);
  // Panel client (20, 35), edit client (10, 15).
  const Events expected = Concat({{"foreground 0x20", "send 0x20 0x0 0x0 0x0",
                                   "send 0x21 0x210 0x201 0x230014",
                                   "send 0x22 0x21 0x20 0x2010001",
                                   "send 0x21 0x21 0x20 0x2010001",
                                   "send 0x22 0x201 0x1 0xF000A",
                                   "send 0x22 0x202 0x1 0xF000A"},
                                  kPaste,
                                  {"cursor default", "release", "cell 0 0,0"}});
  EXPECT_EQ(log, expected);
  EXPECT_FALSE(transfer.State().Dragging);
}

// Another window took the capture (a foreground switch after a double-click
// does under Wine): no drop can follow, so the drag must not hang on.
TEST_F(TransferTest, LostCaptureEndsTheDragWithoutSending) {
  PressAndLeave(kPageKojin1, {0, 0}, kEdit);
  log.clear();
  palette.current[kPageKojin1] = {1, 3};
  transfer.CaptureLost(kPageKojin1);
  EXPECT_EQ(log, (Events{"cursor default", "cell 0 0,0"}));
  EXPECT_FALSE(transfer.State().Dragging);
  log.clear();
  Up(kPageKojin1, MouseButton::Left);  // a late release is a click
  for (const auto& e : log) EXPECT_EQ(e.find("send"), std::string::npos) << e;
}

TEST_F(TransferTest, LostCaptureDisarmsAPressedCell) {
  palette.current[kPageKojin1] = {0, 0};
  Down(kPageKojin1, MouseButton::Left);
  transfer.CaptureLost(kPageKojin1);
  EXPECT_FALSE(transfer.State().DragArmed);
  desktop.under = kEdit;
  MoveOn(kPageKojin1);
  EXPECT_FALSE(transfer.State().Dragging);
  EXPECT_TRUE(log.empty());
}

TEST_F(TransferTest, DropOnATopLevelWindowSendsNothingToAParent) {
  PressAndLeave(kPageKojin1, {0, 0}, kApp);
  log.clear();
  desktop.cursor = {505, 310};
  Up(kPageKojin1, MouseButton::Left);
  const Events expected = Concat({{"foreground 0x20", "send 0x20 0x0 0x0 0x0",
                                   "send 0x20 0x21 0x20 0x2010001",
                                   "send 0x20 0x201 0x1 0xA0005", "send 0x20 0x202 0x1 0xA0005"},
                                  kPaste,
                                  {"cursor default", "release", "cell 0 0,0"}});
  EXPECT_EQ(log, expected);
}

TEST_F(TransferTest, ClientCoordinatesLeftOfTheControlKeepTheRowIntact) {
  PressAndLeave(kPageKojin1, {0, 0}, kEdit);
  log.clear();
  desktop.cursor = {518, 351};  // on the edit's left border: x = -2
  Up(kPageKojin1, MouseButton::Left);
  EXPECT_EQ(log[5], "send 0x22 0x201 0x1 0x1FFFE");
}

TEST_F(TransferTest, DropOnTheGridSendsNothingAndKeepsTheClipboard) {
  PressAndLeave(kPageKojin1, {0, 0}, kEdit);
  log.clear();
  desktop.under = kGrid0;
  palette.current[kPageKojin1] = {1, 5};
  Up(kPageKojin1, MouseButton::Left);
  EXPECT_EQ(log, (Events{"cursor default", "release", "cell 0 0,0"}));
  EXPECT_EQ(desktop.clipboard, "山田太郎");
}

TEST_F(TransferTest, DropOnAnotherPartOfThePaletteSendsToThePalette) {
  PressAndLeave(kPageKojin1, {0, 0}, kTabRow);
  log.clear();
  desktop.cursor = {112, 127};
  Up(kPageKojin1, MouseButton::Left);
  const Events expected = Concat({{"foreground 0x10", "send 0x10 0x0 0x0 0x0",
                                   "send 0x10 0x210 0x201 0x1B000C",
                                   "send 0x11 0x21 0x10 0x2010001",
                                   "send 0x10 0x21 0x10 0x2010001",
                                   "send 0x11 0x201 0x1 0x5000A", "send 0x11 0x202 0x1 0x5000A"},
                                  kPaste,
                                  {"cursor default", "release", "cell 0 0,0"}});
  EXPECT_EQ(log, expected);
}

TEST_F(TransferTest, AHungTargetEndsTheDropWithoutKeystrokes) {
  desktop.windows[kEdit].answer = SendResult::kNoResponse;
  PressAndLeave(kPageKojin1, {0, 0}, kEdit);
  log.clear();
  desktop.cursor = {530, 365};
  Up(kPageKojin1, MouseButton::Left);
  EXPECT_EQ(log, (Events{"foreground 0x20", "send 0x20 0x0 0x0 0x0",
                         "send 0x21 0x210 0x201 0x230014", "send 0x22 0x21 0x20 0x2010001",
                         "beep", "cursor default", "release", "cell 0 0,0"}));
}

TEST_F(TransferTest, AHungTopLevelWindowIsNotClickedAtAll) {
  desktop.windows[kApp].answer = SendResult::kNoResponse;
  PressAndLeave(kPageKojin1, {0, 0}, kEdit);
  log.clear();
  Up(kPageKojin1, MouseButton::Left);
  EXPECT_EQ(log, (Events{"foreground 0x20", "send 0x20 0x0 0x0 0x0", "beep", "cursor default",
                         "release", "cell 0 0,0"}));
}

TEST_F(TransferTest, AHungTargetGetsNoKeystrokesFromTheMenu) {
  TrackTarget(kApp);
  desktop.windows[kApp].answer = SendResult::kNoResponse;
  transfer.SendItem(FindItem("氏名"));
  EXPECT_EQ(log, (Events{"clipboard 8", "foreground 0x20", "send 0x20 0x0 0x0 0x0", "beep"}));
}

TEST_F(TransferTest, AControlThatVanishedDoesNotStopTheDrop) {
  desktop.windows[kPanel].answer = SendResult::kNoWindow;
  PressAndLeave(kPageKojin1, {0, 0}, kEdit);
  log.clear();
  Up(kPageKojin1, MouseButton::Left);
  EXPECT_EQ(std::count(log.begin(), log.end(), "key 0x2D 0x1"), 1);
}

TEST_F(TransferTest, DoubleClickPastesIntoTheTrackedWindow) {
  TrackTarget(kApp);
  palette.current[kPageKojin1] = {0, 0};
  DoubleClick(kPageKojin1);
  EXPECT_EQ(log, Concat({{"clipboard 8", "foreground 0x20", "send 0x20 0x0 0x0 0x0"}, kPaste}));
}

TEST_F(TransferTest, DoubleClickBringsBackTheTargetsLastActiveDialog) {
  desktop.lastActive[kApp] = kDialog;
  TrackTarget(kDialog);  // the tick climbs to the owner
  EXPECT_EQ(transfer.State().TargetWindow, kApp);
  palette.current[kPageKojin1] = {0, 0};
  DoubleClick(kPageKojin1);
  EXPECT_EQ(log, Concat({{"clipboard 8", "foreground 0x30", "send 0x30 0x0 0x0 0x0"}, kPaste}));
}

TEST_F(TransferTest, WithoutATargetTheKeysGoToTheFocus) {
  palette.current[kPageKojin1] = {0, 0};
  DoubleClick(kPageKojin1);
  EXPECT_EQ(log, Concat({{"clipboard 8"}, kPaste}));
}

TEST_F(TransferTest, ItemMenuPastesTheNamedItem) {
  TrackTarget(kApp);
  transfer.SendItem(FindItem("ＴＥＬ"));
  EXPECT_EQ(log, Concat({{"clipboard 10", "foreground 0x20", "send 0x20 0x0 0x0 0x0"}, kPaste}));
  EXPECT_EQ(desktop.clipboard, "  03-1234 ");  // untrimmed
}

TEST_F(TransferTest, ItemMenuIgnoresUnknownCaptionsAndBlankValues) {
  TrackTarget(kApp);
  transfer.SendItem(FindItem("TEL"));
  transfer.SendItem(FindItem("〒"));
  transfer.SendItem(FindItem("姓"));  // empty
  EXPECT_TRUE(log.empty());
}

// Each way of sending pastes a personal cell's value in its slot's format
// (the item menu names an item, not a cell: as stored) and ends with TAB
// down and up in TAB mode, and only then.
class SendWayTest : public TransferTest, public ::testing::WithParamInterface<int> {};

TEST_P(SendWayTest, PastesTheCellsFormattedValueAndTabOnlyInTabMode) {
  const GridCell tel{0, 1};
  SetForm(kPageKojin1, tel, ValueForm::kDigitsOnly);
  palette.values[FindItem("〒")] = "100-0001";  // so that a step from ＴＥＬ is no wrap
  for (bool tabMode : {false, true}) {
    palette.tabMode = tabMode;
    TrackTarget(kApp);
    switch (GetParam()) {
      case 0:
        PressAndLeave(kPageKojin1, tel, kEdit);
        Up(kPageKojin1, MouseButton::Left);
        break;
      case 1:
        palette.current[kPageKojin1] = tel;
        DoubleClick(kPageKojin1);
        break;
      case 2:
        transfer.Step(kPageKojin1, tel);
        break;
      default:
        transfer.SendItem(FindItem("ＴＥＬ"));
    }
    EXPECT_EQ(desktop.clipboard, GetParam() == 3 ? "  03-1234 " : "031234");
    Events keys;
    for (const auto& e : log) {
      if (e.rfind("key ", 0) == 0) keys.push_back(e);
    }
    EXPECT_EQ(keys, tabMode ? kPasteTab : kPaste) << "tab mode " << tabMode;
  }
}

INSTANTIATE_TEST_SUITE_P(Ways, SendWayTest, ::testing::Values(0, 1, 2, 3));

struct BlankCase {
  const char* name;
  int page;
  GridCell cell;
  std::string text;    // cell text (list) or memo content
  bool placesClipboard;
  ValueForm form = ValueForm::kAsStored;  // of a personal cell
};

class BlankValueTest : public TransferTest, public ::testing::WithParamInterface<BlankCase> {};

TEST_P(BlankValueTest, NothingIsSent) {
  const BlankCase& c = GetParam();
  if (c.page == kPageList) palette.texts[{kPageList, c.cell.col, c.cell.row}] = c.text;
  if (c.page == kPageMemo) {
    palette.texts[{kPageMemo, 0, 0}] = "title";
    palette.memos[0] = c.text;
  }
  if (IsPersonal(c.page)) SetForm(c.page, c.cell, c.form);
  TrackTarget(kApp);
  PressAndLeave(c.page, c.cell, kEdit);
  EXPECT_FALSE(transfer.State().Dragging);
  EXPECT_FALSE(transfer.State().DragArmed);
  Up(c.page, MouseButton::Left);  // acts as a click
  DoubleClick(c.page);
  for (const auto& e : log) {
    for (const char* sending : {"key", "send", "foreground", "capture", "cursor"}) {
      EXPECT_NE(e.rfind(sending, 0), 0u) << e;
    }
  }
  EXPECT_EQ(desktop.clipboardPlaced, c.placesClipboard);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, BlankValueTest,
    ::testing::Values(BlankCase{"personal_spaces", kPageKojin1, {1, 0}, "", false},
                      BlankCase{"personal_no_item", kPageKojin1, {1, 1}, "", false},
                      // 山田太郎 has no digit.
                      BlankCase{"personal_formatted_away", kPageKojin1, {0, 0}, "", false,
                                ValueForm::kDigitsOnly},
                      BlankCase{"list_spaces", kPageList, {0, 2}, " \r\n ", false},
                      // The memo's buffer replaces the clipboard before it is judged.
                      BlankCase{"memo_missing", kPageMemo, {0, 0}, "", true},
                      BlankCase{"memo_white_space", kPageMemo, {0, 0}, "  \r\n\t", true},
                      BlankCase{"memo_zero_first", kPageMemo, {0, 0}, std::string("\0abc", 4),
                                true}),
    [](const auto& info) { return info.param.name; });

TEST_F(TransferTest, PressOnAnEmptyCellArmsNothingAndReleaseIsAClick) {
  palette.values[0] = "";
  PressAndLeave(kPageKojin1, {0, 2}, kEdit);
  EXPECT_FALSE(transfer.State().DragArmed);
  EXPECT_TRUE(log.empty());
  palette.current[kPageKojin1] = {0, 0};
  Up(kPageKojin1, MouseButton::Left);
  EXPECT_EQ(log, (Events{"showhint 0 off"}));  // 氏名 is blank now
}

TEST_F(TransferTest, PressOutsideEveryCellArmsNothing) {
  PressAndLeave(kPageKojin1, {-1, -1}, kEdit);
  EXPECT_FALSE(transfer.State().DragArmed);
  EXPECT_EQ(transfer.State().DragCol, -1);
  EXPECT_TRUE(log.empty());
}

TEST_F(TransferTest, MemoSendsTheWholeBufferOfItsSlot) {
  palette.shapes[kPageMemo] = {2, 5};
  palette.texts[{kPageMemo, 1, 2}] = "title";
  palette.memos[5] = std::string(5000, 'm');
  PressAndLeave(kPageMemo, {1, 2}, kEdit);
  ASSERT_TRUE(transfer.State().Dragging);
  EXPECT_EQ(desktop.clipboard, std::string(4096, 'm'));

  palette.memos[5] = " note ";
  TrackTarget(kApp);
  DoubleClick(kPageMemo);
  ASSERT_EQ(desktop.clipboard.size(), 4096u);
  EXPECT_EQ(desktop.clipboard.substr(0, 7), std::string(" note \0", 7));
  EXPECT_EQ(desktop.clipboard.find_first_not_of('\0', 6), std::string::npos);
}

TEST_F(TransferTest, ListSendsTheCellTextUntrimmed) {
  palette.texts[{kPageList, 0, 3}] = " よろしく ";
  TrackTarget(kApp);
  palette.current[kPageList] = {0, 3};
  DoubleClick(kPageList);
  EXPECT_EQ(desktop.clipboard, " よろしく ");
}

TEST_F(TransferTest, BusyClipboardAtDragStartBeepsAndStartsNoDrag) {
  desktop.clipboardBusy = true;
  PressAndLeave(kPageKojin1, {0, 0}, kEdit);
  EXPECT_EQ(log, (Events{"clipboard 8", "beep"}));
  EXPECT_FALSE(transfer.State().Dragging);
}

TEST_F(TransferTest, BusyClipboardOnDoubleClickSendsNoKeys) {
  TrackTarget(kApp);
  desktop.clipboardBusy = true;
  palette.current[kPageKojin1] = {0, 0};
  DoubleClick(kPageKojin1);
  transfer.SendItem(FindItem("氏名"));
  EXPECT_EQ(log, (Events{"clipboard 8", "beep", "clipboard 8", "beep"}));
}

struct ForegroundCase {
  const char* name;
  int switchAfterMs;  // -1: never
  int ignoredAsks;
  bool refused;
  std::uint64_t waitedMs;
  std::size_t asks;  // SetForeground calls
  bool reached;      // then one answered message before the keys
};

class ForegroundWaitTest : public TransferTest,
                           public ::testing::WithParamInterface<ForegroundCase> {};

TEST_P(ForegroundWaitTest, KeysFollowTheSwitchOrTheBound) {
  const ForegroundCase& c = GetParam();
  TrackTarget(kApp);
  desktop.switchAfterMs = c.switchAfterMs;
  desktop.ignoredAsks = c.ignoredAsks;
  desktop.refuseForeground = c.refused;
  const std::uint64_t start = desktop.now;
  transfer.SendItem(FindItem("氏名"));
  EXPECT_EQ(desktop.now - start, c.waitedMs);
  Events expected{"clipboard 8"};
  expected.insert(expected.end(), c.asks, "foreground 0x20");
  if (c.reached) expected.push_back("send 0x20 0x0 0x0 0x0");
  EXPECT_EQ(log, Concat({expected, kPaste}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ForegroundWaitTest,
    ::testing::Values(ForegroundCase{"at_once", 0, 0, false, 0, 1, true},
                      // The keys follow the switch itself, not a polling step.
                      ForegroundCase{"after_35ms", 35, 0, false, 35, 1, true},
                      // The first request is lost; the one 100 ms later works.
                      ForegroundCase{"asked_again", 0, 1, false, 100, 2, true},
                      ForegroundCase{"never", -1, 0, false, kForegroundWaitMs, 5, false},
                      ForegroundCase{"refused", -1, 0, true, 0, 1, false}),
    [](const auto& info) { return info.param.name; });

struct IntegrityCase {
  const char* name;
  std::optional<std::uint32_t> target;
  std::optional<std::uint32_t> own;
  bool refused;
};

class ElevatedTargetTest : public TransferTest,
                           public ::testing::WithParamInterface<IntegrityCase> {};

// Each way of sending, against each pair of levels: a refusal sends nothing
// into the target, beeps and tells why; the clipboard keeps the value.
TEST_P(ElevatedTargetTest, RefusesOnlyAHigherLevel) {
  const IntegrityCase& c = GetParam();
  desktop.levels[kApp] = c.target;
  desktop.ownLevel = c.own;
  const Events refusal = {"beep", "notice [" + std::string(kElevatedTargetNotice) + "]"};
  auto sentToTarget = [this] {
    return std::any_of(log.begin(), log.end(), [](const std::string& e) {
      return e.rfind("key ", 0) == 0 || e.rfind("send ", 0) == 0 || e.rfind("foreground", 0) == 0;
    });
  };

  PressAndLeave(kPageKojin1, {0, 0}, kEdit);
  log.clear();
  Up(kPageKojin1, MouseButton::Left);
  EXPECT_EQ(sentToTarget(), !c.refused) << "drop";
  if (c.refused) {
    EXPECT_EQ(log, Concat({refusal, {"cursor default", "release", "cell 0 0,0"}}));
  }
  EXPECT_FALSE(transfer.State().Dragging);

  TrackTarget(kApp);
  DoubleClick(kPageKojin1);
  transfer.SendItem(FindItem("氏名"));
  EXPECT_EQ(sentToTarget(), !c.refused) << "double-click and menu";
  if (c.refused) {
    EXPECT_EQ(log, Concat({{"clipboard 8"}, refusal, {"clipboard 8"}, refusal}));
  }
  EXPECT_EQ(desktop.clipboard, "山田太郎");
}

INSTANTIATE_TEST_SUITE_P(
    Levels, ElevatedTargetTest,
    ::testing::Values(IntegrityCase{"higher", 0x3000, 0x2000, true},
                      IntegrityCase{"system_above_high", 0x4000, 0x3000, true},
                      IntegrityCase{"equal", 0x2000, 0x2000, false},
                      IntegrityCase{"lower", 0x1000, 0x2000, false},
                      IntegrityCase{"target_unreadable", std::nullopt, 0x2000, false},
                      IntegrityCase{"own_unreadable", 0x3000, std::nullopt, false}),
    [](const auto& info) { return info.param.name; });

TEST_F(TransferTest, DropWaitsForTheOwnedDialogsOwnerToo) {
  desktop.switchAfterMs = -1;
  PressAndLeave(kPageKojin1, {0, 0}, kEdit);
  desktop.foreground = kDialog;  // a window the target owns counts
  const std::uint64_t start = desktop.now;
  Up(kPageKojin1, MouseButton::Left);
  EXPECT_EQ(desktop.now, start);
  EXPECT_NE(std::find(log.begin(), log.end(), "send 0x30 0x0 0x0 0x0"), log.end());
}

struct HintCase {
  const char* name;
  int page;
  GridCell cell;
  Events expected;
  ValueForm form = ValueForm::kAsStored;  // of a personal cell
};

class ClickHintTest : public TransferTest, public ::testing::WithParamInterface<HintCase> {};

TEST_P(ClickHintTest, SetsTheGridsTooltip) {
  const HintCase& c = GetParam();
  palette.texts[{kPageMemo, 0, 1}] = "memo one";
  palette.texts[{kPageMemo, 0, 2}] = " \r\n";
  palette.hints = {"hint zero", "  "};
  if (IsPersonal(c.page) && c.cell.IsCell()) SetForm(c.page, c.cell, c.form);
  palette.current[c.page] = c.cell;
  Down(c.page, MouseButton::Left);
  Up(c.page, MouseButton::Left);
  EXPECT_EQ(log, c.expected);
  EXPECT_FALSE(transfer.State().DragArmed);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, ClickHintTest,
    ::testing::Values(
        HintCase{"personal_value", kPageKojin1, {0, 1}, {"hint 0 [  03-1234 ]", "showhint 0 on"}},
        HintCase{"personal_blank", kPageKojin1, {1, 0}, {"showhint 0 off"}},
        HintCase{"personal_no_item", kPageKojin1, {1, 1}, {"hint 0 []", "showhint 0 off"}},
        // As it will be typed.
        HintCase{"personal_formatted", kPageKojin1, {0, 1}, {"hint 0 [031234]", "showhint 0 on"},
                 ValueForm::kDigitsOnly},
        HintCase{"personal_formatted_away", kPageKojin1, {0, 0}, {"showhint 0 off"},
                 ValueForm::kDigitsOnly},
        HintCase{"memo_title", kPageMemo, {0, 1}, {"hint 2 [memo one]", "showhint 2 on"}},
        HintCase{"memo_blank_title", kPageMemo, {0, 2}, {"hint 2 []", "showhint 2 off"}},
        HintCase{"list_hint", kPageList, {0, 0}, {"hint 3 [hint zero]", "showhint 3 on"}},
        HintCase{"list_blank_hint", kPageList, {0, 1}, {"hint 3 []", "showhint 3 off"}},
        HintCase{"list_past_last_phrase", kPageList, {0, 2}, {"hint 3 []", "showhint 3 off"}},
        HintCase{"no_cell", kPageList, {-1, 0}, {}}),
    [](const auto& info) { return info.param.name; });

TEST_F(TransferTest, RightPressMakesTheCellUnderThePointerCurrent) {
  transfer.Press(kPageMemo, {1, 4}, MouseButton::Right);
  EXPECT_EQ(log, (Events{"cell 2 1,4"}));
  log.clear();
  // Below the last row.
  transfer.Press(kPageMemo, kNoCell, MouseButton::Right);
  transfer.Release(kPageMemo, kNoCell, MouseButton::Right);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(palette.current[kPageMemo], (GridCell{1, 4}));
}

TEST_F(TransferTest, TimerTracksTheLastForeignForegroundWindow) {
  struct Step {
    WindowId foreground;
    WindowId target;
  };
  const Step steps[] = {{kEdit, kApp},       {kPalette, kApp},   {kNoWindow, kApp},
                        {kDialog, kApp},     {kTabRow, kApp},    {0x99, 0x99}};
  desktop.windows[0x99] = {};
  for (const Step& s : steps) {
    desktop.foreground = s.foreground;
    transfer.Tick();
    EXPECT_EQ(transfer.State().TargetWindow, s.target) << Hex(s.foreground);
  }
}

TEST_F(TransferTest, CaptionShowsTheClipboardTextOrNoText) {
  transfer.Tick();
  desktop.clipboard = "文字";
  desktop.clipboardPlaced = true;
  ++desktop.sequence;
  transfer.Tick();
  desktop.clipboard = "";
  ++desktop.sequence;
  transfer.Tick();
  EXPECT_EQ(log, (Events{"caption [No Text!]", "caption [文字]", "caption []"}));
}

TEST_F(TransferTest, UnchangedClipboardIsNotRead) {
  desktop.clipboard = std::string(1 << 20, 'x');
  desktop.clipboardPlaced = true;
  for (int i = 0; i < 5; ++i) transfer.Tick();
  EXPECT_EQ(desktop.reads, 1);
  EXPECT_EQ(log.size(), 1u);
  // A new content with an equal text reads again but sets nothing.
  ++desktop.sequence;
  transfer.Tick();
  EXPECT_EQ(desktop.reads, 2);
  EXPECT_EQ(log.size(), 1u);
}

// The target opens the clipboard to paste right after a transfer; a tick
// that read it back then could make that paste find it held.
TEST_F(TransferTest, TextPlacedByATransferIsShownWithoutReadingItBack) {
  TrackTarget(kApp);
  const int readsBefore = desktop.reads;
  palette.current[kPageKojin1] = {0, 0};
  DoubleClick(kPageKojin1);
  transfer.Tick();
  transfer.Tick();
  EXPECT_EQ(desktop.reads, readsBefore);
  EXPECT_EQ(log.back(), "caption [山田太郎]");
  // A drag start of a memo: the 4096-byte block shows up to its first zero.
  palette.memos[0] = "memo text";
  palette.texts[{kPageMemo, 0, 0}] = "memo text";
  PressAndLeave(kPageMemo, {0, 0}, kEdit);
  transfer.Tick();
  EXPECT_EQ(desktop.reads, readsBefore);
  EXPECT_EQ(log.back(), "caption [memo text]");
  // What another program places afterwards is read as before.
  desktop.clipboard = "other";
  ++desktop.sequence;
  transfer.Tick();
  EXPECT_EQ(desktop.reads, readsBefore + 1);
  EXPECT_EQ(log.back(), "caption [other]");
}

TEST_F(TransferTest, WithoutASequenceNumberEveryTickReads) {
  desktop.sequence = 0;
  transfer.Tick();
  desktop.clipboard = "new";
  desktop.clipboardPlaced = true;
  transfer.Tick();
  EXPECT_EQ(desktop.reads, 2);
  EXPECT_EQ(log.back(), "caption [new]");
}

TEST_F(TransferTest, BusyClipboardIsReadAgainOnTheNextTick) {
  desktop.clipboardBusy = true;
  transfer.Tick();
  EXPECT_TRUE(log.empty());
  desktop.clipboardBusy = false;
  transfer.Tick();
  EXPECT_EQ(log, (Events{"caption [No Text!]"}));
}

TEST_F(TransferTest, LongClipboardTextIsCutWithoutSplittingACharacter) {
  // 511 ASCII bytes, then 漢 (8A BF): byte 512 would split it.
  desktop.clipboard = std::string(511, 'a') + "漢字" + std::string(100, 'b');
  desktop.clipboardPlaced = true;
  transfer.Tick();
  EXPECT_EQ(desktop.lastReadMax, kCaptionMaxBytes);
  EXPECT_EQ(log, (Events{"caption [" + std::string(511, 'a') + "]"}));
  desktop.clipboard = std::string(kCaptionMaxBytes + 1, 'c');
  ++desktop.sequence;
  transfer.Tick();
  EXPECT_EQ(log.back(), "caption [" + std::string(kCaptionMaxBytes, 'c') + "]");
}

// 連続入力 on 個１ (2 x 6, column by column): 氏名 (0,0), ＴＥＬ (0,1) and 〒
// (1,0) are items; ＴＥＬ's value is blank here, 〒 has one.
TEST_F(TransferTest, StepSendsCellAfterCellSkippingBlanksAndWrapsWithABeep) {
  palette.values[FindItem("ＴＥＬ")] = " ";  // blank: skipped
  palette.values[FindItem("〒")] = "100-0001";
  desktop.foreground = kApp;    // the form in front, the palette not
  EXPECT_EQ(SendableCellsOf(kPageKojin1), (std::vector<GridCell>{{0, 0}, {1, 0}}));
  struct Press {
    GridCell from;
    const char* sent;  // nullptr: nothing, a beep
    GridCell next;
  };
  const Press presses[] = {
      {{0, 0}, "山田太郎", {1, 0}},
      {{1, 0}, "100-0001", {1, 0}},  // the last: it stays
      {{1, 0}, nullptr, {0, 0}},     // past the end: back to the first
      {{0, 1}, "100-0001", {1, 0}},  // from a blank cell: the next with a value
  };
  for (const Press& p : presses) {
    SCOPED_TRACE(std::to_string(p.from.col) + "," + std::to_string(p.from.row));
    log.clear();
    desktop.clipboard.clear();
    EXPECT_EQ(transfer.Step(kPageKojin1, p.from), p.next);
    EXPECT_EQ(desktop.clipboard, p.sent ? p.sent : "");
    const bool beeped = std::find(log.begin(), log.end(), "beep") != log.end();
    EXPECT_EQ(beeped, p.sent == nullptr);
    EXPECT_EQ(palette.current[kPageKojin1], p.next);
  }
  EXPECT_EQ(transfer.State().TargetWindow, kApp);
}

// A step from its chord: the paste keys wait for the chord to be let go;
// Alt gets a harmless key first, so its release arms no menu bar; a chord
// held past the bound gets nothing but a beep.
TEST_F(TransferTest, PasteWaitsForHeldModifiersAndMasksAlt) {
  struct Case {
    const char* name;
    unsigned char key;
    long long releaseAt;  // fake clock; -1 never
    bool pasted;
    bool masked;
  };
  const Case cases[] = {
      {"none held", 0, 0, true, false},
      {"ctrl let go late", vk::kControl, 1300, true, false},
      {"alt let go", vk::kAlt, 1200, true, true},
      {"shift never let go", vk::kShift, -1, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    desktop.releaseAt.clear();
    if (c.key) desktop.releaseAt[c.key] = c.releaseAt;
    desktop.now = 1000;
    desktop.foreground = kApp;
    log.clear();
    transfer.Step(kPageKojin1, {0, 0});
    Events keys;
    for (const auto& e : log) {
      if (e.rfind("key ", 0) == 0) keys.push_back(e);
    }
    const Events mask = {"key 0xE8 0x0", "key 0xE8 0x2"};
    EXPECT_EQ(keys, Concat({c.masked ? mask : Events{}, c.pasted ? kPaste : Events{}}));
    EXPECT_EQ(std::find(log.begin(), log.end(), "beep") != log.end(), !c.pasted);
    if (c.pasted && c.key) {
      EXPECT_GE(desktop.now, static_cast<std::uint64_t>(c.releaseAt));
    }
  }
}

TEST(KojinMenu, HoldsEveryItemOnceUnderItsSubmenu) {
  const std::vector<MenuNode> top = KojinMenuLayout();
  std::vector<std::string> shape;
  int entries = 0;
  for (const MenuNode& node : top) {
    std::string line = node.caption + ":";
    for (const MenuNode& item : node.items) {
      line += " " + item.caption;
      EXPECT_EQ(FindItem(item.caption), KojinMenuItem(item.command));
      ++entries;
    }
    if (node.command) {
      EXPECT_EQ(FindItem(node.caption), KojinMenuItem(node.command));
      ++entries;
    }
    shape.push_back(line);
  }
  EXPECT_EQ(entries, kItemCount);
  EXPECT_EQ(shape, (std::vector<std::string>{
                       "氏名: 氏名 姓 名 ふりがな せい めい フリガナ セイ メイ",
                       "連絡先: E-Mail1 E-Mail2 HP-URL ＴＥＬ ＦＡＸ",
                       "住所: 〒 都道府県 住所１ 住所２",
                       "勤務先情報: 勤務先名 所属 勤E-Mail 勤URL 勤TEL 勤FAX 勤〒 勤住所１ 勤住所２",
                       "ｅｔｃ: ｅｔｃ１ ｅｔｃ２ ｅｔｃ３ ｅｔｃ４ ｅｔｃ５",
                       "職業:", "年齢:"}));
  EXPECT_EQ(KojinMenuItem(kCmdKojinItemFirst - 1), -1);
  EXPECT_EQ(KojinMenuItem(kCmdKojinItemFirst + kItemCount), -1);
}

}  // namespace
}  // namespace tabcard
