// The profile editor's list page "リスト" without its window: the phrases and
// their hints, kept in step in every operation, the page's handlers, and the
// load and save the dialog runs at creation and on OK.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/phrase_list.h"
#include "store/registry.h"

namespace tabcard {

// Whether two CP932 texts count as the same phrase. The window passes a
// locale-aware comparison that ignores letter case only.
using PhraseEquals = std::function<bool(std::string_view, std::string_view)>;

// What the page needs of its controls; texts are CP932.
class ListPageView {
 public:
  virtual ~ListPageView() = default;

  virtual std::string MemoText() const = 0;  // txtListMemo
  virtual void SetMemoText(std::string_view text) = 0;
  virtual std::string HintText() const = 0;  // txtListHint
  virtual void SetHintText(std::string_view text) = 0;
  // ListBox1: replaces every line and selects `selected` (-1 for none).
  virtual void SetLines(const std::vector<std::string>& lines, int selected) = 0;
  virtual int Selection() const = 0;  // -1 when nothing is selected
  virtual void FocusMemo(bool selectAll) = 0;
};

class ListPage {
 public:
  ListPage(ListPageView& view, PhraseEquals equals);

  // Load list: fills the list box; false when the stored list was unreadable.
  bool Load(RegistryBackend& store);
  // Save list, on OK. A stored list that could not be read is left alone
  // unless the user changed the page, so an OK does not erase it. False when
  // a write failed.
  bool Save(RegistryBackend& store);

  void Add();
  void Delete();
  void MoveUp();
  void MoveDown();
  void EditSelected();
  void CopyPhraseToHint();

  const PhraseList& list() const { return list_; }
  bool Changed() const { return changed_; }

 private:
  int SelectedEntry() const;
  void Swap(int a, int b);
  void Show(int selected);

  ListPageView& view_;
  PhraseEquals equals_;
  PhraseList list_;
  bool readable_ = true;  // loaded, or nothing was stored to lose
  bool changed_ = false;
};

}  // namespace tabcard
