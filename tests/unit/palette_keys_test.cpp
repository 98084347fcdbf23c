// The palette's keys for a user without a mouse.
#include "app/palette_keys.h"

#include <gtest/gtest.h>

namespace tabcard {
namespace {

TEST(PaletteKeys, EnterAndSpaceSendCtrlTabTurnsPages) {
  using A = PaletteKeyAction;
  struct Case {
    unsigned vkey;
    bool ctrl, shift, alt;
    A action;
  };
  const Case cases[] = {
      {kVkReturn, false, false, false, A::kSend}, {kVkSpace, false, false, false, A::kSend},
      {kVkReturn, true, false, false, A::kNone},  {kVkSpace, false, true, false, A::kNone},
      {kVkReturn, false, false, true, A::kNone},  {kVkTab, true, false, false, A::kNextPage},
      {kVkTab, true, true, false, A::kPreviousPage}, {kVkTab, false, false, false, A::kNone},
      {kVkTab, true, false, true, A::kNone},      {'A', false, false, false, A::kNone},
      {kVkEscape, false, false, false, A::kReturn}, {kVkEscape, true, false, false, A::kNone},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PaletteKey(c.vkey, c.ctrl, c.shift, c.alt), c.action)
        << c.vkey << c.ctrl << c.shift << c.alt;
  }
  EXPECT_EQ(TurnedPage(3, 4, true), 0);
  EXPECT_EQ(TurnedPage(0, 4, false), 3);
  EXPECT_EQ(TurnedPage(1, 4, true), 2);
}

}  // namespace
}  // namespace tabcard
