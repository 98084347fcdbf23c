// Which keys make a program paste. Most programs paste on Shift+Insert; some
// (Wine's WordPad, RichEdit controls) only on Ctrl+V. What a transfer has
// learnt is kept below the product key in PasteKeys: one REG_SZ value per
// program, named by its executable's file name ("wordpad.exe", ASCII case
// ignored as the registry ignores it), holding "Ctrl+V" or "Shift+Insert".
// Names are UTF-16 units as the registry holds them, so any file name works.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/registry.h"

namespace tabcard {

enum class PasteKey { kShiftInsert, kCtrlV };

// Shift+Insert unless a rule says otherwise: consoles and edit controls
// alike paste on it.
inline constexpr PasteKey kStandardPasteKey = PasteKey::kShiftInsert;
inline constexpr PasteKey kPasteKeys[] = {PasteKey::kShiftInsert, PasteKey::kCtrlV};

inline PasteKey OtherPasteKey(PasteKey key) {
  return key == PasteKey::kCtrlV ? PasteKey::kShiftInsert : PasteKey::kCtrlV;
}
// "Shift+Insert", "Ctrl+V": the stored data and what the options dialog shows.
const char* PasteKeyText(PasteKey key);
// The stored data back; ASCII case and a terminating zero ignored.
std::optional<PasteKey> ParsePasteKey(std::u16string_view text);

struct PasteKeyRule {
  std::u16string program;
  PasteKey key = kStandardPasteKey;
};
bool operator==(const PasteKeyRule& a, const PasteKeyRule& b);
using PasteKeyRules = std::vector<PasteKeyRule>;

// A damaged store cannot grow the list beyond this.
inline constexpr std::size_t kMaxPasteKeyRules = 1024;

std::u16string PasteKeysKey();  // base\PasteKeys

// The rule for a program (ASCII case ignored); null when there is none.
const PasteKeyRule* FindPasteKeyRule(const PasteKeyRules& rules, std::u16string_view program);

// Changes the program's rule, or adds one.
void PutPasteKeyRule(PasteKeyRules* rules, std::u16string_view program, PasteKey key);

// Every readable rule, sorted by program; a value of another type or with
// other data is no rule. No key is no rules. False only when the key exists
// but cannot be read.
bool LoadPasteKeys(RegistryBackend& backend, PasteKeyRules* rules);
// One rule written (the key created when missing), the others left alone.
bool StorePasteKey(RegistryBackend& backend, std::u16string_view program, PasteKey key);
// The key rewritten to hold exactly these rules.
bool SavePasteKeys(RegistryBackend& backend, const PasteKeyRules& rules);

}  // namespace tabcard
