#include "core/value_form.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace tabcard {
namespace {

struct Case {
  std::string in;
  std::string out;
};

void ExpectForm(ValueForm form, std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(ApplyValueForm(form, c.in), c.out) << ValueFormName(form) << ": " << c.in;
  }
}

TEST(ValueForm, HalfWidthAlnum) {
  ExpectForm(ValueForm::kHalfWidthAlnum,
             {
                 {"ＡＢＣ　ｘｙｚ！＃＄＠［＼］～", "ABC xyz!#$@[\\]~"},
                 // ＂ ＇ from the IBM and the NEC rows.
                 {"\xFA\x57\xEE\xFC\xFA\x56\xEE\xFB", "\"\"''"},
                 // What an input method types for ' and " in full-width mode.
                 {"‘ａ’“ｂ”", "'a'\"b\""},
                 {"０３－１２３４‐５６７８―９", "03-1234-5678-9"},
                 {"１ー２", "1-2"},
                 {"1ｰ2ｰ3", "1-2-3"},
                 {"１ー", "1ー"},
                 {"ｰ2", "ｰ2"},
                 {"1ーー2", "1ーー2"},
                 {"コーヒー1ー", "コーヒー1ー"},
                 {"山田ｶﾞあ￥①", "山田ｶﾞあ￥①"},
             });
}

TEST(ValueForm, FullWidth) {
  ExpectForm(ValueForm::kFullWidth,
             {
                 {"Tel: 03-1234 'a'~\\", "Ｔｅｌ：　０３－１２３４　\xFA\x56ａ\xFA\x56～＼"},
                 {"\"", "\xFA\x57"},
                 {"ｶﾞｷﾞﾊﾟﾋﾟｳﾞﾎﾟ", "ガギパピヴポ"},
                 // A mark the kana before it cannot take stays a mark of its own.
                 {"ﾜﾞｱﾟﾞﾟ", "ワ゛ア゜゛゜"},
                 {"ｯｧｰ｡｢｣､･", "ッァー。「」、・"},
                 {"山田ガ①\t", "山田ガ①\t"},
             });
}

TEST(ValueForm, DigitsOnly) {
  ExpectForm(ValueForm::kDigitsOnly,
             {
                 {"〒１２３－４５６７", "1234567"},
                 {"03(1234)5678", "0312345678"},
                 {"ＦＡＸ：０３ー１２３４ 内線9", "0312349"},
                 {"①Ⅱ一二三", ""},
             });
}

TEST(ValueForm, Hiragana) {
  ExpectForm(ValueForm::kHiragana,
             {
                 {"ヤマダ　タロウ", "やまだ　たろう"},
                 {"ｶﾞｯｺｳ ﾊﾟｰﾃｨｰ", "がっこう ぱーてぃー"},
                 // CP932 has no ゔ, ゕ, ゖ.
                 {"ヴァイオリン ｳﾞｧ ヵヶ", "ヴぁいおりん ヴぁ ヵヶ"},
                 {"ヽヾヮヰヱ", "ゝゞゎゐゑ"},
                 {"ﾜﾞ", "わ゛"},
                 {"ABCＡＢＣ漢字ー", "ABCＡＢＣ漢字ー"},
             });
}

TEST(ValueForm, Katakana) {
  ExpectForm(ValueForm::kKatakana,
             {
                 {"やまだ　たろう", "ヤマダ　タロウ"},
                 {"ゎゐゑゝゞ", "ヮヰヱヽヾ"},
                 {"ｶﾞｯｺｳﾊﾟﾋﾟﾌﾟ", "ガッコウパピプ"},
                 {"ABCａ山ー", "ABCａ山ー"},
             });
}

TEST(ValueForm, HalfWidthKana) {
  ExpectForm(ValueForm::kHalfWidthKana,
             {
                 {"やまだ　たろう", "ﾔﾏﾀﾞ ﾀﾛｳ"},
                 {"ガギグパピプヴ", "ｶﾞｷﾞｸﾞﾊﾟﾋﾟﾌﾟｳﾞ"},
                 {"ぁッょ", "ｧｯｮ"},
                 // Without a half-width form: katakana at least.
                 {"ゎゐゑヮヵヶゝゞヽヾ", "ヮヰヱヮヵヶヽヾヽヾ"},
                 {"「コーヒー」、。・゛゜", "｢ｺｰﾋｰ｣､｡･ﾞﾟ"},
                 {"ＴＥＬ０３ー１２３４ 1ｰ2", "TEL03-1234 1-2"},
                 {"漢字ｱ①", "漢字ｱ①"},
             });
}

// A byte outside any valid character passes through; the rest of the text
// is still converted.
TEST(ValueForm, BrokenTextPassesThrough) {
  const std::string broken = "\x80\xA0\xFD\xFE\xFF\x81";
  for (ValueForm form : kValueForms) {
    const std::string expected = form == ValueForm::kDigitsOnly ? "" : broken;
    EXPECT_EQ(ApplyValueForm(form, broken), expected) << ValueFormName(form);
  }
  EXPECT_EQ(ApplyValueForm(ValueForm::kHalfWidthKana, "\x82\x0Aあ\x82"), "\x82\x0Aｱ\x82");
  EXPECT_EQ(ApplyValueForm(ValueForm::kFullWidth, "\x83\x1F" "a"), "\x83\x1Fａ");
}

TEST(ValueForm, NamesRoundTripAndUnknownIsAsStored) {
  for (ValueForm form : kValueForms) EXPECT_EQ(ValueFormFromName(ValueFormName(form)), form);
  for (const char* name : {"", "半角", "ひらがな ", "HIRAGANA"}) {
    EXPECT_EQ(ValueFormFromName(name), ValueForm::kAsStored) << name;
  }
}

}  // namespace
}  // namespace tabcard
