// The window state in the base key, and where a restored window is placed.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "store/layout.h"
#include "store/memory_registry.h"
#include "store/placement.h"
#include "store/window_state.h"
#include "store_fixture.h"

namespace tabcard {
namespace {

using testing::RecordingRegistry;
using testing::Value;
using Type = RegValue::Type;

const char* const kStateNames[] = {"Top", "Left", "Height", "Width", "WndTopMost", "Page", "UserNo"};

void PutState(MemoryRegistry& reg, std::string_view skip = "") {
  const std::uint32_t values[] = {100, static_cast<std::uint32_t>(-40), 300, 200, 0, 2, 3};
  for (int i = 0; i < 7; ++i) {
    if (skip != kStateNames[i]) reg.PutDword(kBaseKey, kStateNames[i], values[i]);
  }
}

WindowState Built() {
  WindowState s;
  s.Page = 1;  // the page a freshly built window shows
  s.WndTopMost = false;
  s.UserNo = 2;
  return s;
}

void ExpectDefaults(const WindowState& s) {
  EXPECT_EQ(s.bounds.width, 130);
  EXPECT_EQ(s.bounds.height, 160);
  EXPECT_EQ(s.bounds.left, (1280 - 130) / 2);
  EXPECT_EQ(s.bounds.top, (1024 - 160) / 2);
  EXPECT_TRUE(s.WndTopMost);
  EXPECT_EQ(s.Page, 0);
  EXPECT_EQ(s.UserNo, 0);
}

TEST(LoadWindowState, ReadsTheStoredState) {
  MemoryRegistry reg;
  PutState(reg);
  WindowState s = Built();
  ASSERT_TRUE(LoadWindowState(reg, 1280, 1024, &s));
  EXPECT_EQ(s.bounds.top, 100);
  EXPECT_EQ(s.bounds.left, -40);
  EXPECT_EQ(s.bounds.height, 300);
  EXPECT_EQ(s.bounds.width, 200);
  EXPECT_FALSE(s.WndTopMost);
  EXPECT_EQ(s.Page, 2);
  EXPECT_EQ(s.UserNo, 3);
}

TEST(LoadWindowState, NoBaseKeyCentresATopmostWindow) {
  MemoryRegistry reg;
  WindowState s = Built();
  EXPECT_FALSE(LoadWindowState(reg, 1280, 1024, &s));
  ExpectDefaults(s);
  EXPECT_FALSE(reg.HasKey(kBaseKey));
}

TEST(LoadWindowState, AnyValueMissingOrNotADwordGivesTheWholeDefault) {
  for (const char* name : kStateNames) {
    for (bool missing : {true, false}) {
      MemoryRegistry reg;
      PutState(reg, missing ? name : "");
      if (!missing) reg.Put(kBaseKey, name, Value(Type::String, 0, "1"));
      WindowState s = Built();
      EXPECT_FALSE(LoadWindowState(reg, 1280, 1024, &s)) << name;
      ExpectDefaults(s);
    }
  }
}

TEST(LoadWindowState, PageOutsideTheFourKeepsTheActivePageAndUserNoIsKept) {
  for (std::int32_t page : {7, 4, -1}) {
    MemoryRegistry reg;
    PutState(reg);
    reg.PutDword(kBaseKey, "Page", static_cast<std::uint32_t>(page));
    reg.PutDword(kBaseKey, "UserNo", 9);
    WindowState s = Built();
    ASSERT_TRUE(LoadWindowState(reg, 1280, 1024, &s));
    EXPECT_EQ(s.Page, 1) << page;
    EXPECT_EQ(s.UserNo, 9);
  }
}

TEST(SaveWindowState, WritesInOrderAndMapsPages) {
  const int pages[][2] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {5, 3}, {-1, 3}};
  for (const auto& [page, stored] : pages) {
    MemoryRegistry inner;
    RecordingRegistry reg(inner);
    WindowState s;
    s.bounds = {-10, 20, 140, 170};
    s.WndTopMost = false;
    s.TabMode = true;
    s.Page = page;
    s.UserNo = 2;
    ASSERT_TRUE(SaveWindowState(reg, s));
    const std::string k = std::string(kBaseKey) + ":";
    EXPECT_EQ(reg.writes, (std::vector<std::string>{k + "Top", k + "Left", k + "Height", k + "Width",
                                                    k + "WndTopMost", k + "TabMode", k + "Page", k + "UserNo"}));
    const auto* v = inner.KeyValues(kBaseKey);
    EXPECT_EQ(v->at("page").dword, static_cast<std::uint32_t>(stored)) << page;
    EXPECT_EQ(v->at("top").dword, 20u);
    EXPECT_EQ(v->at("left").dword, static_cast<std::uint32_t>(-10));
    EXPECT_EQ(v->at("tabmode").dword, 1u);
  }
}

TEST(SaveWindowState, RoundTripsAndStopsAtTheFirstFailure) {
  MemoryRegistry reg;
  WindowState saved;
  saved.bounds = {5, 6, 7, 8};
  saved.Page = 3;
  saved.UserNo = 1;
  ASSERT_TRUE(SaveWindowState(reg, saved));
  WindowState loaded;
  ASSERT_TRUE(LoadWindowState(reg, 1280, 1024, &loaded));
  EXPECT_EQ(loaded.bounds.left, 5);
  EXPECT_EQ(loaded.bounds.height, 8);
  EXPECT_EQ(loaded.Page, 3);

  MemoryRegistry failing;
  failing.FailWritesAfter(3);
  EXPECT_FALSE(SaveWindowState(failing, saved));
  EXPECT_EQ(failing.KeyValues(kBaseKey)->size(), 3u);
}

TEST(DefaultWindowBounds, HalvesTruncateTowardZero) {
  struct Case {
    std::int32_t w, h, left, top;
  };
  const Case cases[] = {{1280, 1024, 575, 432}, {1281, 1025, 575, 432}, {129, 159, 0, 0},
                        {127, 157, -1, -1}, {0, 0, -65, -80}};
  for (const Case& c : cases) {
    const WindowBounds b = DefaultWindowBounds(c.w, c.h);
    EXPECT_EQ(b.left, c.left) << c.w;
    EXPECT_EQ(b.top, c.top) << c.h;
    EXPECT_EQ(b.width, 130);
    EXPECT_EQ(b.height, 160);
  }
}

struct PlaceCase {
  const char* label;
  WindowBounds window;
  std::vector<MonitorRect> monitors;
  std::int32_t left, top;
};

class PlaceWindowTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceWindowTest, PullsTheWindowBackAtTheRightAndBottom) {
  const PlaceCase& c = GetParam();
  const WindowBounds placed = PlaceWindow(c.window, c.monitors);
  EXPECT_EQ(placed.left, c.left);
  EXPECT_EQ(placed.top, c.top);
  EXPECT_EQ(placed.width, c.window.width);
  EXPECT_EQ(placed.height, c.window.height);
}

const MonitorRect kPrimary{0, 0, 1280, 1024};
const MonitorRect kRight{1280, 0, 3200, 1200};
const MonitorRect kLeft{-1920, -100, 0, 980};
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Cases, PlaceWindowTest,
    ::testing::Values(
        PlaceCase{"inside", {100, 200, 130, 160}, {kPrimary}, 100, 200},
        PlaceCase{"bottom_one_short", {100, 863, 130, 160}, {kPrimary}, 100, 863},
        PlaceCase{"bottom_at_edge", {100, 864, 130, 160}, {kPrimary}, 100, 864},
        PlaceCase{"bottom_beyond", {100, 1000, 130, 160}, {kPrimary}, 100, 864},
        PlaceCase{"right_beyond", {1200, 10, 130, 160}, {kPrimary}, 1150, 10},
        PlaceCase{"both_beyond", {1279, 1023, 130, 160}, {kPrimary}, 1150, 864},
        PlaceCase{"left_and_top_partly_off_stay", {-50, -20, 130, 160}, {kPrimary}, -50, -20},
        PlaceCase{"taller_than_screen", {0, 0, 130, 2000}, {kPrimary}, 0, -976},
        PlaceCase{"huge_stored_values", {kMax, kMax, kMax, kMax}, {kPrimary}, 1280 - kMax, 1024 - kMax},
        PlaceCase{"no_monitors", {5000, 5000, 130, 160}, {}, 5000, 5000},
        PlaceCase{"on_second_monitor", {2000, 1100, 130, 160}, {kPrimary, kRight}, 2000, 1040},
        PlaceCase{"second_monitor_right_edge", {3150, 10, 130, 160}, {kPrimary, kRight}, 3070, 10},
        PlaceCase{"straddling_goes_by_larger_part", {1200, 10, 130, 160}, {kPrimary, kRight}, 1150, 10},
        PlaceCase{"straddling_mostly_second", {1250, 10, 130, 160}, {kPrimary, kRight}, 1250, 10},
        PlaceCase{"second_monitor_gone", {2000, 300, 130, 160}, {kPrimary}, 1150, 300},
        PlaceCase{"gone_below", {300, 3000, 130, 160}, {kPrimary}, 300, 864},
        PlaceCase{"negative_monitor", {-500, 900, 130, 160}, {kPrimary, kLeft}, -500, 820},
        PlaceCase{"negative_monitor_gone", {-1500, 100, 130, 160}, {kPrimary}, 0, 100},
        PlaceCase{"gone_above_left", {-900, -900, 130, 160}, {kPrimary, kRight}, 0, 0},
        PlaceCase{"nearest_of_two", {3500, 100, 130, 160}, {kPrimary, kRight}, 3070, 100}),
    [](const ::testing::TestParamInfo<PlaceCase>& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace tabcard

namespace tabcard {
namespace {

// Two monitors side by side, the right one with a taskbar at its bottom.
TEST(OntoMonitorAt, BringsTheWindowToThePointersMonitorInsideItsWorkArea) {
  const std::vector<MonitorRect> work = {{0, 0, 1280, 1024}, {1280, 0, 2560, 984}};
  struct Case {
    const char* name;
    WindowBounds window;
    std::int32_t x, y;
    WindowBounds want;
  };
  const Case cases[] = {
      {"already there", {100, 100, 130, 160}, 600, 500, {100, 100, 130, 160}},
      {"centred on the pointer", {100, 100, 130, 160}, 1900, 500, {1835, 420, 130, 160}},
      {"kept in the work area", {100, 100, 130, 160}, 2550, 980, {2430, 824, 130, 160}},
      {"pointer off every monitor", {1400, 100, 130, 160}, -300, 500, {0, 420, 130, 160}},
      {"larger than the area", {100, 100, 1400, 1100}, 1900, 500, {1280, 0, 1400, 1100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const WindowBounds got = OntoMonitorAt(c.window, work, c.x, c.y);
    EXPECT_EQ(got.left, c.want.left);
    EXPECT_EQ(got.top, c.want.top);
    EXPECT_EQ(got.width, c.want.width);
    EXPECT_EQ(got.height, c.want.height);
  }
}

}  // namespace
}  // namespace tabcard
