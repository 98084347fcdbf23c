#include "ui/grid_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tabcard {
namespace {

TEST(GridTexts, SetReportsOnlyRealChanges) {
  GridTexts t;
  const GridCell c{1, 2};
  struct Step {
    const wchar_t* text;
    bool changed;
  } steps[] = {{L"", false}, {L"a", true}, {L"a", false}, {L"b", true}, {L"", true}, {L"", false}};
  for (const Step& step : steps) {
    EXPECT_EQ(t.Set(c, step.text), step.changed) << "\"" << step.text << "\"";
    EXPECT_EQ(t.At(c), step.text);
  }
  EXPECT_EQ(t.Size(), 0u);  // an emptied cell keeps nothing
  EXPECT_FALSE(t.Clear());
  t.Set(c, L"x");
  EXPECT_TRUE(t.Clear());
  EXPECT_EQ(t.At(c), L"");
}

// A shrunk grid drops the texts it no longer has, so growing it again shows
// those cells empty; the cells it keeps keep their texts.
TEST(GridTexts, KeepWithinDropsTheCellsBeyondTheShape) {
  struct Case {
    int cols, rows;
    std::vector<GridCell> kept;
  } cases[] = {
      {16, 16, {{0, 0}, {15, 0}, {0, 15}, {15, 15}, {3, 4}}},
      {15, 16, {{0, 0}, {0, 15}, {3, 4}}},
      {16, 15, {{0, 0}, {15, 0}, {3, 4}}},
      {4, 5, {{0, 0}, {3, 4}}},
      {3, 4, {{0, 0}}},
      {1, 1, {{0, 0}}},
  };
  const std::vector<GridCell> all = {{0, 0}, {15, 0}, {0, 15}, {15, 15}, {3, 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.cols) + " x " + std::to_string(c.rows));
    GridTexts t;
    for (GridCell cell : all) t.Set(cell, L"t" + std::to_wstring(cell.col * 100 + cell.row));
    t.KeepWithin(c.cols, c.rows);
    EXPECT_EQ(t.Size(), c.kept.size());
    for (GridCell cell : c.kept) {
      EXPECT_EQ(t.At(cell), L"t" + std::to_wstring(cell.col * 100 + cell.row));
    }
  }
}

// The largest cells keep apart: row and column each have their own bits.
TEST(GridTexts, LargestCellsDoNotCollide) {
  GridTexts t;
  const GridCell corners[] = {{kMaxGridCount - 1, 0}, {0, kMaxGridCount - 1},
                              {kMaxGridCount - 1, kMaxGridCount - 1}};
  for (GridCell c : corners) t.Set(c, std::to_wstring(c.col) + L"," + std::to_wstring(c.row));
  for (GridCell c : corners) {
    EXPECT_EQ(t.At(c), std::to_wstring(c.col) + L"," + std::to_wstring(c.row));
  }
  t.KeepWithin(kMaxGridCount, kMaxGridCount - 1);
  EXPECT_EQ(t.Size(), 1u);
}

}  // namespace
}  // namespace tabcard
