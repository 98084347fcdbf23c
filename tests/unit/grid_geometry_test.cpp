#include "ui/grid_geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>

namespace tabcard {
namespace {

// The palette's standard personal page: 2 x 6 cells of 45 x 15, lines of 2.
GridGeometry Palette() { return GridGeometry(2, 6, 45, 15, 2); }

TEST(GridGeometryClamp, CountsSizesAndLineStayInRange) {
  GridGeometry g(0, -5, -3, 40000, 1000);
  EXPECT_EQ(g.Cols(), 1);
  EXPECT_EQ(g.Rows(), 1);
  EXPECT_EQ(g.ColWidth(), 0);
  EXPECT_EQ(g.RowHeight(), kMaxGridCellSize);
  EXPECT_EQ(g.LineWidth(), kMaxGridLineWidth);
  g.SetCounts(INT_MAX, INT_MIN);
  EXPECT_EQ(g.Cols(), kMaxGridCount);
  EXPECT_EQ(g.Rows(), 1);
}

TEST(GridGeometryClamp, LargestContentDoesNotOverflow) {
  GridGeometry g(INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX);
  EXPECT_GT(g.ContentWidth(), 0);
  EXPECT_EQ(g.ContentWidth(), kMaxGridCount * (kMaxGridCellSize + kMaxGridLineWidth));
  EXPECT_EQ(g.CellAt(g.ContentWidth() - 1, g.ContentHeight() - 1),
            (GridCell{kMaxGridCount - 1, kMaxGridCount - 1}));
}

struct HitCase {
  int x, y;
  GridCell expected;
};

class GridHit : public ::testing::TestWithParam<HitCase> {};

TEST_P(GridHit, FindsTheCellUnderAPoint) {
  const HitCase& c = GetParam();
  EXPECT_EQ(Palette().CellAt(c.x, c.y), c.expected) << c.x << "," << c.y;
}

// Column pitch 47, row pitch 17: content 94 x 102.
INSTANTIATE_TEST_SUITE_P(
    Palette, GridHit,
    ::testing::Values(HitCase{0, 0, {0, 0}}, HitCase{44, 14, {0, 0}},
                      // The line after a cell still belongs to it.
                      HitCase{46, 16, {0, 0}}, HitCase{47, 17, {1, 1}},
                      HitCase{93, 101, {1, 5}}, HitCase{60, 50, {1, 2}},
                      // Past the last column or row, or before the first.
                      HitCase{94, 0, kNoCell}, HitCase{0, 102, kNoCell},
                      HitCase{-1, 5, kNoCell}, HitCase{5, -1, kNoCell},
                      HitCase{-100, -100, kNoCell}, HitCase{INT_MAX, INT_MAX, kNoCell}));

TEST(GridGeometry, ZeroPitchHitsNothing) {
  GridGeometry g(3, 3, 0, 10, 0);
  EXPECT_EQ(g.CellAt(0, 0), kNoCell);
  EXPECT_TRUE(g.CellsIn(GridRect{0, 0, 100, 100}).IsEmpty());
}

TEST(GridGeometry, CellRectExcludesTheLines) {
  const GridGeometry g = Palette();
  const GridRect r = g.CellRect(GridCell{1, 2});
  EXPECT_EQ(r.left, 47);
  EXPECT_EQ(r.top, 34);
  EXPECT_EQ(r.Width(), 45);
  EXPECT_EQ(r.Height(), 15);
  for (GridCell bad : {GridCell{2, 0}, GridCell{0, 6}, GridCell{-1, 0}, kNoCell}) {
    const GridRect e = g.CellRect(bad);
    EXPECT_EQ(e.Width(), 0);
    EXPECT_EQ(e.Height(), 0);
  }
}

struct SpanCase {
  GridRect area;
  int firstCol, lastCol, firstRow, lastRow;
};

class GridSpan : public ::testing::TestWithParam<SpanCase> {};

TEST_P(GridSpan, CoversEveryCellTouched) {
  const SpanCase& c = GetParam();
  const CellSpan s = Palette().CellsIn(c.area);
  EXPECT_EQ(s.firstCol, c.firstCol);
  EXPECT_EQ(s.lastCol, c.lastCol);
  EXPECT_EQ(s.firstRow, c.firstRow);
  EXPECT_EQ(s.lastRow, c.lastRow);
}

INSTANTIATE_TEST_SUITE_P(
    Palette, GridSpan,
    ::testing::Values(SpanCase{{0, 0, 94, 102}, 0, 1, 0, 5},
                      SpanCase{{0, 0, 47, 17}, 0, 0, 0, 0},
                      SpanCase{{0, 0, 48, 18}, 0, 1, 0, 1},
                      SpanCase{{-50, -50, 1000, 1000}, 0, 1, 0, 5},
                      SpanCase{{50, 40, 60, 41}, 1, 1, 2, 2},
                      // Wholly outside the content, or empty: nothing.
                      SpanCase{{94, 0, 200, 50}, 0, -1, 0, -1},
                      SpanCase{{-20, -20, 0, 0}, 0, -1, 0, -1},
                      SpanCase{{10, 10, 10, 40}, 0, -1, 0, -1}));

struct BarCase {
  int contentW, contentH, areaW, areaH;
  bool hBar, vBar;
  int clientW, clientH;
};

class GridScrollBars : public ::testing::TestWithParam<BarCase> {};

TEST_P(GridScrollBars, ShowWhatTheContentNeeds) {
  const BarCase& c = GetParam();
  const ScrollLayout s = LayoutScrollBars(c.contentW, c.contentH, c.areaW, c.areaH, 16, 16);
  EXPECT_EQ(s.hBar, c.hBar);
  EXPECT_EQ(s.vBar, c.vBar);
  EXPECT_EQ(s.clientWidth, c.clientW);
  EXPECT_EQ(s.clientHeight, c.clientH);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GridScrollBars,
    ::testing::Values(BarCase{94, 102, 110, 120, false, false, 110, 120},
                      BarCase{94, 102, 94, 102, false, false, 94, 102},  // exact fit
                      BarCase{94, 200, 110, 120, false, true, 94, 120},
                      // The vertical bar leaves too little width: both bars.
                      BarCase{100, 200, 110, 120, true, true, 94, 104},
                      // The horizontal bar leaves too little height: both bars.
                      BarCase{200, 110, 150, 120, true, true, 134, 104},
                      BarCase{200, 50, 150, 120, true, false, 150, 104},
                      BarCase{10, 10, 0, 0, true, true, 0, 0},
                      BarCase{10, 10, -5, 8, true, true, 0, 0}));

TEST(GridScroll, OffsetsStayWithinTheContent) {
  EXPECT_EQ(MaxScrollOffset(102, 60), 42);
  EXPECT_EQ(MaxScrollOffset(102, 200), 0);
  EXPECT_EQ(MaxScrollOffset(102, -3), 102);
  EXPECT_EQ(ClampScrollOffset(-5, 102, 60), 0);
  EXPECT_EQ(ClampScrollOffset(50, 102, 60), 42);
  EXPECT_EQ(ClampScrollOffset(20, 102, 60), 20);
}

struct ShowCase {
  int offset, start, end, client, expected;
};

class GridShow : public ::testing::TestWithParam<ShowCase> {};

TEST_P(GridShow, ScrollsAsLittleAsPossible) {
  const ShowCase& c = GetParam();
  EXPECT_EQ(OffsetToShow(c.offset, c.start, c.end, c.client), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GridShow,
    ::testing::Values(ShowCase{0, 17, 32, 60, 0},      // already visible
                      ShowCase{0, 51, 66, 60, 6},      // below: bottom edge aligns
                      ShowCase{40, 17, 32, 60, 17},    // above: top edge aligns
                      ShowCase{0, 100, 200, 60, 100},  // taller than the client: its start
                      ShowCase{10, 10, 70, 60, 10}, ShowCase{0, 0, 15, 0, 0}));

struct MoveCase {
  GridCell from;
  GridMove move;
  GridCell expected;
};

class GridKeys : public ::testing::TestWithParam<MoveCase> {};

TEST_P(GridKeys, MoveTheCurrentCell) {
  const MoveCase& c = GetParam();
  // 3 columns, 4 rows, a page of 2 rows.
  EXPECT_EQ(MoveCell(c.from, c.move, 3, 4, 2), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Grid3x4, GridKeys,
    ::testing::Values(MoveCase{{1, 1}, GridMove::kLeft, {0, 1}},
                      MoveCase{{0, 1}, GridMove::kLeft, {0, 1}},
                      MoveCase{{1, 1}, GridMove::kRight, {2, 1}},
                      MoveCase{{2, 1}, GridMove::kRight, {2, 1}},
                      MoveCase{{1, 0}, GridMove::kUp, {1, 0}},
                      MoveCase{{1, 3}, GridMove::kDown, {1, 3}},
                      MoveCase{{1, 2}, GridMove::kDown, {1, 3}},
                      MoveCase{{2, 2}, GridMove::kRowStart, {0, 2}},
                      MoveCase{{0, 2}, GridMove::kRowEnd, {2, 2}},
                      MoveCase{{2, 2}, GridMove::kFirstCell, {0, 0}},
                      MoveCase{{0, 0}, GridMove::kLastCell, {2, 3}},
                      MoveCase{{1, 3}, GridMove::kPageUp, {1, 1}},
                      MoveCase{{1, 1}, GridMove::kPageUp, {1, 0}},
                      MoveCase{{1, 1}, GridMove::kPageDown, {1, 3}},
                      MoveCase{{1, 2}, GridMove::kPageDown, {1, 3}},
                      MoveCase{{1, 0}, GridMove::kNext, {2, 0}},
                      MoveCase{{2, 0}, GridMove::kNext, {0, 1}},
                      MoveCase{{2, 3}, GridMove::kNext, {0, 0}},
                      MoveCase{{0, 1}, GridMove::kPrevious, {2, 0}},
                      MoveCase{{0, 0}, GridMove::kPrevious, {2, 3}},
                      // A stale cell beyond the grid is pulled in first.
                      MoveCase{{7, 9}, GridMove::kLeft, {1, 3}},
                      MoveCase{{-1, -1}, GridMove::kRight, {1, 0}}));

TEST(GridKeys, SingleCellGridStaysPut) {
  for (GridMove m : {GridMove::kNext, GridMove::kPrevious, GridMove::kDown, GridMove::kPageDown}) {
    EXPECT_EQ(MoveCell(GridCell{0, 0}, m, 1, 1, 5), (GridCell{0, 0}));
  }
}

TEST(GridKeys, PageOfHugeGridDoesNotOverflow) {
  EXPECT_EQ(MoveCell(GridCell{0, 5}, GridMove::kPageDown, 1, kMaxGridCount, INT_MAX),
            (GridCell{0, kMaxGridCount - 1}));
  EXPECT_EQ(MoveCell(GridCell{0, 5}, GridMove::kPageUp, 1, kMaxGridCount, INT_MAX),
            (GridCell{0, 0}));
}

TEST(GridKeys, KeysAskForTheirMoves) {
  // Win32 virtual keys: TAB, Page Up/Down, End, Home, the arrows, Enter, 'A'.
  constexpr unsigned kTab = 0x09, kPrior = 0x21, kNext = 0x22, kEnd = 0x23, kHome = 0x24,
                     kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28, kReturn = 0x0D;
  struct Case {
    unsigned vkey;
    bool ctrl, shift, tabs;
    std::optional<GridMove> move;
  } cases[] = {
      {kLeft, false, false, false, GridMove::kLeft},
      {kRight, true, false, false, GridMove::kRight},  // Ctrl leaves the arrows alone
      {kUp, false, true, false, GridMove::kUp},
      {kDown, false, false, false, GridMove::kDown},
      {kHome, false, false, false, GridMove::kRowStart},
      {kHome, true, false, false, GridMove::kFirstCell},
      {kEnd, false, false, false, GridMove::kRowEnd},
      {kEnd, true, false, false, GridMove::kLastCell},
      {kPrior, false, false, false, GridMove::kPageUp},
      {kNext, false, false, false, GridMove::kPageDown},
      {kTab, false, false, true, GridMove::kNext},
      {kTab, false, true, true, GridMove::kPrevious},
      {kTab, false, false, false, std::nullopt},  // TAB is the dialog's then
      {kReturn, false, false, true, std::nullopt},
      {'A', false, false, true, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MoveForKey(c.vkey, c.ctrl, c.shift, c.tabs), c.move)
        << c.vkey << " ctrl " << c.ctrl << " shift " << c.shift << " tabs " << c.tabs;
  }
}

TEST(GridRows, WholeRowsAtLeastOne) {
  EXPECT_EQ(WholeRowsIn(102, 17), 6);
  EXPECT_EQ(WholeRowsIn(101, 17), 5);
  EXPECT_EQ(WholeRowsIn(5, 17), 1);
  EXPECT_EQ(WholeRowsIn(100, 0), 1);
}

// The mark keeps its size on screen, but never takes more than half a cell.
TEST(GridMark, SideScalesWithTheDpiWithinHalfTheCell) {
  struct Case {
    int dpi, width, height, side;
  };
  const Case cases[] = {{96, 50, 14, 6},   {192, 100, 28, 12}, {144, 75, 21, 9},
                        {96, 50, 9, 4},    {192, 8, 28, 4},    {96, 0, 14, 0},
                        {96, -5, 14, 0},   {0, 50, 14, 6}};
  for (const Case& c : cases) {
    EXPECT_EQ(CornerMarkSide(c.dpi, c.width, c.height), c.side)
        << c.dpi << " " << c.width << "x" << c.height;
  }
}

TEST(GridWheel, NotchesScrollLinesAndKeepTheRemainder) {
  int carry = 0;
  EXPECT_EQ(WheelPixels(120, carry, 3, 17), -51);  // forward: towards the start
  EXPECT_EQ(carry, 0);
  EXPECT_EQ(WheelPixels(-240, carry, 3, 17), 102);
  // Fine-grained wheels send parts of a notch; they add up.
  EXPECT_EQ(WheelPixels(-60, carry, 3, 17), 0);
  EXPECT_EQ(carry, -60);
  EXPECT_EQ(WheelPixels(-60, carry, 3, 17), 51);
  EXPECT_EQ(carry, 0);
  EXPECT_EQ(WheelPixels(-90, carry, 1, 10), 0);
  EXPECT_EQ(WheelPixels(150, carry, 1, 10), 0);  // -90 + 150 = 60: still less than a notch
  EXPECT_EQ(carry, 60);
  EXPECT_EQ(WheelPixels(120, carry, 0, 17), 0);  // wheel scrolling switched off
}

}  // namespace
}  // namespace tabcard
