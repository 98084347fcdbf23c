// The value formats against Windows' own Japanese mapping, LCMapStringW,
// over every CP932 character, every half-width kana with ﾞ and ﾟ, and runs
// where the neighbours matter.
#include "core/value_form.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/strconv_win.h"

namespace tabcard {
namespace {

constexpr LCID kJapanese = 0x0411;

std::wstring Map(DWORD flags, std::wstring_view in) {
  if (in.empty()) return {};
  const int size = static_cast<int>(in.size());
  const int n = LCMapStringW(kJapanese, flags, in.data(), size, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) LCMapStringW(kJapanese, flags, in.data(), size, out.data(), n);
  return out;
}

bool IsHalfWidthKana(wchar_t c) { return c >= 0xFF61 && c <= 0xFF9F; }
bool IsDigit(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= 0xFF10 && c <= 0xFF19); }

// LCMAP_HIRAGANA and LCMAP_KATAKANA leave half-width kana alone: runs of
// them are widened too, as the formats do.
std::wstring MapScript(DWORD script, std::wstring_view in) {
  std::wstring out;
  for (std::size_t i = 0; i < in.size();) {
    const bool half = IsHalfWidthKana(in[i]);
    std::size_t end = i;
    while (end < in.size() && IsHalfWidthKana(in[end]) == half) ++end;
    out += Map(half ? script | LCMAP_FULLWIDTH : script, in.substr(i, end - i));
    i = end;
  }
  return out;
}

// Windows' counterpart of each format.
std::wstring Reference(ValueForm form, std::wstring_view in) {
  std::wstring out;
  switch (form) {
    case ValueForm::kAsStored:
      return std::wstring(in);
    case ValueForm::kHalfWidthAlnum:
      // Only what becomes ASCII: the kana keep their width.
      for (wchar_t c : in) {
        const std::wstring half = Map(LCMAP_HALFWIDTH, std::wstring(1, c));
        out += half.size() == 1 && half[0] < 0x80 ? half : std::wstring(1, c);
      }
      return out;
    case ValueForm::kDigitsOnly:
      for (wchar_t c : Map(LCMAP_HALFWIDTH, in)) {
        if (c >= L'0' && c <= L'9') out += c;
      }
      return out;
    case ValueForm::kFullWidth:
      return Map(LCMAP_FULLWIDTH, in);
    case ValueForm::kHiragana:
      return MapScript(LCMAP_HIRAGANA, in);
    case ValueForm::kKatakana:
      return MapScript(LCMAP_KATAKANA, in);
    case ValueForm::kHalfWidthKana:
      return Map(LCMAP_KATAKANA | LCMAP_HALFWIDTH, in);
  }
  return out;
}

void Replace(std::wstring& text, std::wstring_view from, std::wstring_view to) {
  for (std::size_t i = text.find(from); i != std::wstring::npos;
       i = text.find(from, i + to.size())) {
    text.replace(i, from.size(), to);
  }
}

// Pairs of characters: each first one becomes the second.
void ReplaceEach(std::wstring& text, std::wstring_view pairs) {
  for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
    Replace(text, pairs.substr(i, 1), pairs.substr(i + 1, 1));
  }
}

void HyphenBetweenDigits(std::wstring& text) {
  for (std::size_t i = 1; i + 1 < text.size(); ++i) {
    if ((text[i] == L'ー' || text[i] == L'ｰ') && IsDigit(text[i - 1]) && IsDigit(text[i + 1])) {
      text[i] = L'-';
    }
  }
}

constexpr unsigned Bit(ValueForm form) { return 1u << static_cast<int>(form); }
constexpr unsigned kWidening =
    Bit(ValueForm::kFullWidth) | Bit(ValueForm::kHiragana) | Bit(ValueForm::kKatakana);
constexpr unsigned kNarrowing = Bit(ValueForm::kHalfWidthAlnum) | Bit(ValueForm::kHalfWidthKana);

// The differences from Windows kept on purpose, each as the change it makes
// to Windows' result.
struct Kept {
  unsigned forms;
  void (*change)(ValueForm form, std::wstring& windows);
  const char* reason;
};
const Kept kKept[] = {
    {kWidening, [](ValueForm, std::wstring& w) { ReplaceEach(w, L"\u3099゛\u309A゜"); },
     "Wine widens ﾞ ﾟ (and 全角 ゛ ゜) to combining marks CP932 cannot hold"},
    {kWidening,
     [](ValueForm f, std::wstring& w) {
       Replace(w, L"ヷ", f == ValueForm::kHiragana ? L"わ゛" : L"ワ゛");
       Replace(w, L"ヺ", f == ValueForm::kHiragana ? L"を゛" : L"ヲ゛");
     },
     "CP932 has no voiced ワ or ヲ: ﾜﾞ ｦﾞ keep the mark apart"},
    {Bit(ValueForm::kHiragana), [](ValueForm, std::wstring& w) { ReplaceEach(w, L"ゔヴゕヵゖヶ"); },
     "CP932 has no hiragana for ヴ ヵ ヶ: they stay katakana"},
    {kNarrowing, [](ValueForm, std::wstring& w) { ReplaceEach(w, L"‐-―-"); },
     "Windows leaves ‐ ―; in a number or a code they mean a hyphen"},
    {kNarrowing, [](ValueForm, std::wstring& w) { HyphenBetweenDigits(w); },
     "Windows does not read ー or ｰ between two digits as a hyphen (１ー２)"},
    {Bit(ValueForm::kHalfWidthKana), [](ValueForm, std::wstring& w) { Replace(w, L"ヽﾞ", L"ヾ"); },
     "Wine splits ゞ ヾ into ヽﾞ; CP932 has ヾ whole"},
    {Bit(ValueForm::kHalfWidthKana),
     [](ValueForm, std::wstring& w) { ReplaceEach(w, L"¢￠£￡¥￥¦￤¬￢¯￣￨│￩←￪↑￫→￬↓￭■￮○"); },
     "Windows narrows ￠ ￡ ￥ ￤ ￢ ￣ │ ← ↑ → ↓ ■ ○ to forms CP932 cannot hold"},
    {kNarrowing | Bit(ValueForm::kFullWidth),
     [](ValueForm f, std::wstring& w) {
       if (f == ValueForm::kFullWidth) {
         Replace(w, L"\\", L"＼");
       } else {
         Replace(w, L"＼", L"\\");
       }
     },
     "Windows leaves \\ and ＼ as they are; the formats treat them as the other ASCII symbols"},
};

// Every character CP932 has, each half-width kana with ﾞ and ﾟ, ー between
// digits and not, and mixed runs.
std::vector<std::string> Corpus() {
  std::vector<std::string> units;
  for (int b = 0x20; b <= 0x7E; ++b) units.emplace_back(1, static_cast<char>(b));
  for (int b = 0xA1; b <= 0xDF; ++b) {
    for (const char* mark : {"", "\xDE", "\xDF"}) {
      units.push_back(static_cast<char>(b) + std::string(mark));
    }
  }
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead == 0xA0) lead = 0xE0;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      wchar_t w[2];
      if (MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, pair, 2, w, 2) == 1) {
        units.emplace_back(pair, 2);
      }
    }
  }
  for (const char* run : {"1ー2", "１ー２", "1ｰ２", "１ｰ2", "０ー9ー8", "aー2", "1ーa", "ア1ー", "ｰ1",
                          "1ーー2", "山田 太郎（ﾔﾏﾀﾞ ﾀﾛｳ）ＴＥＬ：03(1234)5678",
                          "がっこう　ｶﾞｯｺｳ　ガッコウ ABC ａｂｃ",
                          "ﾊﾟｰﾃｨｰ・ﾊﾟｰﾃｨｰ！「ﾎﾟｯﾌﾟ」、ｳﾞｧｲｵﾘﾝ"}) {
    units.emplace_back(run);
  }
  return units;
}

TEST(ValueFormWin, MatchesLCMapStringSaveTheKeptDifferences) {
  const std::vector<std::string> corpus = Corpus();
  ASSERT_GT(corpus.size(), 7000u);
  for (ValueForm form : kValueForms) {
    for (const std::string& unit : corpus) {
      const std::wstring in = Widen(unit);
      const std::wstring ours = Widen(ApplyValueForm(form, unit));
      const std::wstring windows = Reference(form, in);
      std::wstring kept = windows;
      for (const Kept& k : kKept) {
        if (k.forms & Bit(form)) k.change(form, kept);
      }
      EXPECT_EQ(ours, kept) << "form " << static_cast<int>(form) << ", "
                            << testing::PrintToString(in) << ", Windows "
                            << testing::PrintToString(windows);
    }
  }
}

}  // namespace
}  // namespace tabcard
