// The CP932 boundary: what converts exactly and where it would not.
#include "core/strconv_win.h"

#include <gtest/gtest.h>

namespace tabcard {
namespace {

TEST(StrconvTest, FindsTheFirstCharacterCp932CannotStore) {
  struct Case {
    const wchar_t* text;
    int offset;  // -1: all of it converts
    int length;
  };
  const Case cases[] = {
      {L"", -1, 0},
      {L"山田太郎 ﾀﾛｳ ＡＢＣ ～ ①", -1, 0},
      {L"?", -1, 0},            // a question mark of the user's is no lost character
      {L"吉𠮷野", 1, 2},        // a surrogate pair counts as one character
      {L"café", 3, 1},          // no best fit: é would become e
      {L"ok\U0001F600", 2, 2},  // emoji
      {L"\xD800x", 0, 1},       // a lone surrogate
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.text));
    const auto bad = FirstUnstorable(c.text);
    if (c.offset < 0) {
      EXPECT_FALSE(bad.has_value());
      EXPECT_EQ(Widen(Narrow(c.text)), c.text);
    } else {
      ASSERT_TRUE(bad.has_value());
      EXPECT_EQ(bad->offset, static_cast<std::size_t>(c.offset));
      EXPECT_EQ(bad->length, static_cast<std::size_t>(c.length));
    }
  }
}

// The phrase list's "same entry": letter case only, in any locale.
TEST(SamePhraseIgnoringCase, FoldsCaseButNotWidthOrKana) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  };
  const Case cases[] = {
      {"abc", "ABC", true},  {"", "", true},         {"ＡＢＣ", "ABC", false},
      {"あ", "ア", false},   {"ｱ", "ア", false},     {"abc", "abd", false},
      {"abc", "abc ", false}, {"山田", "山田", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SamePhraseIgnoringCase(c.a, c.b), c.same) << c.a << " / " << c.b;
  }
}

}  // namespace
}  // namespace tabcard
