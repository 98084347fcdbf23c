#include "store/paste_keys.h"

#include <algorithm>

#include "store/layout.h"

namespace tabcard {
namespace {

const std::string& KeyPath() {
  static const std::string path = std::string(kBaseKey) + "\\PasteKeys";
  return path;
}

// The raw interface closes nothing by itself.
struct OpenKey {
  RegistryBackend& backend;
  bool open;
  OpenKey(RegistryBackend& b, bool create) : backend(b), open(b.OpenRaw(PasteKeysKey(), create)) {}
  ~OpenKey() { backend.Close(); }
};

RawValue RuleValue(const PasteKeyRule& rule) {
  const std::string_view text = PasteKeyText(rule.key);
  std::u16string units(text.begin(), text.end());
  units.push_back(u'\0');
  return RawValue{rule.program, kRegSz, UnitBytes(units)};
}

}  // namespace

const char* PasteKeyText(PasteKey key) {
  return key == PasteKey::kCtrlV ? "Ctrl+V" : "Shift+Insert";
}

std::optional<PasteKey> ParsePasteKey(std::u16string_view text) {
  text = text.substr(0, text.find(u'\0'));
  for (PasteKey key : kPasteKeys) {
    const std::string_view name = PasteKeyText(key);
    if (FoldAsciiCase(text) == FoldAsciiCase(std::u16string(name.begin(), name.end()))) return key;
  }
  return std::nullopt;
}

bool operator==(const PasteKeyRule& a, const PasteKeyRule& b) {
  return a.program == b.program && a.key == b.key;
}

std::u16string PasteKeysKey() {
  const std::string& path = KeyPath();
  return std::u16string(path.begin(), path.end());
}

const PasteKeyRule* FindPasteKeyRule(const PasteKeyRules& rules, std::u16string_view program) {
  const std::u16string folded = FoldAsciiCase(program);
  for (const PasteKeyRule& rule : rules) {
    if (FoldAsciiCase(rule.program) == folded) return &rule;
  }
  return nullptr;
}

void PutPasteKeyRule(PasteKeyRules* rules, std::u16string_view program, PasteKey key) {
  const std::u16string folded = FoldAsciiCase(program);
  for (PasteKeyRule& rule : *rules) {
    if (FoldAsciiCase(rule.program) == folded) {
      rule.key = key;
      return;
    }
  }
  rules->push_back({std::u16string(program), key});
}

bool LoadPasteKeys(RegistryBackend& backend, PasteKeyRules* rules) {
  rules->clear();
  OpenKey key(backend, false);
  if (!key.open) return true;
  std::vector<RawValue> values;
  if (!backend.ListValues(&values)) return false;
  for (const RawValue& value : values) {
    if (rules->size() >= kMaxPasteKeyRules) break;
    const bool text = value.type == kRegSz || value.type == kRegExpandSz;
    const auto parsed = text ? ParsePasteKey(BytesUnits(value.data)) : std::nullopt;
    // The default value has no program to name.
    if (parsed && !value.name.empty()) rules->push_back({value.name, *parsed});
  }
  std::sort(rules->begin(), rules->end(), [](const PasteKeyRule& a, const PasteKeyRule& b) {
    return FoldAsciiCase(a.program) < FoldAsciiCase(b.program);
  });
  return true;
}

bool StorePasteKey(RegistryBackend& backend, std::u16string_view program, PasteKey key) {
  if (program.empty()) return false;
  OpenKey open(backend, true);
  return open.open && backend.SetRaw(RuleValue({std::u16string(program), key}));
}

bool SavePasteKeys(RegistryBackend& backend, const PasteKeyRules& rules) {
  if (!backend.DeleteTree(KeyPath())) return false;
  if (rules.empty()) return true;
  OpenKey open(backend, true);
  if (!open.open) return false;
  for (const PasteKeyRule& rule : rules) {
    if (!rule.program.empty() && !backend.SetRaw(RuleValue(rule))) return false;
  }
  return true;
}

}  // namespace tabcard
