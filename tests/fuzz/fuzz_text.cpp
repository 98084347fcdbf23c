// Text of any bytes through the CP932 rules, the item catalogue's
// derivations, the caption's clipboard text, the integer conversion of the
// options dialog and the value formats.
//
// Input: a cut length (2 bytes), a number (4), then the text. Split at 0xFF
// (never a CP932 byte) the text also gives the 29 fields and a run of
// clipboard events.
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "app/caption.h"
#include "core/integer_text.h"
#include "core/text.h"
#include "core/value_form.h"
#include "fuzz_check.h"
#include "store/catalogue.h"

namespace tabcard {
namespace {

using fuzz::CharBoundaries;

std::vector<std::string> Split(std::string_view text) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (static_cast<unsigned char>(c) == 0xFF) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

void CheckCuts(std::string_view text, std::size_t n) {
  const std::vector<bool> whole = CharBoundaries(text);
  auto check = [&](std::size_t k) {
    const std::string_view cut = CutDoubleByte(text, k);
    FUZZ_CHECK(text.substr(0, cut.size()) == cut);
    if (text.size() < k) {
      FUZZ_CHECK(cut.size() == text.size());
      return;
    }
    FUZZ_CHECK(cut.size() == k || cut.size() + 1 == k);
    FUZZ_CHECK(whole[cut.size()]);
  };
  check(n);
  if (text.size() <= 64) {
    for (std::size_t k = 0; k <= text.size(); ++k) check(k);
  }
}

void CheckTrims(std::string_view text) {
  const std::string_view trimmed = Trim(text);
  const std::string_view trailing = TrimTrailing(text);
  FUZZ_CHECK(IsBlank(text) == trimmed.empty());
  FUZZ_CHECK(text.substr(0, trailing.size()) == trailing);
  FUZZ_CHECK(trailing.size() >= trimmed.size());
  FUZZ_CHECK(trailing.find(trimmed) != std::string_view::npos);
  const std::string_view upTo = UpToZero(text);
  FUZZ_CHECK(upTo.find('\0') == std::string_view::npos && text.substr(0, upTo.size()) == upTo);
}

void CheckNumbers(std::string_view text, std::int32_t number) {
  const std::string name = Numbered(text.substr(0, 8), number);
  const std::string digits = name.substr(text.substr(0, 8).size());
  FUZZ_CHECK(digits.size() >= 3 && std::stoll(digits) == number);

  const std::optional<std::int32_t> parsed = ParseInteger(text);
  try {
    const std::int32_t converted = StrToInt(text);
    FUZZ_CHECK(parsed && *parsed == converted);
  } catch (const ConvertError& e) {
    FUZZ_CHECK(!parsed);
    // what() is a C string: the message shows the text up to a zero byte.
    const std::string_view shown = UpToZero(text);
    FUZZ_CHECK(std::string_view(e.what()).substr(1, shown.size()) == shown);
  }
  FUZZ_CHECK(ParseInteger(std::to_string(number)) == number);
  if (parsed) {
    // Whatever is accepted is a number's spelling, nothing else.
    FUZZ_CHECK(text.find_first_not_of(" +-$0123456789abcdefABCDEFxX") == std::string_view::npos);
  }
}

void CheckKatakana(std::string_view text) {
  const std::string kana = ToKatakana(text);
  FUZZ_CHECK(kana.size() % 2 == 0 && kana.size() <= text.size());
  // CP932 katakana: 0x8340-0x8396.
  for (std::size_t i = 0; i < kana.size(); i += 2) {
    const auto lead = static_cast<unsigned char>(kana[i]);
    const auto trail = static_cast<unsigned char>(kana[i + 1]);
    FUZZ_CHECK(lead == 0x83 && trail >= 0x40 && trail <= 0x96);
  }
  // Hiragana: 0x829F-0x82F1; only they are kept.
  std::size_t hiragana = 0;
  for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    if (lead == 0x82 && trail >= 0x9F && trail <= 0xF1) ++hiragana;
  }
  FUZZ_CHECK(kana.size() <= 2 * hiragana);
}

void CheckCatalogue(const std::vector<std::string>& parts) {
  ProfileFields fields;
  std::size_t total = 0;
  for (std::size_t i = 0; i < fields.size() && i < parts.size(); ++i) {
    fields[i] = parts[i];
    total += parts[i].size();
  }
  const ItemValues values = DeriveItemValues(fields);
  for (const std::string& v : values) FUZZ_CHECK(v.size() <= total);
  FUZZ_CHECK(values[0] == fields[0] + fields[1]);
  const int item = FindItem(parts[0]);
  FUZZ_CHECK(item == -1 || (item < kItemCount && parts[0] == kCatalogue[item].name));
}

// The text without the lead bytes that lack their trail byte.
std::string WholeCharacters(std::string_view text) {
  const std::vector<bool> boundary = CharBoundaries(text);
  std::string whole;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool lone = boundary[i] && boundary[i + 1] && IsLeadByte(static_cast<unsigned char>(text[i]));
    if (!lone) whole += text[i];
  }
  return whole;
}

bool IsWhole(std::string_view text) { return WholeCharacters(text).size() == text.size(); }

void CheckValueForms(std::string_view text) {
  const std::string whole = WholeCharacters(text);
  auto apply = [](ValueForm form, std::string_view t) { return ApplyValueForm(form, t); };
  for (ValueForm form : kValueForms) {
    const std::string broken = apply(form, text);
    FUZZ_CHECK(broken.size() <= 2 * text.size());
    const std::string once = apply(form, whole);
    FUZZ_CHECK(IsWhole(once));
    FUZZ_CHECK(apply(form, once) == once);
    if (form == ValueForm::kDigitsOnly) {
      FUZZ_CHECK(broken.find_first_not_of("0123456789") == std::string::npos);
    }
  }
  // The script forms decide every kana alike, whatever it was before; the
  // digits do not depend on the width.
  const std::string katakana = apply(ValueForm::kKatakana, whole);
  const std::string hiragana = apply(ValueForm::kHiragana, whole);
  FUZZ_CHECK(apply(ValueForm::kKatakana, hiragana) == katakana);
  FUZZ_CHECK(apply(ValueForm::kHiragana, katakana) == hiragana);
  FUZZ_CHECK(apply(ValueForm::kHalfWidthKana, katakana) == apply(ValueForm::kHalfWidthKana, whole));
  FUZZ_CHECK(apply(ValueForm::kDigitsOnly, apply(ValueForm::kFullWidth, whole)) ==
             apply(ValueForm::kDigitsOnly, whole));
  const ValueForm named = ValueFormFromName(text);
  FUZZ_CHECK(named == ValueForm::kAsStored || text == ValueFormName(named));
}

// A clipboard that gives what the input says.
class ScriptedDesktop : public Desktop {
 public:
  ScreenPoint CursorPos() override { return {}; }
  WindowId WindowFromPoint(ScreenPoint) override { return kNoWindow; }
  WindowId ParentOf(WindowId) override { return kNoWindow; }
  WindowId TopLevelOf(WindowId) override { return kNoWindow; }
  WindowId LastActivePopup(WindowId w) override { return w; }
  bool Exists(WindowId) override { return false; }
  bool IsOwnWindow(WindowId) override { return false; }
  ScreenPoint ScreenToClient(WindowId, ScreenPoint p) override { return p; }
  bool SetForeground(WindowId) override { return false; }
  WindowId Foreground() override { return kNoWindow; }
  void WaitForegroundChange(unsigned) override {}
  std::optional<std::uint32_t> IntegrityLevelOf(WindowId) override { return std::nullopt; }
  std::optional<std::uint32_t> OwnIntegrityLevel() override { return std::nullopt; }
  SendResult Send(WindowId, unsigned, std::uintptr_t, std::intptr_t) override {
    return SendResult::kNoWindow;
  }
  void KeyEvent(unsigned char, unsigned) override {}
  bool AnyKeyHeld(std::initializer_list<unsigned char>) override { return false; }
  void Idle(unsigned) override {}
  bool PlaceClipboardText(std::string_view) override { return true; }
  bool ClipboardTextRead() override { return true; }
  bool ClipboardHoldsPlaced() override { return false; }
  ClipboardKeep KeepClipboard() override { return ClipboardKeep::kNotKept; }
  bool RestoreClipboard() override { return false; }
  void ForgetKeptClipboard() override {}
  std::u16string ProgramOf(WindowId) override { return {}; }
  ClipboardText ReadClipboardText(std::size_t maxBytes) override {
    FUZZ_CHECK(maxBytes == kCaptionMaxBytes);
    return clip;
  }
  std::uint32_t ClipboardSequence() override { return sequence; }
  void Beep() override {}
  void ShowDragCursor(bool) override {}
  void SetCapture(WindowId) override {}
  void ReleaseCapture() override {}
  std::uint64_t NowMs() override { return 0; }

  ClipboardText clip;
  std::uint32_t sequence = 0;
};

// A caption is the whole or a cut of a text the clipboard held or the
// palette placed, never half a character.
bool CutOfAny(const std::string& caption, const std::vector<std::string_view>& texts) {
  for (std::string_view text : texts) {
    if (caption.size() <= kCaptionMaxBytes && text.substr(0, caption.size()) == caption &&
        (caption.size() == text.size() || CharBoundaries(text)[caption.size()])) {
      return true;
    }
  }
  return false;
}

// Event byte: bits 0-1 the kind (text, busy, no text, placed by the palette),
// the rest the clipboard's sequence number.
void CheckCaption(const std::vector<std::string>& parts) {
  ScriptedDesktop desktop;
  ClipboardCaption caption;
  std::optional<std::string> shown;
  std::vector<std::string_view> texts;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    const auto event = static_cast<unsigned char>(part[0]);
    const std::string_view bytes = std::string_view(part).substr(1);
    desktop.sequence = event >> 2;
    const int kind = event & 3;
    texts.push_back(UpToZero(bytes));
    if (kind == 3) {
      caption.Placed(desktop, bytes);
      continue;
    }
    desktop.clip.state = kind == 0 ? ClipboardText::State::kText
                                   : kind == 1 ? ClipboardText::State::kBusy : ClipboardText::State::kNoText;
    desktop.clip.text = std::string(bytes);
    const std::optional<std::string> update = caption.Update(desktop);
    if (!update) continue;
    FUZZ_CHECK(update != shown);
    shown = update;
    FUZZ_CHECK(*update == kNoTextCaption || CutOfAny(*update, texts));
  }
}

}  // namespace
}  // namespace tabcard

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tabcard;
  fuzz::ByteReader in(data, size);
  const std::size_t n = in.U16();
  const std::int32_t number = in.I32();
  const std::string text = in.Rest();
  const std::vector<std::string> parts = Split(text);
  CheckCuts(text, n);
  CheckTrims(text);
  CheckNumbers(text, number);
  CheckKatakana(text);
  CheckValueForms(text);
  CheckCatalogue(parts);
  CheckCaption(parts);
  return 0;
}
