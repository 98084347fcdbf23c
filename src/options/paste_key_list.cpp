#include "options/paste_key_list.h"

#include <string_view>

namespace tabcard {

std::u16string PasteKeyLine(const PasteKeyRule& rule) {
  const std::string_view key = PasteKeyText(rule.key);
  return rule.program + u"\t" + std::u16string(key.begin(), key.end());
}

bool PasteKeyList::Load(RegistryBackend& store) {
  const bool ok = LoadPasteKeys(store, &rules_);
  if (!ok) rules_.clear();
  loaded_ = rules_;
  Show(-1);
  return ok;
}

void PasteKeyList::SwitchSelected() {
  const int i = view_.SelectedPasteKeyLine();
  if (i < 0 || i >= static_cast<int>(rules_.size())) return;
  PasteKeyRule& rule = rules_[static_cast<std::size_t>(i)];
  rule.key = OtherPasteKey(rule.key);
  Show(i);
}

void PasteKeyList::RemoveSelected() {
  const int i = view_.SelectedPasteKeyLine();
  if (i < 0 || i >= static_cast<int>(rules_.size())) return;
  rules_.erase(rules_.begin() + i);
  // The next line stays selected, so that several go one after another.
  Show(i < static_cast<int>(rules_.size()) ? i : static_cast<int>(rules_.size()) - 1);
}

bool PasteKeyList::Save(RegistryBackend& store) const {
  return !Changed() || SavePasteKeys(store, rules_);
}

void PasteKeyList::Show(int selected) {
  std::vector<std::u16string> lines;
  lines.reserve(rules_.size());
  for (const PasteKeyRule& rule : rules_) lines.push_back(PasteKeyLine(rule));
  view_.SetPasteKeyLines(lines, selected);
}

}  // namespace tabcard
