// The formats a cell's value can be put into when it is sent. They take
// CP932 text and give CP932 text: a character only ever becomes one that
// code page 932 holds, and a byte that is not part of a valid character
// passes through unchanged.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tabcard {

enum class ValueForm {
  // そのまま: the value as it is.
  kAsStored,
  // 半角英数: full-width Latin letters, digits and ASCII symbols become ASCII,
  // the ideographic space a space, ‘ ’ “ ” ' and ", ‐ ― － a hyphen, and so
  // does ー or ｰ between two digits (１ー２ -> 1-2).
  kHalfWidthAlnum,
  // 全角: printable ASCII becomes full-width (space -> U+3000), half-width
  // katakana full-width with a following ﾞ or ﾟ composed where CP932 has the
  // voiced kana (ｶﾞ -> ガ, ｳﾞ -> ヴ); otherwise the mark becomes ゛ or ゜
  // (ﾜﾞ -> ワ゛).
  kFullWidth,
  // 数字のみ: the 半角英数 result without anything but 0-9.
  kDigitsOnly,
  // ひらがな: katakana, full- or half-width, become hiragana; those CP932 has
  // no hiragana for (ヴ ヵ ヶ, ｳﾞ) become or stay full-width katakana. The
  // rest of the half-width range (｡｢｣､･ｰ and lone ﾞﾟ) becomes full-width too.
  kHiragana,
  // カタカナ: hiragana become katakana (ゝ ゞ -> ヽ ヾ), the half-width range
  // full-width as in 全角.
  kKatakana,
  // 半角カナ: the 半角英数 rules; hiragana and katakana become half-width (a
  // voiced kana as base and ﾞ or ﾟ), ー 、 。 「 」 ・ ゛ ゜ as ｰ ､ ｡ ｢ ｣ ･ ﾞ ﾟ.
  // A kana without a half-width form becomes full-width katakana (ゎ -> ヮ,
  // ゐ -> ヰ, ゝ -> ヽ) or stays (ヵ ヶ ヾ).
  kHalfWidthKana,
};

// In the order of the drop-down.
inline constexpr std::array<ValueForm, 7> kValueForms = {
    ValueForm::kAsStored,  ValueForm::kHalfWidthAlnum, ValueForm::kFullWidth,
    ValueForm::kDigitsOnly, ValueForm::kHiragana,      ValueForm::kKatakana,
    ValueForm::kHalfWidthKana};

// The name stored in the registry and shown in the drop-down (CP932).
const char* ValueFormName(ValueForm form);

// The form a stored name names; a missing, empty or unknown name is kAsStored.
ValueForm ValueFormFromName(std::string_view name);

std::string ApplyValueForm(ValueForm form, std::string_view cp932);

}  // namespace tabcard
