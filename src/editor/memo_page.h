// The profile editor's memo page "メモ" without its window: the slot grid,
// the memo box and its modified flag, and the read, update and clear
// buttons. Unlike the rest of the editor it writes memo files at once.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/registry.h"

namespace tabcard {

// What the page needs of its controls; texts are CP932.
class MemoPageView {
 public:
  virtual ~MemoPageView() = default;

  // SGrdMemo: one row per title.
  virtual void SetRows(const std::vector<std::string>& titles) = 0;
  virtual void SetRowText(int row, std::string_view title) = 0;
  virtual int SelectedRow() const = 0;
  // Sets the grid's tooltip text and switches the tooltip on.
  virtual void ShowTooltip(std::string_view text) = 0;

  // Memo: the text and the edit control's modified flag.
  virtual std::string MemoText() const = 0;
  virtual void SetMemoText(std::string_view text) = 0;
  virtual bool MemoModified() const = 0;
  virtual void SetMemoModified(bool modified) = 0;
  // Whether the memo box's text can be stored as it is; when not, the view
  // has said why.
  virtual bool MemoStorable() = 0;

  // A question with Yes and No and the information icon; true for Yes.
  virtual bool Ask(std::string_view text, std::string_view caption) = 0;
  // A failure with OK and the exclamation icon.
  virtual void Warn(std::string_view text, std::string_view caption) = 0;
};

class MemoPage {
 public:
  explicit MemoPage(MemoPageView& view) : view_(view) {}

  // Step 3 of the dialog's creation: one row per slot of the memo page's
  // configuration, titled only when that configuration could be read.
  void Create(RegistryBackend& store);

  void RowChosen();
  // The read button and a double-click on a row.
  void Read();
  void Update();
  void Clear();
  // The memo box's text changed (typed or set).
  void TextEdited();

  // Text in the box that 更新 has not written.
  bool HasUnwrittenText() const { return view_.MemoModified(); }

  int SlotCount() const { return static_cast<int>(titles_.size()); }
  int CurrentSlot() const { return current_; }

 private:
  enum class Write { kWritten, kFailed, kRefused };
  // Writes the memo box into slot and retitles its row; a failure is shown.
  Write WriteBox(int slot);

  MemoPageView& view_;
  std::vector<std::string> titles_;
  int current_ = 0;  // where Update writes
  // The slot the memo box's text belongs to: the one it was read from or
  // last written to, or for a new text the current slot when typing began.
  // Read's "Yes" saves there, never into the row it is about to load.
  static constexpr int kNoSlot = -1;
  int origin_ = kNoSlot;
};

}  // namespace tabcard
