#include "app/main_menus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace tabcard {
namespace {

SystemMenuState Sample() {
  SystemMenuState s;
  s.userNames = {"A", "B", "", "D"};
  s.UserNo = 2;
  s.TabMode = true;
  s.WndTopMost = false;
  return s;
}

TEST(SystemMenuTest, EverythingAddedIsRemovedFirstSoNothingDoubles) {
  const SystemMenuAdditions menu = SystemMenuLayout(Sample());
  const std::set<int> removed(menu.removed.begin(), menu.removed.end());
  EXPECT_EQ(removed.size(), menu.removed.size());
  EXPECT_TRUE(removed.count(menu.inserted.command));
  for (const SystemMenuEntry& e : menu.appended) EXPECT_TRUE(removed.count(e.command)) << e.command;
  EXPECT_TRUE(removed.count(kScMinimize) && removed.count(kScMaximize));
}

TEST(SystemMenuTest, BuiltChecksFollowTheState) {
  std::string checked;
  for (const SystemMenuEntry& e : SystemMenuLayout(Sample()).appended) {
    if (e.checked) checked += std::to_string(e.command) + " ";
  }
  EXPECT_EQ(checked, "274 262 ");
}

TEST(SystemMenuTest, InitMenuGraysOnlyWhileMinimisedAndNeverHelpTabOrProfiles) {
  for (bool minimised : {false, true}) {
    SCOPED_TRACE(minimised);
    const auto updates = SystemMenuInit(Sample(), minimised);
    std::set<int> seen;
    for (const SystemMenuUpdate& u : updates) {
      seen.insert(u.command);
      const bool grayable = u.command == kSysMinimize || u.command == kSysProperty ||
                            u.command == kSysOption || u.command == kSysAbout ||
                            u.command == kSysTopMost;
      EXPECT_EQ(u.grayed.has_value(), grayable) << u.command;
      if (u.grayed) {
        EXPECT_EQ(*u.grayed, minimised) << u.command;
      }
      const int user = u.command - kSysUserFirst;
      if (user >= 0 && user < kUserCount) {
        EXPECT_EQ(u.caption, Sample().userNames[static_cast<std::size_t>(user)]);
        EXPECT_EQ(u.checked, user == 2);
      }
    }
    EXPECT_EQ(std::count_if(updates.begin(), updates.end(),
                            [](const SystemMenuUpdate& u) { return u.checked == true; }),
              2);  // the third profile and the TAB mode
    EXPECT_EQ(seen.size(), 10u);
    EXPECT_FALSE(seen.count(kSysHelp));
  }
}

}  // namespace
}  // namespace tabcard
