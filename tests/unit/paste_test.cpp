// The paste keys and the wait for the target's read, through a double-click
// into a target that takes its paste on one chord; and whether the clipboard
// the transfer set aside goes back.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "transfer_fake.h"

namespace tabcard {
namespace {

using namespace tabcard::testing;

constexpr std::uint64_t kNever = FakeDesktop::kNever;
constexpr auto kSI = PasteKey::kShiftInsert;
constexpr auto kCV = PasteKey::kCtrlV;

struct PasteCase {
  const char* name;
  std::optional<PasteKey> rule;   // stored for target.exe
  std::optional<PasteKey> takes;  // the chord the target pastes on
  std::uint64_t readDelayMs;
  std::uint64_t busyMs;           // from the first key, the target does not answer
  std::uint64_t changeAfterMs;    // another program copies
  std::uint64_t leaveAfterMs;     // the user switches to another window
  std::vector<PasteKey> typed;
  int pastes;
  std::optional<PasteKey> learnt;
  bool tab;               // TAB mode's TAB followed
  const char* notice;     // without a kept clipboard
  bool givenBack;         // a kept clipboard went back
};

const PasteCase kPasteCases[] = {
    {"read_at_once", {}, kSI, 0, 0, kNever, kNever, {kSI}, 1, {}, true, nullptr, true},
    {"read_late_by_a_busy_target", {}, kSI, 1100, 1200, kNever, kNever, {kSI}, 1, {}, true,
     nullptr, true},
    {"only_ctrl_v_is_learnt", {}, kCV, 0, 0, kNever, kNever, {kSI, kCV}, 1, kCV, true, nullptr,
     true},
    {"rule_used_at_once", kCV, kCV, 0, 0, kNever, kNever, {kCV}, 1, {}, true, nullptr, true},
    {"wrong_rule_corrected", kCV, kSI, 0, 0, kNever, kNever, {kCV, kSI}, 1, kSI, true, nullptr,
     true},
    {"never_read", {}, {}, 0, 0, kNever, kNever, {kSI, kCV}, 0, {}, false, kNotReadNotice, true},
    {"clipboard_changed_meanwhile", {}, {}, 0, 0, 500, kNever, {kSI}, 0, {}, false, nullptr,
     false},
    {"target_left", {}, {}, 0, 0, kNever, 500, {kSI}, 0, {}, false, nullptr, false},
    {"target_stopped_answering", {}, kSI, 2500, 3000, kNever, kNever, {kSI}, 1, {}, false,
     kTargetBusyNotice, false},
};

void PrintTo(const PasteCase& c, std::ostream* os) { *os << c.name; }

std::vector<PasteKey> Typed(const Events& log) {
  std::vector<PasteKey> typed;
  for (const std::string& e : log) {
    if (e == "key 0x2D 0x1") typed.push_back(kSI);
    if (e == "key 0x56 0x0") typed.push_back(kCV);
  }
  return typed;
}

std::vector<std::string> Notices(const Events& log) {
  std::vector<std::string> notices;
  for (const std::string& e : log) {
    if (e.rfind("notice [", 0) == 0) notices.push_back(e.substr(8, e.size() - 9));
  }
  return notices;
}

class PasteTest : public TransferTest, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(PasteTest, KeysReadRuleAndClipboard) {
  const PasteCase& c = GetParam();
  for (bool restores : {false, true}) {
    SCOPED_TRACE(restores ? "restoring" : "not restoring");
    book.rules.clear();
    book.learnt.clear();
    if (c.rule) book.rules.push_back({u"target.exe", *c.rule});
    palette.tabMode = true;
    palette.restores = restores;
    TrackTarget(kApp);
    desktop.takes = c.takes;
    desktop.readDelayMs = c.readDelayMs;
    desktop.busyMs = c.busyMs;
    desktop.keysSeen = 0;
    desktop.pastes = 0;
    desktop.busyUntil = 0;
    desktop.changeAt = c.changeAfterMs == kNever ? kNever : desktop.now + c.changeAfterMs;
    desktop.leaveAt = c.leaveAfterMs == kNever ? kNever : desktop.now + c.leaveAfterMs;
    DoubleClick(kPageKojin1);

    EXPECT_EQ(Typed(log), c.typed);
    EXPECT_EQ(desktop.pastes, c.pastes);
    const PasteKeyRules learnt =
        c.learnt ? PasteKeyRules{{u"target.exe", *c.learnt}} : PasteKeyRules{};
    EXPECT_EQ(book.learnt, learnt);
    EXPECT_EQ(std::count(log.begin(), log.end(), "key 0x9 0x1"), c.tab ? 1 : 0);
    std::vector<std::string> notices;
    if (c.notice) notices.push_back(c.givenBack && restores ? kNotReadRestoredNotice : c.notice);
    EXPECT_EQ(Notices(log), notices);
    EXPECT_EQ(std::count(log.begin(), log.end(), "keep"), restores ? 1 : 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "restore"), restores && c.givenBack ? 1 : 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "forget"), restores && !c.givenBack ? 1 : 0);
    desktop.now += 10000;
    desktop.leaveAt = desktop.changeAt = kNever;
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, PasteTest, ::testing::ValuesIn(kPasteCases),
                         [](const auto& info) { return std::string(info.param.name); });

// However late a target that took the first key reads (busy until then), it
// never gets a second one.
TEST_F(TransferTest, ATargetThatTookTheFirstKeyNeverGetsASecond) {
  for (std::uint64_t delay : {0, 400, 999, 1000, 1001, 1300, 1500, 1501, 2000, 5000}) {
    TrackTarget(kApp);
    desktop.readDelayMs = desktop.busyMs = delay;
    desktop.pastes = desktop.keysSeen = 0;
    desktop.busyUntil = 0;
    DoubleClick(kPageKojin1);
    EXPECT_EQ(desktop.keysSeen, 1) << delay;
    EXPECT_EQ(desktop.pastes, 1) << delay;
    EXPECT_TRUE(book.learnt.empty()) << delay;
    desktop.now += 10000;
  }
}

// Read by another program before the keys, the text is offered afresh so
// that the target's own read shows; a too large clipboard is told of once.
TEST_F(TransferTest, AnEarlyReaderAndATooLargeClipboard) {
  palette.restores = true;
  desktop.keep = ClipboardKeep::kTooBig;
  desktop.monitorReads = 1;
  desktop.takes = kCV;
  TrackTarget(kApp);
  DoubleClick(kPageKojin1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "clipboard 8"), 2);
  EXPECT_EQ(Typed(log), (std::vector<PasteKey>{kSI, kCV}));
  EXPECT_EQ(book.learnt, (PasteKeyRules{{u"target.exe", kCV}}));
  EXPECT_EQ(Notices(log), std::vector<std::string>{kClipboardTooBigNotice});
  EXPECT_EQ(std::count(log.begin(), log.end(), "restore"), 0);
}

}  // namespace
}  // namespace tabcard
