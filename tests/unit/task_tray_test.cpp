#include "tray/task_tray.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tabcard {
namespace {

using Log = std::vector<std::string>;

constexpr TrayIconHandle kAppIcon = 1;
constexpr TrayIconHandle kOwnIcon = 2;
constexpr TrayIconHandle kOtherIcon = 3;

class FakeShell : public TrayShell {
 public:
  explicit FakeShell(Log& log) : log_(log) {}

  bool Add(const TrayIconRecord& r) override {
    const bool ok = addResults.empty() ? true : addResults.front();
    if (!addResults.empty()) addResults.pop_front();
    log_.push_back("add " + Describe(r) + (ok ? "" : " refused"));
    return ok;
  }
  bool Modify(const TrayIconRecord& r) override {
    log_.push_back("modify " + Describe(r));
    return true;
  }
  void Delete() override { log_.push_back("delete"); }

  std::deque<bool> addResults;  // true once they run out

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

std::string ButtonName(MouseButton b) {
  switch (b) {
    case MouseButton::Left: return "left";
    case MouseButton::Right: return "right";
    case MouseButton::Middle: return "middle";
    case MouseButton::None: break;
  }
  return "none";
}

void RecordEvents(TrayEvents& e, Log& log) {
  e.OnMouseDblClick = [&log] { log.push_back("dblclick"); };
  e.OnMouseMove = [&log](int x, int y) {
    log.push_back("move " + std::to_string(x) + "," + std::to_string(y));
  };
  e.OnMouseDown = [&log](MouseButton b, int x, int y) {
    log.push_back("down " + ButtonName(b) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  e.OnMouseUp = [&log](MouseButton b, int x, int y) {
    log.push_back("up " + ButtonName(b) + " " + std::to_string(x) + "," + std::to_string(y));
  };
}

TEST(TrayNotification, MouseMessagesReachTheirEventsInOrder) {
  Fixture f;
  RecordEvents(f.events, f.log);
  struct Step {
    std::uintptr_t lParam;
    bool handled;
  };
  // A left double-click as the shell reports it, a right click, a middle
  // click, a move, and messages that need default processing.
  const Step steps[] = {{0x201, true},  {0x202, true},  {0x203, true}, {0x202, true},
                        {0x204, true},  {0x205, true},  {0x207, true}, {0x208, true},
                        {0x206, true},  {0x209, true},  {0x200, true}, {0x000, false},
                        {0x20A, false}, {0x400, false}, {0x402, false}};
  int x = 0;
  for (const Step& s : steps) {
    ++x;
    EXPECT_EQ(f.tray->Notify(s.lParam, x, -x), s.handled) << std::hex << s.lParam;
  }
  const Log expected = {"down left 1,-1",  "up left 2,-2",    "dblclick",       "up left 4,-4",
                        "down right 5,-5", "up right 6,-6",   "down middle 7,-7",
                        "up middle 8,-8",  "dblclick",        "dblclick",       "move 11,-11"};
  EXPECT_EQ(f.Take(), expected);
}

TEST(TrayNotification, UnboundEventsAreStillHandled) {
  Fixture f;
  for (std::uintptr_t m = 0x200; m <= 0x209; ++m) EXPECT_TRUE(f.tray->Notify(m, 0, 0)) << m;
}

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST(TrayTip, KeepsAtMost63BytesAndNoHalfCharacter) {
  const std::string a62(62, 'a');
  struct Case {
    const char* name;
    std::string tips;
    std::string shown;
  };
  const Case cases[] = {
      {"short", "Tabcard", "Tabcard"},
      {"exactly 63", std::string(63, 'a'), std::string(63, 'a')},
      {"64 cut to 63", std::string(64, 'a'), std::string(63, 'a')},
      {"kanji ending at 63", std::string(61, 'a') + "表", std::string(61, 'a') + "表"},
      {"kanji across 63", a62 + "表", a62},
      {"all kanji", Repeat("氏", 40), Repeat("氏", 31)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TrayTip(c.tips), c.shown) << c.name;
    // What the shell actually gets.
    Fixture f;
    f.tray->SetTips(c.tips);
    f.tray->Loaded();
    EXPECT_EQ(f.Take(), Log{"add 1 '" + c.shown + "'"}) << c.name;
  }
}

TEST(TaskTrayCore, ModifiesOnlyRealChangesOfAShownIcon) {
  Fixture f;
  // Before the add only the values are kept.
  f.tray->SetTips("Tab");
  f.tray->SetIcon(kOwnIcon);
  EXPECT_EQ(f.Take(), Log{});
  f.tray->Loaded();
  EXPECT_TRUE(f.tray->IconAdded());
  EXPECT_EQ(f.Take(), Log{"add 2 'Tab'"});

  f.tray->SetTips("Tab");
  f.tray->SetIcon(kOwnIcon);
  EXPECT_EQ(f.Take(), Log{});

  f.tray->SetTips("Tabcard");
  f.tray->SetIcon(kOtherIcon);
  f.tray->SetIcon(kNoTrayIcon);  // back to the application's icon
  EXPECT_EQ(f.Take(), (Log{"modify 2 'Tabcard'", "modify 3 'Tabcard'", "modify 1 'Tabcard'"}));
  EXPECT_EQ(f.tray->Tips(), "Tabcard");
  EXPECT_EQ(f.tray->Icon(), kNoTrayIcon);

  // A second AddIcon of a shown icon is no call.
  EXPECT_TRUE(f.tray->AddIcon());
  EXPECT_EQ(f.Take(), Log{});
}

TEST(TaskTrayCore, DestructionDeletesWhetherOrNotTheIconWasAdded) {
  struct Case {
    const char* name;
    bool load;
    bool addSucceeds;
    Log expected;
  };
  const Case cases[] = {
      {"added", true, true, {"add 1 ''", "delete"}},
      {"add refused", true, false, {"add 1 '' refused", "delete"}},
      {"never loaded", false, true, {"delete"}},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.shell.addResults = {c.addSucceeds};
    if (c.load) f.tray->Loaded();
    f.tray.reset();
    EXPECT_EQ(f.Take(), c.expected) << c.name;
  }
}

TEST(TaskTrayCore, RefusedAddIsRetriedABoundedNumberOfTimes) {
  struct Case {
    const char* name;
    int refusals;  // before the shell accepts
    int adds;
    bool added;
  };
  const Case cases[] = {
      {"accepted at once", 0, 1, true},
      {"accepted on the third retry", 3, 4, true},
      {"accepted on the last retry", kTrayAddRetries, kTrayAddRetries + 1, true},
      {"never accepted", kTrayAddRetries + 1, kTrayAddRetries + 1, false},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.shell.addResults.assign(static_cast<std::size_t>(c.refusals), false);
    f.tray->SetTips("Tabcard");
    f.tray->Loaded();
    // Changes made while the icon is missing reach the next add.
    f.tray->SetTips("Tabcard2");
    EXPECT_EQ(f.tray->RetryPending(), c.refusals > 0) << c.name;
    int ticks = 0;
    while (f.tray->RetryPending() && ticks < 100) {
      f.tray->RetryTick();
      ++ticks;
    }
    f.tray->RetryTick();  // a stray tick after the timer should have stopped
    Log adds = f.Take();
    adds.erase(std::remove_if(adds.begin(), adds.end(),
                              [](const std::string& e) { return e.rfind("add ", 0) != 0; }),
               adds.end());
    EXPECT_EQ(static_cast<int>(adds.size()), c.adds) << c.name;
    if (c.refusals > 0) {
      EXPECT_EQ(adds.back().rfind("add 1 'Tabcard2'", 0), 0u) << c.name;
    }
    EXPECT_EQ(f.tray->IconAdded(), c.added) << c.name;
    EXPECT_FALSE(f.tray->RetryPending()) << c.name;
  }
}

TEST(TaskTrayCore, TaskbarCreatedAddsTheIconAgain) {
  Fixture f;
  f.tray->TaskbarCreated();  // not loaded yet: the icon is not wanted
  EXPECT_EQ(f.Take(), Log{});

  f.tray->SetTips("Tabcard");
  f.tray->Loaded();
  f.tray->TaskbarCreated();
  EXPECT_EQ(f.Take(), (Log{"add 1 'Tabcard'", "add 1 'Tabcard'"}));
  EXPECT_TRUE(f.tray->IconAdded());

  // The new shell is not ready yet: the re-add is retried.
  f.shell.addResults = {false, true};
  f.tray->TaskbarCreated();
  EXPECT_FALSE(f.tray->IconAdded());
  f.tray->SetTips("changed");  // stored only while the icon is missing
  ASSERT_TRUE(f.tray->RetryPending());
  f.tray->RetryTick();
  EXPECT_TRUE(f.tray->IconAdded());
  EXPECT_FALSE(f.tray->RetryPending());
  EXPECT_EQ(f.Take(), (Log{"add 1 'Tabcard' refused", "add 1 'changed'"}));

  // A shell that comes up after every retry was spent still gets the icon.
  f.shell.addResults.assign(kTrayAddRetries + 1, false);
  f.tray->TaskbarCreated();
  while (f.tray->RetryPending()) f.tray->RetryTick();
  EXPECT_FALSE(f.tray->IconAdded());
  f.Take();
  f.tray->TaskbarCreated();
  EXPECT_TRUE(f.tray->IconAdded());
  EXPECT_EQ(f.Take(), Log{"add 1 'changed'"});
}

}  // namespace
}  // namespace tabcard
