#include "core/text.h"

#include <gtest/gtest.h>

#include <string>

namespace tabcard {
namespace {

// A wrong -fexec-charset would silently store UTF-8 in the registry.
TEST(Cp932Literals, AreEncodedAsShiftJis) {
  EXPECT_EQ(std::string("氏名"), std::string("\x8E\x81\x96\xBC"));
  EXPECT_EQ(std::string("ＴＥＬ"), std::string("\x82\x73\x82\x64\x82\x6B"));
  EXPECT_EQ(std::string("ﾘｽﾄ"), std::string("\xD8\xBD\xC4"));
  // 表 ends in 0x5C, the byte that naive code mistakes for a backslash.
  EXPECT_EQ(std::string("表"), std::string("\x95\x5C"));
}

TEST(LeadByte, CoversBothRangesOnly) {
  for (int b = 0; b < 256; ++b) {
    const bool expected = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(b)), expected) << b;
  }
}

struct CutCase {
  const char* name;
  std::string text;
  std::size_t n;
  std::size_t kept;
};

class DoubleByteCut : public ::testing::TestWithParam<CutCase> {};

TEST_P(DoubleByteCut, KeepsCharactersWhole) {
  const CutCase& c = GetParam();
  EXPECT_EQ(CutDoubleByte(c.text, c.n).size(), c.kept);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DoubleByteCut,
    ::testing::Values(
        CutCase{"ascii", "abcdef", 4, 4},
        CutCase{"lead_at_end", "ab\x8E\x81", 3, 2},
        CutCase{"whole_char_at_end", "ab\x8E\x81", 4, 4},
        // 0x81 is a trail byte here, but the even-run rule counts only the
        // lead-range run: 8E 81 before 96 is a run of 2 (even), so 96 splits.
        CutCase{"lead_range_trail_bytes", "\x8E\x81\x96\xBC", 3, 2},
        // 93 is a trail byte in the lead range: the run before it is odd.
        CutCase{"trail_in_lead_range", "\x82\x93", 2, 2},
        CutCase{"zero_at_cut", std::string("ab\0\0", 4), 4, 4},
        CutCase{"shorter_than_n", "\x8E", 5, 1},
        CutCase{"half_width_kana_not_lead", "\xD8\xBD", 2, 2},
        CutCase{"first_byte_lead", "\x8E\x81", 1, 0}),
    [](const auto& info) { return info.param.name; });

TEST(Blank, OnlyBytesUpTo32) {
  EXPECT_TRUE(IsBlank(""));
  EXPECT_TRUE(IsBlank(" \t\r\n\x01 "));
  EXPECT_FALSE(IsBlank("  a "));
  EXPECT_FALSE(IsBlank("\x81\x40"));  // the full-width space is text
  EXPECT_TRUE(IsBlank(std::string("\0 ", 2)));
}

TEST(TrimTrailing, RemovesControlsButKeepsInnerBreaks) {
  EXPECT_EQ(TrimTrailing(std::string("a\r\nb \t\r\n\0\0", 10)), "a\r\nb");
  EXPECT_EQ(TrimTrailing("   "), "");
  EXPECT_EQ(TrimTrailing(" x"), " x");
  EXPECT_EQ(TrimTrailing("\x82\xA0"), "\x82\xA0");
}

TEST(UpToZero, StopsAtFirstZero) {
  EXPECT_EQ(UpToZero(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(UpToZero("abc"), "abc");
  EXPECT_EQ(UpToZero(std::string("\0a", 2)), "");
}

TEST(Numbered, PadsToThreeDigits) {
  EXPECT_EQ(Numbered("Item", 0), "Item000");
  EXPECT_EQ(Numbered("Item", 999), "Item999");
  EXPECT_EQ(Numbered("Item", 1000), "Item1000");
  EXPECT_EQ(Numbered("Hint", 7), "Hint007");
  EXPECT_EQ(Numbered("Memo", 123) + ".txt", "Memo123.txt");
}

// 「あ」 is two bytes: a cut never leaves half of one, and what follows the
// caret is kept whole while it fits.
TEST(FitAroundCaret, CutsWhatWasJustEnteredBeforeTheCaret) {
  struct Case {
    const char* before;
    const char* after;
    std::size_t limit;
    const char* wantBefore;
    const char* wantAfter;
  };
  const Case cases[] = {
      {"abc", "de", 10, "abc", "de"},       // fits
      {"abcあい", "x", 6, "abcあ", "x"},     // あい pasted: い dropped
      {"abcあい", "x", 5, "abc", "x"},       // no half あ
      {"ab", "cdefgh", 4, "", "cdef"},      // the rest alone is too long
      {"", "あいう", 5, "", "あい"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.before) + "|" + c.after);
    const CaretText fitted = FitAroundCaret(c.before, c.after, c.limit);
    EXPECT_EQ(fitted.before, c.wantBefore);
    EXPECT_EQ(fitted.after, c.wantAfter);
  }
}

}  // namespace
}  // namespace tabcard
