#include "core/value_form.h"

#include <gtest/gtest.h>

#include <string>

namespace tabcard {
namespace {

TEST(ValueForm, ConvertsEachKindOfCharacter) {
  struct Case {
    ValueForm form;
    std::string in;
    std::string out;
  };
  using F = ValueForm;
  const Case cases[] = {
      {F::kHalfWidthAlnum, "ＡＢＣ　ｘｙｚ！＃＠［＼］～", "ABC xyz!#@[\\]~"},
      // ＂ ＇ of the IBM and the NEC rows, and what an input method types for them.
      {F::kHalfWidthAlnum, "\xFA\x57\xEE\xFC\xFA\x56\xEE\xFB‘ａ’“ｂ”", "\"\"'''a'\"b\""},
      {F::kHalfWidthAlnum, "０３－１２３４‐５６７８―９", "03-1234-5678-9"},
      {F::kHalfWidthAlnum, "１ー２ 1ｰ2ｰ3 １ー ｰ2 1ーー2 コーヒー", "1-2 1-2-3 1ー ｰ2 1ーー2 コーヒー"},
      {F::kHalfWidthAlnum, "山田ｶﾞあ￥①", "山田ｶﾞあ￥①"},
      {F::kFullWidth, "Tel: 03-1234 'a'~\\", "Ｔｅｌ：　０３－１２３４　\xFA\x56ａ\xFA\x56～＼"},
      {F::kFullWidth, "ｶﾞｷﾞﾊﾟﾋﾟｳﾞﾎﾟｯｧｰ｡｢｣､･", "ガギパピヴポッァー。「」、・"},
      // A mark the kana before it cannot take stays a mark of its own.
      {F::kFullWidth, "ﾜﾞｱﾟﾞﾟ", "ワ゛ア゜゛゜"},
      {F::kFullWidth, "山田ガ①\t", "山田ガ①\t"},
      {F::kDigitsOnly, "〒１２３－４５６７ 03(1234)5678", "12345670312345678"},
      {F::kDigitsOnly, "①Ⅱ一二三", ""},
      {F::kHiragana, "ヤマダ　ｶﾞｯｺｳ ﾊﾟｰﾃｨｰ", "やまだ　がっこう ぱーてぃー"},
      // CP932 has no ゔ, ゕ, ゖ, nor a voiced わ.
      {F::kHiragana, "ヴァイオリン ｳﾞｧ ヵヶ ﾜﾞ", "ヴぁいおりん ヴぁ ヵヶ わ゛"},
      {F::kHiragana, "ヽヾヮヰヱABCＡ漢ー", "ゝゞゎゐゑABCＡ漢ー"},
      {F::kKatakana, "やまだ ゎゐゑゝゞ ｶﾞｯｺｳﾊﾟ ABCａ山ー", "ヤマダ ヮヰヱヽヾ ガッコウパ ABCａ山ー"},
      {F::kHalfWidthKana, "やまだ　ガグパヴぁッょ", "ﾔﾏﾀﾞ ｶﾞｸﾞﾊﾟｳﾞｧｯｮ"},
      // Without a half-width form: katakana at least.
      {F::kHalfWidthKana, "ゎゐゑヮヵヶゝゞヽヾ", "ヮヰヱヮヵヶヽヾヽヾ"},
      {F::kHalfWidthKana, "「コーヒー」、。・゛゜", "｢ｺｰﾋｰ｣､｡･ﾞﾟ"},
      {F::kHalfWidthKana, "ＴＥＬ０３ー１２３４ 1ｰ2 漢字ｱ①", "TEL03-1234 1-2 漢字ｱ①"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ApplyValueForm(c.form, c.in), c.out) << ValueFormName(c.form) << ": " << c.in;
  }
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
