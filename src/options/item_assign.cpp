#include "options/item_assign.h"

#include "store/catalogue.h"

namespace tabcard {

void ItemAssignment::FillItemList() {
  std::vector<std::string> names;
  names.reserve(kCatalogue.size());
  for (const CatalogueItem& item : kCatalogue) names.emplace_back(item.name);
  view_.SetItemNames(names);
}

void ItemAssignment::Refill(int page) {
  if (!IsPersonal(page)) return;
  const GridShape shape = view_.PreviewShape(page);
  view_.SetGridCells(page, PersonalCells(shape, slots_[static_cast<std::size_t>(page)]));
  view_.SetGridMarks(page, PersonalMarks(shape, forms_[static_cast<std::size_t>(page)]));
}

int ItemAssignment::SlotOf(int page, GridCell cell) const {
  return PersonalSlot(view_.PreviewShape(page), cell.col, cell.row);
}

bool ItemAssignment::Put(int page, GridCell cell, const std::string& name) {
  const int slot = SlotOf(page, cell);
  if (slot < 0) return false;
  view_.SetCellText(page, cell, name);
  slots_[static_cast<std::size_t>(page)][static_cast<std::size_t>(slot)] = name;
  return true;
}

bool ItemAssignment::PutForm(int page, GridCell cell, ValueForm form) {
  const int slot = SlotOf(page, cell);
  if (slot < 0) return false;
  view_.SetCellMark(page, cell, FormMark(form));
  forms_[static_cast<std::size_t>(page)][static_cast<std::size_t>(slot)] = form;
  return true;
}

std::optional<ValueForm> ItemAssignment::CurrentForm(int page) const {
  if (!IsPersonal(page)) return std::nullopt;
  const int slot = SlotOf(page, view_.CurrentCell(page));
  if (slot < 0) return std::nullopt;
  return forms_[static_cast<std::size_t>(page)][static_cast<std::size_t>(slot)];
}

void ItemAssignment::SetForm(int page, ValueForm form) {
  if (IsPersonal(page)) PutForm(page, view_.CurrentCell(page), form);
}

void ItemAssignment::Set(int page) {
  const int line = view_.SelectedItem();
  if (line < 0 || line >= kItemCount || !IsPersonal(page)) return;
  Put(page, view_.CurrentCell(page), kCatalogue[static_cast<std::size_t>(line)].name);
}

void ItemAssignment::Delete(int page) {
  if (!IsPersonal(page)) return;
  const GridCell cell = view_.CurrentCell(page);
  Put(page, cell, std::string());
  PutForm(page, cell, ValueForm::kAsStored);
}

void ItemAssignment::ListPress(MouseButton button) {
  if (button != MouseButton::Left || Dragging()) return;
  // The press has already selected the line under the pointer.
  line_ = view_.SelectedItem();
  state_ = State::kDraggingItem;
  view_.BeginDrag(kItemListHolder);
}

void ItemAssignment::ListRelease(MouseButton button) {
  if (button != MouseButton::Left || state_ != State::kDraggingItem) return;
  const DropSpot spot = view_.SpotUnderPointer();
  if (IsPersonal(spot.page) && spot.cell.IsCell() && line_ >= 0 && line_ < kItemCount &&
      SlotOf(spot.page, spot.cell) >= 0) {
    view_.SetCurrentCell(spot.page, spot.cell);
    Put(spot.page, spot.cell, kCatalogue[static_cast<std::size_t>(line_)].name);
  }
  Finish();
}

void ItemAssignment::GridPress(int page, MouseButton button) {
  if (button != MouseButton::Left || Dragging() || !IsPersonal(page)) return;
  // A press beside the cells left the previous current cell current: that
  // one is picked up.
  const GridCell cell = view_.CurrentCell(page);
  const int slot = SlotOf(page, cell);
  if (slot < 0 || slots_[static_cast<std::size_t>(page)][static_cast<std::size_t>(slot)].empty()) {
    return;
  }
  sourcePage_ = page;
  source_ = cell;
  state_ = State::kMovingCell;
  view_.BeginDrag(page);
}

void ItemAssignment::GridRelease(int page, MouseButton button) {
  if (button != MouseButton::Left || state_ != State::kMovingCell || page != sourcePage_) return;
  const DropSpot spot = view_.SpotUnderPointer();
  const int from = SlotOf(page, source_);
  if (spot.page == page && spot.cell.IsCell() && spot.cell != source_ &&
      SlotOf(page, spot.cell) >= 0 && from >= 0) {
    // The target's name and format are overwritten, not swapped.
    const auto p = static_cast<std::size_t>(page), f = static_cast<std::size_t>(from);
    const std::string name = slots_[p][f];
    const ValueForm form = forms_[p][f];
    view_.SetCurrentCell(page, spot.cell);
    Put(page, spot.cell, name);
    PutForm(page, spot.cell, form);
    Put(page, source_, std::string());
    PutForm(page, source_, ValueForm::kAsStored);
  }
  Finish();
}

void ItemAssignment::CaptureLost() {
  if (Dragging()) Finish();
}

void ItemAssignment::Finish() {
  // Idle before the view lets the capture go, so that the loss of capture
  // this causes finds no drag to end.
  state_ = State::kIdle;
  line_ = -1;
  sourcePage_ = -1;
  source_ = kNoCell;
  view_.EndDrag();
}

}  // namespace tabcard
