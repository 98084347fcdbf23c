#include "tray/task_tray.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tabcard {
namespace {

using Log = std::vector<std::string>;

constexpr TrayIconHandle kAppIcon = 1;

// Logs every call as "add ICON 'TIP'"; an add fails while refusals are left.
class FakeShell : public TrayShell {
 public:
  explicit FakeShell(Log& log) : log_(log) {}
  bool Add(const TrayIconRecord& r) override {
    const bool ok = refusals-- <= 0;
    log_.push_back("add " + Describe(r) + (ok ? "" : " refused"));
    return ok;
  }
  bool Modify(const TrayIconRecord& r) override {
    log_.push_back("modify " + Describe(r));
    return true;
  }
  void Delete() override { log_.push_back("delete"); }
  int refusals = 0;

 private:
  static std::string Describe(const TrayIconRecord& r) {
    return std::to_string(r.icon) + " '" + r.tip + "'";
  }
  Log& log_;
};

struct Fixture {
  Log log;
  FakeShell shell{log};
  TrayEvents events;
  std::unique_ptr<TaskTrayCore> tray = std::make_unique<TaskTrayCore>(shell, events, kAppIcon);
  Log Take() { return std::exchange(log, {}); }
};

TEST(TrayNotification, MouseMessagesReachTheirEventsInOrder) {
  Fixture f;
  const char* names[] = {"none", "left", "right", "middle"};
  auto at = [](int x, int y) { return " " + std::to_string(x) + "," + std::to_string(y); };
  f.events.OnMouseDblClick = [&] { f.log.push_back("dblclick"); };
  f.events.OnMouseUp = [&](MouseButton b, int x, int y) {
    f.log.push_back(std::string("up ") + names[static_cast<int>(b)] + at(x, y));
  };
  // A left double-click as the shell reports it, a right and a middle click,
  // the other double-clicks, a move, then messages for default processing.
  const std::uintptr_t handled[] = {0x201, 0x202, 0x203, 0x202, 0x204, 0x205,
                                    0x207, 0x208, 0x206, 0x209, 0x200};
  int x = 0;
  for (std::uintptr_t m : handled) {
    ++x;
    EXPECT_TRUE(f.tray->Notify(m, x, -x)) << m;
  }
  for (std::uintptr_t m : {0x000, 0x20A, 0x400, 0x402}) EXPECT_FALSE(f.tray->Notify(m, 0, 0)) << m;
  EXPECT_EQ(f.Take(), (Log{"up left 2,-2", "dblclick", "up left 4,-4", "up right 6,-6",
                           "up middle 8,-8", "dblclick", "dblclick"}));
  // Without bound events the notification is still handled.
  Fixture bare;
  EXPECT_TRUE(bare.tray->Notify(0x205, 0, 0));
}

TEST(TrayTip, ShellGetsAtMost63BytesAndNoHalfCharacter) {
  const std::string a61(61, 'a');
  std::string kanji40;
  for (int i = 0; i < 40; ++i) kanji40 += "氏";  // both bytes in the lead range
  const std::pair<std::string, std::string> cases[] = {
      {"Tabcard", "Tabcard"},
      {std::string(64, 'a'), std::string(63, 'a')},
      {a61 + "表", a61 + "表"},
      {a61 + "a表", a61 + "a"},
      {kanji40, kanji40.substr(0, 62)},
  };
  for (const auto& [tips, shown] : cases) {
    Fixture f;
    f.tray->SetTips(tips);
    f.tray->Loaded();
    EXPECT_EQ(f.Take(), Log{"add 1 '" + shown + "'"}) << tips;
  }
}

TEST(TaskTrayCore, ModifiesOnlyRealChangesOfAShownIcon) {
  Fixture f;
  f.tray->SetTips("Tab");
  f.tray->SetIcon(2);
  EXPECT_EQ(f.Take(), Log{});  // not shown yet: only kept
  f.tray->Loaded();
  f.tray->SetTips("Tab");
  f.tray->SetIcon(2);
  f.tray->AddIcon();
  f.tray->SetTips("Tabcard");
  f.tray->SetIcon(3);
  f.tray->SetIcon(kNoTrayIcon);  // back to the application's icon
  EXPECT_EQ(f.Take(), (Log{"add 2 'Tab'", "modify 2 'Tabcard'", "modify 3 'Tabcard'",
                           "modify 1 'Tabcard'"}));
}

TEST(TaskTrayCore, DestructionDeletesWhetherOrNotTheIconWasAdded) {
  const std::pair<int, Log> cases[] = {
      {0, {"add 1 ''", "delete"}},         // shown
      {9, {"add 1 '' refused", "delete"}},  // refused
      {-1, {"delete"}},                     // never loaded
  };
  for (const auto& [refusals, expected] : cases) {
    Fixture f;
    f.shell.refusals = refusals;
    if (refusals >= 0) f.tray->Loaded();
    f.tray.reset();
    EXPECT_EQ(f.Take(), expected) << refusals;
  }
}

// Runs the retry timer until the core stops it, and one stray tick more.
int AddsUntilTimerStops(Fixture& f) {
  for (int ticks = 0; f.tray->RetryPending() && ticks < 100; ++ticks) f.tray->RetryTick();
  f.tray->RetryTick();
  int adds = 0;
  for (const std::string& e : f.Take()) adds += e.rfind("add ", 0) == 0;
  return adds;
}

TEST(TaskTrayCore, RefusedAddIsRetriedABoundedNumberOfTimes) {
  for (int refusals : {0, 3, kTrayAddRetries, kTrayAddRetries + 1}) {
    Fixture f;
    f.shell.refusals = refusals;
    f.tray->Loaded();
    EXPECT_EQ(AddsUntilTimerStops(f), std::min(refusals, kTrayAddRetries) + 1) << refusals;
    EXPECT_EQ(f.tray->IconAdded(), refusals <= kTrayAddRetries) << refusals;
  }
}

TEST(TaskTrayCore, TaskbarCreatedAddsTheIconAgain) {
  Fixture f;
  f.tray->TaskbarCreated();  // before Loaded the icon is not wanted
  f.tray->SetTips("Tabcard");
  f.tray->Loaded();
  f.tray->TaskbarCreated();
  EXPECT_EQ(f.Take(), (Log{"add 1 'Tabcard'", "add 1 'Tabcard'"}));

  // The new shell is not ready yet: the re-add is retried with what was set
  // meanwhile.
  f.shell.refusals = 1;
  f.tray->TaskbarCreated();
  EXPECT_FALSE(f.tray->IconAdded());
  f.tray->SetTips("changed");
  EXPECT_EQ(AddsUntilTimerStops(f), 2);
  EXPECT_TRUE(f.tray->IconAdded());

  // A shell that comes up after every retry was spent still gets the icon.
  f.shell.refusals = kTrayAddRetries + 1;
  f.tray->TaskbarCreated();
  AddsUntilTimerStops(f);
  f.tray->TaskbarCreated();
  EXPECT_TRUE(f.tray->IconAdded());
  EXPECT_EQ(f.Take(), Log{"add 1 'changed'"});
}

}  // namespace
}  // namespace tabcard
