// 貼り付けキー of the options dialog without its window: the rules the
// transfers learnt (which key makes a program paste), listed one a line,
// switched between Ctrl+V and Shift+Insert, removed, and stored on OK.
#pragma once

#include <string>
#include <vector>

#include "store/paste_keys.h"
#include "store/registry.h"

namespace tabcard {

class PasteKeyListView {
 public:
  virtual ~PasteKeyListView() = default;
  // One line a rule, in order; the line selected (-1: none).
  virtual void SetPasteKeyLines(const std::vector<std::u16string>& lines, int selected) = 0;
  virtual int SelectedPasteKeyLine() const = 0;
};

// "wordpad.exe", a tab, "Ctrl+V": the list shows the keys in a column.
std::u16string PasteKeyLine(const PasteKeyRule& rule);

class PasteKeyList {
 public:
  explicit PasteKeyList(PasteKeyListView& view) : view_(view) {}

  // The stored rules, shown. False when the key could not be read: nothing
  // is listed, and OK leaves the key alone.
  bool Load(RegistryBackend& store);
  // The selected rule takes the other key.
  void SwitchSelected();
  void RemoveSelected();
  bool Changed() const { return rules_ != loaded_; }
  // Rewrites the key only when the list changed.
  bool Save(RegistryBackend& store) const;
  const PasteKeyRules& rules() const { return rules_; }

 private:
  void Show(int selected);

  PasteKeyListView& view_;
  PasteKeyRules rules_;
  PasteKeyRules loaded_;
};

}  // namespace tabcard
