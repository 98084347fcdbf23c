#include "core/value_form.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <utility>

#include "core/text.h"

namespace tabcard {
namespace {

// One character: a single byte, or lead << 8 | trail.
using Code = std::uint16_t;

constexpr Code kLongVowel = 0x815B;      // ー
constexpr Code kHalfLongVowel = 0xB0;    // ｰ
constexpr unsigned char kVoiced = 0xDE;  // ﾞ
constexpr unsigned char kSemiVoiced = 0xDF;

constexpr const char* kNames[] = {"そのまま", "半角英数", "全角",    "数字のみ",
                                  "ひらがな", "カタカナ", "半角カナ"};
static_assert(std::size(kNames) == kValueForms.size());

// The full-width form of each printable ASCII character from the space on.
// ＂ and ＇ are written as the codes Windows gives them (the IBM row).
constexpr char kWideAscii[] =
    "　！\xFA\x57＃＄％＆\xFA\x56（）＊＋，－．／０１２３４５６７８９：；＜＝＞？"
    "＠ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ［＼］＾＿"
    "｀ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ｛｜｝～";
static_assert(sizeof kWideAscii == 2 * 95 + 1);

// What else reads as ASCII under 半角英数.
struct MoreAscii {
  Code code;
  char ascii;
};
constexpr MoreAscii kMoreAscii[] = {
    {0xFA56, '\''}, {0xFA57, '"'}, {0xEEFB, '\''}, {0xEEFC, '"'},  // ＇ ＂ in both rows
    {0x815D, '-'},  {0x815C, '-'},  // ‐ ―: in a number or a code they mean a hyphen
    // What an input method types for ' and " in full-width mode.
    {0x8165, '\''}, {0x8166, '\''}, {0x8167, '"'}, {0x8168, '"'},  // ‘ ’ “ ”
};

// Each kana and kana-like mark in its forms, "" where CP932 has none.
struct Row {
  const char* hiragana;
  const char* katakana;
  const char* half;
};
constexpr Row kRows[] = {
    {"ぁ", "ァ", "ｧ"}, {"あ", "ア", "ｱ"}, {"ぃ", "ィ", "ｨ"}, {"い", "イ", "ｲ"}, {"ぅ", "ゥ", "ｩ"},
    {"う", "ウ", "ｳ"}, {"ぇ", "ェ", "ｪ"}, {"え", "エ", "ｴ"}, {"ぉ", "ォ", "ｫ"}, {"お", "オ", "ｵ"},
    {"か", "カ", "ｶ"}, {"が", "ガ", "ｶﾞ"}, {"き", "キ", "ｷ"}, {"ぎ", "ギ", "ｷﾞ"}, {"く", "ク", "ｸ"},
    {"ぐ", "グ", "ｸﾞ"}, {"け", "ケ", "ｹ"}, {"げ", "ゲ", "ｹﾞ"}, {"こ", "コ", "ｺ"}, {"ご", "ゴ", "ｺﾞ"},
    {"さ", "サ", "ｻ"}, {"ざ", "ザ", "ｻﾞ"}, {"し", "シ", "ｼ"}, {"じ", "ジ", "ｼﾞ"}, {"す", "ス", "ｽ"},
    {"ず", "ズ", "ｽﾞ"}, {"せ", "セ", "ｾ"}, {"ぜ", "ゼ", "ｾﾞ"}, {"そ", "ソ", "ｿ"}, {"ぞ", "ゾ", "ｿﾞ"},
    {"た", "タ", "ﾀ"}, {"だ", "ダ", "ﾀﾞ"}, {"ち", "チ", "ﾁ"}, {"ぢ", "ヂ", "ﾁﾞ"}, {"っ", "ッ", "ｯ"},
    {"つ", "ツ", "ﾂ"}, {"づ", "ヅ", "ﾂﾞ"}, {"て", "テ", "ﾃ"}, {"で", "デ", "ﾃﾞ"}, {"と", "ト", "ﾄ"},
    {"ど", "ド", "ﾄﾞ"}, {"な", "ナ", "ﾅ"}, {"に", "ニ", "ﾆ"}, {"ぬ", "ヌ", "ﾇ"}, {"ね", "ネ", "ﾈ"},
    {"の", "ノ", "ﾉ"}, {"は", "ハ", "ﾊ"}, {"ば", "バ", "ﾊﾞ"}, {"ぱ", "パ", "ﾊﾟ"}, {"ひ", "ヒ", "ﾋ"},
    {"び", "ビ", "ﾋﾞ"}, {"ぴ", "ピ", "ﾋﾟ"}, {"ふ", "フ", "ﾌ"}, {"ぶ", "ブ", "ﾌﾞ"}, {"ぷ", "プ", "ﾌﾟ"},
    {"へ", "ヘ", "ﾍ"}, {"べ", "ベ", "ﾍﾞ"}, {"ぺ", "ペ", "ﾍﾟ"}, {"ほ", "ホ", "ﾎ"}, {"ぼ", "ボ", "ﾎﾞ"},
    {"ぽ", "ポ", "ﾎﾟ"}, {"ま", "マ", "ﾏ"}, {"み", "ミ", "ﾐ"}, {"む", "ム", "ﾑ"}, {"め", "メ", "ﾒ"},
    {"も", "モ", "ﾓ"}, {"ゃ", "ャ", "ｬ"}, {"や", "ヤ", "ﾔ"}, {"ゅ", "ュ", "ｭ"}, {"ゆ", "ユ", "ﾕ"},
    {"ょ", "ョ", "ｮ"}, {"よ", "ヨ", "ﾖ"}, {"ら", "ラ", "ﾗ"}, {"り", "リ", "ﾘ"}, {"る", "ル", "ﾙ"},
    {"れ", "レ", "ﾚ"}, {"ろ", "ロ", "ﾛ"}, {"ゎ", "ヮ", ""}, {"わ", "ワ", "ﾜ"}, {"ゐ", "ヰ", ""},
    {"ゑ", "ヱ", ""}, {"を", "ヲ", "ｦ"}, {"ん", "ン", "ﾝ"}, {"", "ヴ", "ｳﾞ"}, {"", "ヵ", ""},
    {"", "ヶ", ""}, {"ゝ", "ヽ", ""}, {"ゞ", "ヾ", ""},
    // Punctuation and marks: one full-width form serves both scripts.
    {"、", "、", "､"}, {"。", "。", "｡"}, {"「", "「", "｢"}, {"」", "」", "｣"}, {"・", "・", "･"},
    {"ー", "ー", "ｰ"}, {"゛", "゛", "ﾞ"}, {"゜", "゜", "ﾟ"},
};
constexpr int kRowCount = static_cast<int>(std::size(kRows));
static_assert(kRowCount < 128);

bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }
bool IsHalfKana(Code c) { return c >= 0xA1 && c <= 0xDF; }
bool IsDigit(Code c) { return (c >= '0' && c <= '9') || (c >= 0x824F && c <= 0x8258); }

struct Char {
  Code code;
  std::size_t size;
};

// The character at i: a lead byte with its trail byte, or any other byte
// alone (a broken pair is two characters of one byte).
Char CharAt(std::string_view text, std::size_t i) {
  const auto b = static_cast<unsigned char>(text[i]);
  if (IsLeadByte(b) && i + 1 < text.size()) {
    const auto t = static_cast<unsigned char>(text[i + 1]);
    if (IsTrailByte(t)) return {static_cast<Code>(b << 8 | t), 2};
  }
  return {b, 1};
}

// A literal's characters as one code: "ガ" is 0x834B, "ｶﾞ" is 0xB6DE.
Code CodeOf(std::string_view text) {
  Code code = 0;
  for (char c : text) code = static_cast<Code>(code << 8 | static_cast<unsigned char>(c));
  return code;
}

void Append(std::string& out, Code code) {
  if (code > 0xFF) out += static_cast<char>(code >> 8);
  out += static_cast<char>(code & 0xFF);
}

struct Forms {
  Code hiragana;
  Code katakana;
  Code half;  // up to two bytes
};

// What a double-byte character of the lead bytes 81-83 is to the forms.
struct WideInfo {
  char ascii = 0;
  std::int8_t row = -1;
};

class Tables {
 public:
  Tables() {
    for (std::size_t c = 0; c < wideOfAscii_.size(); ++c) {
      wideOfAscii_[c] = CodeOf(std::string_view(kWideAscii + 2 * c, 2));
      if (WideInfo* slot = WideSlot(wideOfAscii_[c])) slot->ascii = static_cast<char>(0x20 + c);
    }
    for (const MoreAscii& m : kMoreAscii) {
      if (WideInfo* slot = WideSlot(m.code)) slot->ascii = m.ascii;
    }
    for (auto& h : half_) h.fill(-1);
    for (int r = 0; r < kRowCount; ++r) {
      const Row& row = kRows[r];
      forms_[r] = {CodeOf(row.hiragana), CodeOf(row.katakana), CodeOf(row.half)};
      for (Code code : {forms_[r].hiragana, forms_[r].katakana}) {
        if (WideInfo* slot = WideSlot(code)) slot->row = static_cast<std::int8_t>(r);
      }
      const std::string_view h = row.half;
      if (h.empty()) continue;
      const int mark = h.size() == 1 ? 0 : static_cast<unsigned char>(h[1]) == kVoiced ? 1 : 2;
      half_[static_cast<unsigned char>(h[0]) - 0xA0][mark] = static_cast<std::int8_t>(r);
    }
  }

  Code WideOfAscii(Code c) const { return wideOfAscii_[c - 0x20]; }
  const Forms& RowForms(int row) const { return forms_[row]; }

  WideInfo Wide(Code code) const {
    const unsigned lead = code >> 8;
    if (lead >= 0x81 && lead <= 0x83) return wide_[(lead - 0x81) << 8 | (code & 0xFF)];
    for (const MoreAscii& m : kMoreAscii) {
      if (m.code == code) return {m.ascii, -1};
    }
    return {};
  }

  // The row of the half-width kana at i, with a following ﾞ or ﾟ where a
  // row has the pair, and the bytes it takes.
  std::pair<int, std::size_t> HalfRow(std::string_view text, std::size_t i) const {
    const auto& h = half_[static_cast<unsigned char>(text[i]) - 0xA0];
    if (i + 1 < text.size()) {
      const auto next = static_cast<unsigned char>(text[i + 1]);
      if (next == kVoiced && h[1] >= 0) return {h[1], 2};
      if (next == kSemiVoiced && h[2] >= 0) return {h[2], 2};
    }
    return {h[0], 1};
  }

 private:
  WideInfo* WideSlot(Code code) {
    const unsigned lead = code >> 8;
    return lead >= 0x81 && lead <= 0x83 ? &wide_[(lead - 0x81) << 8 | (code & 0xFF)] : nullptr;
  }

  std::array<Code, 95> wideOfAscii_{};
  std::array<Forms, kRowCount> forms_{};
  std::array<WideInfo, 3 * 256> wide_{};
  std::array<std::array<std::int8_t, 3>, 0x40> half_{};  // A0-DF: alone, with ﾞ, with ﾟ
};

const Tables& TheTables() {
  static const Tables tables;
  return tables;
}

// One pass over the text: each step reads the character at pos, appends
// its form and moves past what it took.
class Pass {
 public:
  Pass(ValueForm form, std::string_view text) : form_(form), text_(text) {
    out_.reserve(text.size());
  }

  std::string Run() {
    bool afterDigit = false;
    while (pos_ < text_.size()) {
      const Char c = CharAt(text_, pos_);
      betweenDigits_ = afterDigit && pos_ + c.size < text_.size() &&
                       IsDigit(CharAt(text_, pos_ + c.size).code);
      afterDigit = IsDigit(c.code);
      pos_ += Step(c);
    }
    if (form_ == ValueForm::kDigitsOnly) {
      out_.erase(std::remove_if(out_.begin(), out_.end(), [](char b) { return b < '0' || b > '9'; }),
                 out_.end());
    }
    return std::move(out_);
  }

 private:
  std::size_t Step(Char c) {
    switch (form_) {
      case ValueForm::kHalfWidthAlnum:
      case ValueForm::kDigitsOnly:
        if (const char a = AsciiOf(c)) return Put(a, c);
        return Keep(c);
      case ValueForm::kHalfWidthKana:
        return HalfKanaStep(c);
      case ValueForm::kFullWidth:
      case ValueForm::kHiragana:
      case ValueForm::kKatakana:
        return FullStep(c);
      case ValueForm::kAsStored:
        break;
    }
    return Keep(c);
  }

  // The ASCII a character reads as under 半角英数, 0 for none.
  char AsciiOf(Char c) const {
    if (c.size == 2) {
      if (const char a = tables_.Wide(c.code).ascii) return a;
    }
    return (c.code == kLongVowel || c.code == kHalfLongVowel) && betweenDigits_ ? '-' : 0;
  }

  std::size_t HalfKanaStep(Char c) {
    if (const char a = AsciiOf(c)) return Put(a, c);
    const int row = c.size == 2 ? tables_.Wide(c.code).row : -1;
    if (row < 0) return Keep(c);
    const Forms& f = tables_.RowForms(row);
    Append(out_, f.half ? f.half : f.katakana);
    return c.size;
  }

  // 全角, ひらがな and カタカナ: the half-width range becomes full-width, then
  // the script is chosen; 全角 also widens ASCII.
  std::size_t FullStep(Char c) {
    if (c.size == 1 && IsHalfKana(c.code)) {
      const auto [row, used] = tables_.HalfRow(text_, pos_);
      Append(out_, Script(tables_.RowForms(row)));
      return used;
    }
    if (form_ == ValueForm::kFullWidth) {
      if (c.code < 0x20 || c.code > 0x7E) return Keep(c);
      Append(out_, tables_.WideOfAscii(c.code));
      return 1;
    }
    const int row = c.size == 2 ? tables_.Wide(c.code).row : -1;
    if (row < 0) return Keep(c);
    Append(out_, Script(tables_.RowForms(row)));
    return 2;
  }

  Code Script(const Forms& f) const {
    return form_ == ValueForm::kHiragana && f.hiragana ? f.hiragana : f.katakana;
  }

  std::size_t Put(char a, Char c) {
    out_ += a;
    return c.size;
  }

  std::size_t Keep(Char c) {
    out_.append(text_.substr(pos_, c.size));
    return c.size;
  }

  const Tables& tables_ = TheTables();
  const ValueForm form_;
  const std::string_view text_;
  std::string out_;
  std::size_t pos_ = 0;
  bool betweenDigits_ = false;
};

}  // namespace

const char* ValueFormName(ValueForm form) {
  const auto i = static_cast<std::size_t>(form);
  return i < std::size(kNames) ? kNames[i] : kNames[0];
}

ValueForm ValueFormFromName(std::string_view name) {
  for (ValueForm form : kValueForms) {
    if (name == ValueFormName(form)) return form;
  }
  return ValueForm::kAsStored;
}

std::string ApplyValueForm(ValueForm form, std::string_view cp932) {
  if (form == ValueForm::kAsStored) return std::string(cp932);
  return Pass(form, cp932).Run();
}

}  // namespace tabcard
