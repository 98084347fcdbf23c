#include "editor/memo_page.h"

#include <algorithm>

#include "store/memo.h"
#include "store/settings.h"

namespace tabcard {
namespace {

constexpr const char* kReadCaption = "メモ読込み";
constexpr const char* kSaveCaption = "メモ保存";
constexpr const char* kSaveQuestion = "現在のメモを保存しますか？";
constexpr const char* kNoMemoFile = "メモファイルがありません！";
constexpr const char* kSaveFailed = "メモファイルの保存に失敗しました！";

}  // namespace

void MemoPage::Create(RegistryBackend& store) {
  bool fromStore = false;
  // The grid keeps at least one row whatever the configuration says.
  const int count = std::max<int>(1, ReadMemoSlotCount(store, &fromStore));
  titles_.assign(static_cast<std::size_t>(count), std::string());
  if (fromStore) {
    for (int slot = 0; slot < count; ++slot) titles_[static_cast<std::size_t>(slot)] = MemoTitle(slot);
  }
  view_.SetRows(titles_);
  current_ = 0;
  origin_ = kNoSlot;
}

void MemoPage::RowChosen() {
  const int row = view_.SelectedRow();
  if (row < 0 || row >= SlotCount()) return;
  view_.ShowTooltip(titles_[static_cast<std::size_t>(row)]);
  current_ = row;
}

void MemoPage::Read() {
  const int row = view_.SelectedRow();
  if (row < 0 || row >= SlotCount()) return;
  if (titles_[static_cast<std::size_t>(row)].empty()) {
    view_.SetMemoText("");
    view_.SetMemoModified(false);
    origin_ = kNoSlot;
    return;
  }
  if (view_.MemoModified() && view_.Ask(kSaveQuestion, kReadCaption)) {
    // A failed write has said so and the read goes on; text that cannot be
    // stored stays in the box for the user to mend.
    if (WriteBox(origin_ == kNoSlot ? current_ : origin_) == Write::kRefused) return;
  }
  const std::string text = MemoEditorText(row);
  origin_ = kNoSlot;
  if (!text.empty()) {
    view_.SetMemoText(text);
    view_.SetMemoModified(false);
    current_ = row;
    origin_ = row;
    return;
  }
  view_.Warn(kNoMemoFile, kReadCaption);
  view_.SetMemoText("");
  view_.SetMemoModified(false);
}

void MemoPage::Update() {
  if (view_.MemoModified()) WriteBox(current_);
}

void MemoPage::Clear() {
  view_.SetMemoText("");
  view_.SetMemoModified(true);
  // Emptied for the current slot: an Update now empties that one.
  origin_ = current_;
}

void MemoPage::TextEdited() {
  if (origin_ == kNoSlot && view_.MemoModified()) origin_ = current_;
}

MemoPage::Write MemoPage::WriteBox(int slot) {
  if (!view_.MemoStorable()) return Write::kRefused;
  if (WriteMemoFile(slot, view_.MemoText()) < 0) {
    // The text stays marked modified, so the user can try again.
    view_.Warn(kSaveFailed, kSaveCaption);
    return Write::kFailed;
  }
  view_.SetMemoModified(false);
  std::string& title = titles_[static_cast<std::size_t>(slot)];
  title = MemoTitle(slot);
  view_.SetRowText(slot, title);
  origin_ = slot;
  return Write::kWritten;
}

}  // namespace tabcard
