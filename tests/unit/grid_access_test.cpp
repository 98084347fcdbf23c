#include "ui/grid_access.h"

#include <gtest/gtest.h>

namespace tabcard {
namespace {

// A 3 x 2 grid: children 1 2 3 on the first row, 4 5 6 on the second.
constexpr int kCols = 3;
constexpr int kRows = 2;

TEST(GridAccess, ChildIdsAndCellsCorrespond) {
  struct Case {
    GridCell cell;
    long id;
  };
  const Case cases[] = {{{0, 0}, 1}, {{2, 0}, 3}, {{0, 1}, 4}, {{2, 1}, 6}};
  for (const Case& c : cases) {
    EXPECT_EQ(CellChildId(c.cell, kCols, kRows), c.id);
    EXPECT_EQ(ChildCell(c.id, kCols, kRows), c.cell);
  }
  for (long id : {0L, -1L, 7L}) EXPECT_EQ(ChildCell(id, kCols, kRows), kNoCell) << id;
  for (GridCell c : {GridCell{3, 0}, GridCell{0, 2}, GridCell{-1, 0}}) {
    EXPECT_EQ(CellChildId(c, kCols, kRows), kNoChild);
  }
  // The largest grid still numbers its last cell within a LONG.
  EXPECT_EQ(CellChildId({kMaxGridCount - 1, kMaxGridCount - 1}, kMaxGridCount, kMaxGridCount),
            static_cast<long>(kMaxGridCount) * kMaxGridCount);
}

TEST(GridAccess, NavigationFollowsTheGrid) {
  struct Case {
    long from;
    ChildMove move;
    long to;
  };
  const Case cases[] = {
      {kGridSelfChild, ChildMove::kFirst, 1}, {kGridSelfChild, ChildMove::kLast, 6},
      {kGridSelfChild, ChildMove::kRight, kNoChild},  // the window's siblings: not ours
      {2, ChildMove::kLeft, 1},   {1, ChildMove::kLeft, kNoChild},
      {2, ChildMove::kRight, 3},  {3, ChildMove::kRight, kNoChild},
      {2, ChildMove::kDown, 5},   {5, ChildMove::kDown, kNoChild},
      {5, ChildMove::kUp, 2},     {2, ChildMove::kUp, kNoChild},
      {3, ChildMove::kNext, 4},   {6, ChildMove::kNext, kNoChild},
      {4, ChildMove::kPrevious, 3}, {1, ChildMove::kPrevious, kNoChild},
      {2, ChildMove::kFirst, kNoChild}, {7, ChildMove::kLeft, kNoChild},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MoveChild(c.from, c.move, kCols, kRows), c.to)
        << c.from << " move " << static_cast<int>(c.move);
  }
}

TEST(GridAccess, DescriptionIsTheHintThenTheMark) {
  struct Case {
    const wchar_t* hint;
    const wchar_t* mark;
    const wchar_t* description;
  };
  const Case cases[] = {{L"", L"", L""},
                        {L"03", L"", L"03"},
                        {L"", L"full", L"full"},
                        {L"03", L"full", L"03\x3001" L"full"}};
  for (const Case& c : cases) {
    EXPECT_EQ(CellDescription(c.hint, c.mark), c.description) << c.hint << "|" << c.mark;
  }
}

TEST(GridAccess, HitTestTellsOutsideSelfAndCell) {
  EXPECT_EQ(HitChild(false, {0, 0}, kCols, kRows), kNoChild);
  EXPECT_EQ(HitChild(true, kNoCell, kCols, kRows), kGridSelfChild);
  EXPECT_EQ(HitChild(true, {1, 1}, kCols, kRows), 5);
}

}  // namespace
}  // namespace tabcard
