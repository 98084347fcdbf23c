#include "forms/palette.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/catalogue.h"

namespace tabcard {
namespace {

struct WidthCase {
  int clientWidth;
  int cols;
  int width;
};

class AutoWidth : public ::testing::TestWithParam<WidthCase> {};

TEST_P(AutoWidth, SharesTheClientWidthLessTheGridLines) {
  const WidthCase& c = GetParam();
  EXPECT_EQ(AutoColumnWidth(c.clientWidth, c.cols), c.width);
}

INSTANTIATE_TEST_SUITE_P(Cases, AutoWidth,
                         ::testing::Values(WidthCase{110, 2, 53}, WidthCase{110, 3, 34},
                                           WidthCase{100, 1, 98}, WidthCase{5, 3, 0},
                                           WidthCase{0, 4, 0}, WidthCase{110, 0, 108},
                                           WidthCase{110, -3, 108}));

TEST(Widths, TabsShareThePageControl) {
  EXPECT_EQ(TabWidth(118), 28);
  EXPECT_EQ(TabWidth(121), 29);
  EXPECT_EQ(TabWidth(2), 0);
}

PageItems StandardKojin1() {
  PageItems items;
  const char* names[] = {"氏名", "フリガナ", "E-Mail1", "HP-URL", "ＴＥＬ", "ＦＡＸ",
                         "〒",   "都道府県", "住所１",  "住所２", "職業",   "年齢"};
  for (std::size_t k = 0; k < 12; ++k) items[k] = names[k];
  return items;
}

TEST(PersonalPage, StandardLayoutFillsColumnByColumn) {
  const CellTexts cells = PersonalCells({2, 6}, StandardKojin1());
  ASSERT_EQ(cells.Cols(), 2);
  ASSERT_EQ(cells.Rows(), 6);
  const std::vector<std::string> first = {"氏名", "フリガナ", "E-Mail1", "HP-URL", "ＴＥＬ", "ＦＡＸ"};
  const std::vector<std::string> second = {"〒", "都道府県", "住所１", "住所２", "職業", "年齢"};
  for (int r = 0; r < 6; ++r) {
    EXPECT_EQ(cells.At(0, r), first[static_cast<std::size_t>(r)]) << r;
    EXPECT_EQ(cells.At(1, r), second[static_cast<std::size_t>(r)]) << r;
  }
}

TEST(PersonalPage, CellsPastSlot255StayEmpty) {
  PageItems items;
  for (std::size_t k = 0; k < items.size(); ++k) items[k] = "s" + std::to_string(k);
  const CellTexts cells = PersonalCells({3, 100}, items);  // 300 cells
  EXPECT_EQ(cells.At(2, 55), "s255");
  EXPECT_EQ(cells.At(2, 56), "");
  EXPECT_EQ(cells.At(2, 99), "");
  EXPECT_EQ(PersonalSlot({3, 100}, 2, 56), -1);
}

// A cell with a format is marked with its name, whatever item stands there;
// slots as stored and past 255 are not.
TEST(PersonalPage, MarksNameTheFormatsOfTheirSlots) {
  PageForms forms{};
  forms[4] = ValueForm::kDigitsOnly;
  forms[7] = ValueForm::kHalfWidthKana;
  forms[255] = ValueForm::kFullWidth;
  struct Case {
    GridShape shape;
    int col, row;
    const char* mark;
  };
  const Case cases[] = {{{2, 6}, 0, 4, "形式：数字のみ"}, {{2, 6}, 1, 1, "形式：半角カナ"},
                        {{2, 6}, 0, 0, ""},               {{3, 4}, 1, 0, "形式：数字のみ"},
                        {{3, 100}, 2, 55, "形式：全角"},   {{3, 100}, 2, 56, ""}};
  for (const Case& c : cases) {
    EXPECT_EQ(PersonalMarks(c.shape, forms).At(c.col, c.row), c.mark)
        << c.shape.cols << "x" << c.shape.rows << " " << c.col << "," << c.row;
  }
}

TEST(PersonalPage, CellLeadsToItsItemNumber) {
  PageItems items = StandardKojin1();
  items[1] = "no such item";
  EXPECT_EQ(PersonalCellItem({2, 6}, items, 0, 0), FindItem("氏名"));
  EXPECT_EQ(PersonalCellItem({2, 6}, items, 1, 5), FindItem("年齢"));
  EXPECT_GE(FindItem("年齢"), 0);
  EXPECT_EQ(PersonalCellItem({2, 6}, items, 0, 1), -1);
  EXPECT_EQ(PersonalCellItem({2, 6}, items, 2, 0), -1);   // outside the grid
  EXPECT_EQ(PersonalCellItem({2, 6}, items, 0, 6), -1);   // would alias (1, 0)
  EXPECT_EQ(PersonalCellItem({2, 6}, items, -1, 0), -1);
}

TEST(MemoPage, TwoByThreeNumbersRowByRow) {
  std::vector<int> asked;
  const CellTexts cells = MemoCells({2, 3}, 6, [&](int slot) {
    asked.push_back(slot);
    return "memo" + std::to_string(slot);
  });
  EXPECT_EQ(asked, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(cells.At(0, 0), "memo0");
  EXPECT_EQ(cells.At(1, 0), "memo1");
  EXPECT_EQ(cells.At(0, 1), "memo2");
  EXPECT_EQ(cells.At(1, 2), "memo5");
  EXPECT_EQ(MemoSlot({2, 3}, 6, 1, 2), 5);
  // After 1 x 10 becomes 2 x 5, column 1 of row 0 is memo 1.
  EXPECT_EQ(MemoSlot({2, 5}, 10, 1, 0), 1);
}

TEST(MemoPage, MemosAtMemoCountOrBeyondAreNeitherReadNorShown) {
  int reads = 0;
  const CellTexts cells = MemoCells({2, 3}, 4, [&](int slot) {
    ++reads;
    return "memo" + std::to_string(slot);
  });
  EXPECT_EQ(reads, 4);
  EXPECT_EQ(cells.At(1, 1), "memo3");
  EXPECT_EQ(cells.At(0, 2), "");
  EXPECT_EQ(MemoSlot({2, 3}, 4, 0, 2), -1);
  EXPECT_EQ(MemoSlot({2, 3}, 6, 2, 0), -1);
}

std::vector<std::string> Phrases(int count) {
  std::vector<std::string> phrases;
  for (int i = 1; i <= count; ++i) phrases.push_back("phrase" + std::to_string(i));
  return phrases;
}

TEST(ListPage, FifteenPhrasesInOneByTenShowTheFirstTen) {
  std::vector<std::string> phrases = Phrases(15);
  CellTexts cells = ListCells({1, 10}, phrases);
  EXPECT_EQ(cells.At(0, 0), "phrase1");
  EXPECT_EQ(cells.At(0, 9), "phrase10");
  EXPECT_EQ(PhraseIndex({1, 10}, phrases.size(), 0, 9), 9);

  phrases.erase(phrases.begin() + 3);
  cells = ListCells({1, 10}, phrases);
  EXPECT_EQ(cells.At(0, 3), "phrase5");
  EXPECT_EQ(cells.At(0, 9), "phrase11");
}

TEST(ListPage, CellsPastTheLastPhraseAreEmpty) {
  const CellTexts cells = ListCells({3, 2}, Phrases(4));
  EXPECT_EQ(cells.At(2, 0), "phrase3");
  EXPECT_EQ(cells.At(0, 1), "phrase4");
  EXPECT_EQ(cells.At(1, 1), "");
  EXPECT_EQ(PhraseIndex({3, 2}, 4, 1, 1), -1);
  EXPECT_EQ(PhraseIndex({3, 2}, 4, 0, 2), -1);
}

TEST(GridShape, CountsBelowOneKeepOneCell) {
  const CellTexts cells = ListCells({0, -2}, Phrases(3));
  EXPECT_EQ(cells.Cols(), 1);
  EXPECT_EQ(cells.Rows(), 1);
  EXPECT_EQ(cells.At(0, 0), "phrase1");
  EXPECT_EQ(MemoCells({0, 0}, 0, [](int) { return std::string("x"); }).At(0, 0), "");
}

TEST(FontFace, CutTo31BytesWithoutSplittingACharacter) {
  const std::string ascii40(40, 'F');
  EXPECT_EQ(GridFontFace(ascii40, "old"), std::string(31, 'F'));
  // 30 ASCII bytes then a double-byte character starting at byte 31.
  const std::string split = std::string(30, 'F') + "ゴシック";
  EXPECT_EQ(GridFontFace(split, "old"), std::string(30, 'F'));
  const std::string whole = std::string(29, 'F') + "ゴシ";
  EXPECT_EQ(GridFontFace(whole, "old"), std::string(29, 'F') + "ゴ");
  EXPECT_EQ(GridFontFace("ＭＳ Ｐゴシック", "old"), "ＭＳ Ｐゴシック");
  EXPECT_EQ(GridFontFace("", "ＭＳ Ｐゴシック"), "ＭＳ Ｐゴシック");
}

}  // namespace
}  // namespace tabcard
