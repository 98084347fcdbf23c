#include "app/transfer.h"

#include <algorithm>

#include "core/text.h"
#include "core/value_form.h"
#include "store/layout.h"
#include "store/memo.h"

namespace tabcard {

namespace {

std::intptr_t PackPoint(ScreenPoint p) { return PackWords(p.x, p.y); }

}  // namespace

bool InputWouldBeDropped(std::optional<std::uint32_t> target, std::optional<std::uint32_t> own) {
  return target && own && *target > *own;
}

std::string_view ItemTransfer::CellValue::Text() const { return UpToZero(block); }

bool ItemTransfer::CellValue::IsBlank() const { return tabcard::IsBlank(Text()); }

// Personal cells by their slot's item in the slot's format, memo cells by
// their slot, list cells by their phrase: never by what the grid happens to
// show.
std::optional<ItemTransfer::CellValue> ItemTransfer::ValueOf(int page, GridCell cell) const {
  const GridShape shape = content_.Shape(page);
  if (IsPersonal(page)) {
    const int item = PersonalCellItem(shape, content_.Items(page), cell.col, cell.row);
    if (item < 0) return std::nullopt;
    const auto slot = static_cast<std::size_t>(PersonalSlot(shape, cell.col, cell.row));
    return CellValue{ApplyValueForm(content_.Forms(page)[slot],
                                    content_.CurrentItemValues()[static_cast<std::size_t>(item)])};
  }
  if (page == kPageMemo) {
    const int slot = MemoSlot(shape, shape.cols * shape.rows, cell.col, cell.row);
    if (slot < 0) return std::nullopt;
    CellValue memo{content_.MemoHead(slot)};
    memo.block.resize(kMemoTextCapacity, '\0');
    return memo;
  }
  const std::vector<std::string>& phrases = content_.List().ListPhrases;
  const int phrase = PhraseIndex(shape, phrases.size(), cell.col, cell.row);
  if (phrase < 0) return std::nullopt;
  return CellValue{phrases[static_cast<std::size_t>(phrase)]};
}

// What the cell shows: the item's name, the memo's title, the phrase.
bool ItemTransfer::ShowsText(int page, GridCell cell) const {
  const GridShape shape = content_.Shape(page);
  if (IsPersonal(page)) {
    const int slot = PersonalSlot(shape, cell.col, cell.row);
    return slot >= 0 && !content_.Items(page)[static_cast<std::size_t>(slot)].empty();
  }
  if (page == kPageMemo) {
    const int slot = MemoSlot(shape, shape.cols * shape.rows, cell.col, cell.row);
    return slot >= 0 && !content_.MemoTitle(slot).empty();
  }
  const auto value = ValueOf(page, cell);
  return value && !value->block.empty();
}

void ItemTransfer::Press(int page, GridCell cell, MouseButton button) {
  if (button == MouseButton::Left) {
    state_.DragCol = cell.col;
    state_.DragRow = cell.row;
    if (cell.IsCell() && ShowsText(page, cell)) state_.DragArmed = true;
  } else if (button == MouseButton::Right && cell.IsCell()) {
    // A press below the last row or right of the last column leaves the
    // current cell as it is.
    view_.SetCurrentCell(page, cell);
  }
}

void ItemTransfer::Move(int page, GridCell cell) {
  if (!state_.DragArmed) return;
  const WindowId under = desktop_.WindowFromPoint(desktop_.CursorPos());
  // No distance threshold: the neighbouring cell, or any other window, starts it.
  if (under == view_.GridWindow(page) && cell == GridCell{state_.DragCol, state_.DragRow}) return;
  StartDrag(page);
  state_.DragArmed = false;
}

void ItemTransfer::StartDrag(int page) {
  state_.Dragging = false;
  const auto value = ValueOf(page, {state_.DragCol, state_.DragRow});
  if (!value) return;
  if (value->IsBlank()) {
    // A blank memo still replaces the clipboard; nothing else does.
    if (page == kPageMemo) PlaceClipboard(value->block);
    return;
  }
  KeepClipboard();
  if (!PlaceClipboard(value->block)) {
    EndKeeping(false);
    desktop_.Beep();
    return;
  }
  state_.Dragging = true;
  desktop_.ShowDragCursor(true);
  desktop_.SetCapture(view_.GridWindow(page));
}

void ItemTransfer::Release(int page, GridCell cell, MouseButton button) {
  if (button != MouseButton::Left) return;
  if (state_.DragArmed || !state_.Dragging) {
    state_.DragArmed = false;
    // Released off the cells, the click was on the pressed cell.
    SetClickHint(page, cell.IsCell() ? cell : GridCell{state_.DragCol, state_.DragRow});
    return;
  }
  Drop(page);
}

void ItemTransfer::Drop(int page) {
  const ScreenPoint p = desktop_.CursorPos();
  const WindowId control = desktop_.WindowFromPoint(p);
  if (control == kNoWindow || control == view_.GridWindow(page)) {
    // Dropped nowhere: nothing is pasted, so nothing needs the text.
    EndKeeping(true);
  } else if (CanReceiveInput(control)) {
    const WindowId topLevel = desktop_.TopLevelOf(control);
    // Activated before the click, so that the window's own focus restoring
    // cannot move the caret away from the clicked control afterwards.
    const bool answering =
        !desktop_.SetForeground(topLevel) || WaitForForeground(topLevel, topLevel);
    if (answering && ClickAt(control, topLevel, p)) {
      PasteKeystrokes();
    } else {
      desktop_.Beep();
    }
  }
  EndKeeping(false);
  EndDrop(page);
}

void ItemTransfer::EndDrop(int page) {
  desktop_.ShowDragCursor(false);
  state_.Dragging = false;
  desktop_.ReleaseCapture();
  view_.SetCurrentCell(page, {state_.DragCol, state_.DragRow});
}

bool ItemTransfer::CanReceiveInput(WindowId w) {
  if (!InputWouldBeDropped(desktop_.IntegrityLevelOf(w), desktop_.OwnIntegrityLevel())) {
    return true;
  }
  desktop_.Beep();
  view_.ShowNotice(kElevatedTargetNotice);
  return false;
}

bool ItemTransfer::ClickAt(WindowId control, WindowId topLevel, ScreenPoint p) {
  // A window that does not answer in time ends the drop: typing into it
  // later, when it wakes up, would paste into whatever it shows then.
  auto answered = [this](WindowId w, unsigned msg, std::uintptr_t wp, std::intptr_t lp) {
    return w == kNoWindow || desktop_.Send(w, msg, wp, lp) != SendResult::kNoResponse;
  };
  const WindowId parent = desktop_.ParentOf(control);
  if (parent != kNoWindow &&
      !answered(parent, wm::kParentNotify, wm::kLButtonDown,
                PackPoint(desktop_.ScreenToClient(parent, p)))) {
    return false;
  }
  const std::intptr_t activate = PackWords(wm::kHtClient, wm::kLButtonDown);
  if (!answered(control, wm::kMouseActivate, topLevel, activate)) return false;
  if (!answered(parent, wm::kMouseActivate, topLevel, activate)) return false;
  const std::intptr_t at = PackPoint(desktop_.ScreenToClient(control, p));
  if (!answered(control, wm::kLButtonDown, wm::kMkLButton, at)) return false;
  return answered(control, wm::kLButtonUp, wm::kMkLButton, at);
}

void ItemTransfer::CaptureLost(int page) {
  state_.DragArmed = false;
  if (!state_.Dragging) return;
  desktop_.ShowDragCursor(false);
  state_.Dragging = false;
  EndKeeping(true);
  view_.SetCurrentCell(page, {state_.DragCol, state_.DragRow});
}

void ItemTransfer::SetClickHint(int page, GridCell c) {
  if (!c.IsCell()) return;
  const GridShape shape = content_.Shape(page);
  std::string hint;
  if (IsPersonal(page)) {
    const auto value = ValueOf(page, c);
    if (value && value->IsBlank()) {
      view_.ShowHint(page, false);  // the old text stays
      return;
    }
    if (value) hint = value->block;
  } else if (page == kPageMemo) {
    const int slot = MemoSlot(shape, shape.cols * shape.rows, c.col, c.row);
    std::string title = slot >= 0 ? content_.MemoTitle(slot) : std::string();
    if (!IsBlank(title)) hint = std::move(title);
  } else {
    const PhraseList& list = content_.List();
    const int phrase = PhraseIndex(shape, list.ListPhrases.size(), c.col, c.row);
    if (phrase >= 0 && static_cast<std::size_t>(phrase) < list.ListHints.size() &&
        !IsBlank(list.ListHints[static_cast<std::size_t>(phrase)])) {
      hint = list.ListHints[static_cast<std::size_t>(phrase)];
    }
  }
  view_.SetHint(page, hint);
  view_.ShowHint(page, !hint.empty());
}

void ItemTransfer::SendCell(int page, GridCell cell) {
  if (!cell.IsCell()) return;
  const auto value = ValueOf(page, cell);
  if (!value || value->IsBlank()) return;
  SendToTarget(*value);
}

void ItemTransfer::SendItem(int item) {
  if (item < 0 || item >= kItemCount) return;
  const CellValue value{content_.CurrentItemValues()[static_cast<std::size_t>(item)]};
  if (value.IsBlank()) return;
  SendToTarget(value);
}

std::vector<GridCell> ItemTransfer::SendableCells(int page) const {
  const GridShape shape = content_.Shape(page);
  const int cols = std::max(shape.cols, 1), rows = std::max(shape.rows, 1);
  std::vector<GridCell> cells;
  for (int n = 0; n < cols * rows; ++n) {
    const GridCell c = IsPersonal(page) ? GridCell{n / rows, n % rows} : GridCell{n % cols, n / cols};
    const auto value = ValueOf(page, c);
    if (value && !value->IsBlank()) cells.push_back(c);
  }
  return cells;
}

void ItemTransfer::RememberForeground() {
  const WindowId front = desktop_.TopLevelOf(desktop_.Foreground());
  if (front != kNoWindow && !desktop_.IsOwnWindow(front)) state_.TargetWindow = front;
}

void ItemTransfer::ReturnToTarget() {
  const WindowId target = state_.TargetWindow;
  if (target != kNoWindow && desktop_.Exists(target)) {
    desktop_.SetForeground(desktop_.LastActivePopup(target));
  }
}

GridCell ItemTransfer::Step(int page, GridCell cell) {
  MaskHeldAlt();
  const std::vector<GridCell> cells = SendableCells(page);
  const bool pastEnd = stepEndPage_ == page && stepEnd_ == cell;
  stepEndPage_ = -1;
  stepEnd_ = kNoCell;
  // The first sendable cell at or after the current one.
  auto at = std::find(cells.begin(), cells.end(), cell);
  if (at == cells.end()) {
    at = std::find_if(cells.begin(), cells.end(), [&](GridCell c) {
      return IsPersonal(page) ? (c.col > cell.col || (c.col == cell.col && c.row > cell.row))
                              : (c.row > cell.row || (c.row == cell.row && c.col > cell.col));
    });
  }
  if (pastEnd || at == cells.end()) {
    desktop_.Beep();
    const GridCell first = cells.empty() ? cell : cells.front();
    if (first.IsCell() && first != cell) view_.SetCurrentCell(page, first);
    return first;
  }
  RememberForeground();
  SendToTarget(*ValueOf(page, *at));
  GridCell next = *at;
  if (at + 1 != cells.end()) {
    next = *(at + 1);
  } else {
    stepEndPage_ = page;
    stepEnd_ = next;
  }
  if (next != cell) view_.SetCurrentCell(page, next);
  return next;
}

void ItemTransfer::MaskHeldAlt() {
  if (!desktop_.AnyKeyHeld({vk::kAlt})) return;
  desktop_.KeyEvent(vk::kUnassigned, 0);
  desktop_.KeyEvent(vk::kUnassigned, vk::kKeyUp);
}

bool ItemTransfer::WaitModifiersUp() {
  const std::uint64_t start = desktop_.NowMs();
  for (;;) {
    if (!desktop_.AnyKeyHeld({vk::kShift, vk::kControl, vk::kAlt, vk::kLeftWin, vk::kRightWin})) {
      return true;
    }
    if (desktop_.NowMs() - start >= kModifierWaitMs) return false;
    desktop_.Idle(kModifierPollMs);
  }
}

void ItemTransfer::SendToTarget(const CellValue& value) {
  KeepClipboard();
  if (ReachTarget(value)) PasteKeystrokes();
  // Whatever did not paste leaves the text for a paste by hand.
  EndKeeping(false);
}

bool ItemTransfer::ReachTarget(const CellValue& value) {
  // Keystrokes after a failed placement would paste the old clipboard.
  if (!PlaceClipboard(value.block)) {
    desktop_.Beep();
    return false;
  }
  const WindowId target = state_.TargetWindow;
  // Otherwise the keys go to whichever window has the focus.
  if (target == kNoWindow || !desktop_.Exists(target)) return true;
  if (!CanReceiveInput(target)) return false;
  const WindowId brought = desktop_.LastActivePopup(target);
  if (desktop_.SetForeground(brought) && !WaitForForeground(target, brought)) {
    desktop_.Beep();
    return false;
  }
  return true;
}

bool ItemTransfer::WaitForForeground(WindowId topLevel, WindowId brought) {
  // The switch completes a moment after SetForegroundWindow; keys injected
  // before it would reach the old foreground window. Once it shows, one
  // answered message makes sure the window's thread has taken the
  // activation (and put its focus back) before anything else arrives.
  const std::uint64_t start = desktop_.NowMs();
  std::uint64_t asked = start;
  for (;;) {
    const WindowId foreground = desktop_.Foreground();
    if (foreground != kNoWindow && desktop_.TopLevelOf(foreground) == topLevel) {
      return desktop_.Send(foreground, wm::kNull, 0, 0) != SendResult::kNoResponse;
    }
    const std::uint64_t now = desktop_.NowMs();
    // Never forward: the keys go out anyway, to whoever has the focus.
    if (now - start >= kForegroundWaitMs) return true;
    // A late focus event of the old window can hand the foreground to the
    // desktop instead (Wine without a window manager does): ask again.
    if (now - asked >= kForegroundAskAgainMs) {
      desktop_.SetForeground(brought);
      asked = now;
    }
    const std::uint64_t untilAsk = asked + kForegroundAskAgainMs - now;
    const std::uint64_t untilBound = start + kForegroundWaitMs - now;
    desktop_.WaitForegroundChange(static_cast<unsigned>(std::min(untilAsk, untilBound)));
  }
}

bool ItemTransfer::PlaceClipboard(std::string_view block) {
  if (!desktop_.PlaceClipboardText(block)) return false;
  placed_.assign(block);
  caption_.Placed(desktop_, block);
  return true;
}

void ItemTransfer::PasteKeystrokes() {
  // A modifier still held would join the paste keys (Ctrl+Shift+Insert is
  // no paste): the text stays on the clipboard for a paste by hand.
  if (!WaitModifiersUp()) {
    desktop_.Beep();
    return;
  }
  // Read before the keys (by a clipboard monitor, say), the text would hide
  // the target's own read: offered afresh, its read shows again.
  if (desktop_.ClipboardTextRead() && !PlaceClipboard(std::string(placed_))) {
    desktop_.Beep();
    return;
  }
  const PasteResult result = Paste(desktop_, book_);
  const bool read = result == PasteResult::kRead || result == PasteResult::kOwnWindow;
  // Only after the read: a TAB that overtook the paste would move the caret
  // away from the field first.
  if (read && content_.SendsTab()) {
    desktop_.KeyEvent(vk::kTab, vk::kExtendedKey);
    desktop_.KeyEvent(vk::kTab, vk::kExtendedKey | vk::kKeyUp);
  }
  const WindowId front = desktop_.Foreground();
  if (result == PasteResult::kRead && keeping_ && front != kNoWindow) {
    // Back in its loop, the target has let go of the clipboard.
    desktop_.Send(front, wm::kNull, 0, 0);
  }
  // Given back once the target read the text or took neither key; one that
  // stopped answering or was left may still paste, and keeps the text.
  const bool restored =
      EndKeeping(result == PasteResult::kRead || result == PasteResult::kNotRead);
  if (result == PasteResult::kNotRead) {
    view_.ShowNotice(restored ? kNotReadRestoredNotice : kNotReadNotice);
  } else if (result == PasteResult::kBusy) {
    view_.ShowNotice(kTargetBusyNotice);
  }
}

void ItemTransfer::KeepClipboard() {
  EndKeeping(false);
  if (!content_.RestoresClipboard()) return;
  const std::uint32_t sequence = desktop_.ClipboardSequence();
  switch (desktop_.KeepClipboard()) {
    case ClipboardKeep::kKept:
      keeping_ = true;
      break;
    case ClipboardKeep::kTooBig:
      // A content that stayed (a placement that failed) is not told again.
      if (sequence == 0 || sequence != toldTooBig_) view_.ShowNotice(kClipboardTooBigNotice);
      toldTooBig_ = sequence;
      break;
    case ClipboardKeep::kNotKept:
      break;
  }
}

bool ItemTransfer::EndKeeping(bool giveBack) {
  if (!keeping_) return false;
  keeping_ = false;
  // A newer copy by the user is never overwritten.
  if (giveBack && desktop_.ClipboardHoldsPlaced()) return desktop_.RestoreClipboard();
  desktop_.ForgetKeptClipboard();
  return false;
}

void ItemTransfer::Tick() {
  if (auto caption = caption_.Update(desktop_)) view_.SetCaption(*caption);
  const WindowId w = desktop_.TopLevelOf(desktop_.Foreground());
  // No foreground window happens for a moment while activation moves; it
  // must not make the next double-click lose its target. The palette's own
  // dialogs are no target either.
  if (w != kNoWindow && !desktop_.IsOwnWindow(w)) state_.TargetWindow = w;
}

}  // namespace tabcard
