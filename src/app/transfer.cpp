#include "app/transfer.h"

#include <algorithm>

#include "core/text.h"
#include "store/layout.h"
#include "store/memo.h"

namespace tabcard {

namespace {

bool IsPersonal(int page) { return page == kPageKojin1 || page == kPageKojin2; }

std::intptr_t PackPoint(ScreenPoint p) { return PackWords(p.x, p.y); }

}  // namespace

bool InputWouldBeDropped(std::optional<std::uint32_t> target, std::optional<std::uint32_t> own) {
  return target && own && *target > *own;
}

std::string_view ItemTransfer::CellValue::Text() const { return UpToZero(block); }

bool ItemTransfer::CellValue::IsBlank() const { return tabcard::IsBlank(Text()); }

std::optional<ItemTransfer::CellValue> ItemTransfer::ValueOf(int page, GridCell cell) const {
  if (IsPersonal(page)) {
    const int item = FindItem(view_.CellText(page, cell));
    if (item < 0) return std::nullopt;
    return CellValue{view_.CurrentItemValues()[static_cast<std::size_t>(item)]};
  }
  if (page == kPageMemo) {
    const GridShape shape = view_.Shape(page);
    CellValue memo{view_.MemoHead(MemoSlot(shape, shape.cols * shape.rows, cell.col, cell.row))};
    memo.block.resize(kMemoTextCapacity, '\0');
    return memo;
  }
  return CellValue{view_.CellText(page, cell)};
}

void ItemTransfer::SGridMouseDown(int page, MouseButton button) {
  if (button == MouseButton::Left) {
    const GridCell cell = view_.CurrentCell(page);
    state_.DragCol = cell.col;
    state_.DragRow = cell.row;
    if (!cell.IsCell()) return;
    if (!view_.CellText(page, cell).empty() && !state_.DragArmed) state_.DragArmed = true;
  } else if (button == MouseButton::Right) {
    // A press below the last row or right of the last column leaves the
    // current cell as it is.
    if (const auto cell = view_.CellAtScreen(page, desktop_.CursorPos())) {
      view_.SetCurrentCell(page, *cell);
    }
  }
}

void ItemTransfer::SGridMouseMove(int page) {
  if (!state_.DragArmed) return;
  const WindowId under = desktop_.WindowFromPoint(desktop_.CursorPos());
  // No distance threshold: the neighbouring cell, or any other window, starts it.
  if (under == view_.GridWindow(page) &&
      view_.CurrentCell(page) == GridCell{state_.DragCol, state_.DragRow}) {
    return;
  }
  StartDrag(page);
  state_.DragArmed = false;
}

void ItemTransfer::StartDrag(int page) {
  state_.Dragging = false;
  const auto value = ValueOf(page, {state_.DragCol, state_.DragRow});
  if (!value) return;
  if (value->IsBlank()) {
    // A blank memo still replaces the clipboard; nothing else does.
    if (page == kPageMemo) PlaceClipboard(*value);
    return;
  }
  if (!PlaceClipboard(*value)) {
    desktop_.Beep();
    return;
  }
  state_.Dragging = true;
  desktop_.ShowDragCursor(true);
  desktop_.SetCapture(view_.GridWindow(page));
}

void ItemTransfer::SGridMouseUp(int page, MouseButton button) {
  if (button != MouseButton::Left) return;
  if (state_.DragArmed || !state_.Dragging) {
    state_.DragArmed = false;
    SetClickHint(page);
    return;
  }
  Drop(page);
}

void ItemTransfer::Drop(int page) {
  const ScreenPoint p = desktop_.CursorPos();
  const WindowId control = desktop_.WindowFromPoint(p);
  if (control != kNoWindow && control != view_.GridWindow(page)) {
    if (!CanReceiveInput(control)) {
      EndDrop(page);
      return;
    }
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

void ItemTransfer::SGridCaptureLost(int page) {
  state_.DragArmed = false;
  if (!state_.Dragging) return;
  desktop_.ShowDragCursor(false);
  state_.Dragging = false;
  view_.SetCurrentCell(page, {state_.DragCol, state_.DragRow});
}

void ItemTransfer::SetClickHint(int page) {
  const GridCell c = view_.CurrentCell(page);
  if (!c.IsCell()) return;
  const GridShape shape = view_.Shape(page);
  std::string hint;
  if (IsPersonal(page)) {
    const auto value = ValueOf(page, c);
    if (value && value->IsBlank()) {
      view_.ShowHint(page, false);  // the old text stays
      return;
    }
    if (value) hint = value->block;
  } else if (page == kPageMemo) {
    const std::string title = view_.CellText(page, c);
    if (MemoSlot(shape, shape.cols * shape.rows, c.col, c.row) >= 0 && !IsBlank(title)) {
      hint = title;
    }
  } else {
    const int phrase = PhraseIndex(shape, view_.PhraseCount(), c.col, c.row);
    if (phrase >= 0) {
      std::string text = view_.ListHint(static_cast<std::size_t>(phrase));
      if (!IsBlank(text)) hint = std::move(text);
    }
  }
  view_.SetHint(page, hint);
  view_.ShowHint(page, !hint.empty());
}

void ItemTransfer::SGridDblClik(int page) {
  const GridCell c = view_.CurrentCell(page);
  if (!c.IsCell()) return;
  const auto value = ValueOf(page, c);
  if (!value || value->IsBlank()) return;
  SendToTarget(*value);
}

void ItemTransfer::mnuKnjShimeiClick(std::string_view caption) {
  const int item = FindItem(caption);
  if (item < 0) return;
  const CellValue value{view_.CurrentItemValues()[static_cast<std::size_t>(item)]};
  if (value.IsBlank()) return;
  SendToTarget(value);
}

void ItemTransfer::SendToTarget(const CellValue& value) {
  // Keystrokes after a failed placement would paste the old clipboard.
  if (!PlaceClipboard(value)) {
    desktop_.Beep();
    return;
  }
  const WindowId target = state_.TargetWindow;
  // Otherwise the keys go to whichever window has the focus.
  if (target != kNoWindow && desktop_.Exists(target)) {
    // The value stays on the clipboard, for a paste by hand.
    if (!CanReceiveInput(target)) return;
    const WindowId brought = desktop_.LastActivePopup(target);
    if (desktop_.SetForeground(brought) && !WaitForForeground(target, brought)) {
      desktop_.Beep();
      return;
    }
  }
  PasteKeystrokes();
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

bool ItemTransfer::PlaceClipboard(const CellValue& value) {
  if (!desktop_.PlaceClipboardText(value.block)) return false;
  caption_.Placed(desktop_, value.block);
  return true;
}

void ItemTransfer::PasteKeystrokes() {
  // Shift+Insert rather than Ctrl+V: consoles and edit controls alike paste on it.
  desktop_.KeyEvent(vk::kShift, vk::kExtendedKey);
  desktop_.KeyEvent(vk::kInsert, vk::kExtendedKey);
  desktop_.KeyEvent(vk::kInsert, vk::kExtendedKey | vk::kKeyUp);
  desktop_.KeyEvent(vk::kShift, vk::kExtendedKey | vk::kKeyUp);
  if (view_.TabMode()) {
    desktop_.KeyEvent(vk::kTab, vk::kExtendedKey);
    desktop_.KeyEvent(vk::kTab, vk::kExtendedKey | vk::kKeyUp);
  }
}

void ItemTransfer::Timer1Timer() {
  if (auto caption = caption_.Update(desktop_)) view_.SetCaption(*caption);
  const WindowId w = desktop_.TopLevelOf(desktop_.Foreground());
  // No foreground window happens for a moment while activation moves; it
  // must not make the next double-click lose its target. The palette's own
  // dialogs are no target either.
  if (w != kNoWindow && !desktop_.IsOwnWindow(w)) state_.TargetWindow = w;
}

}  // namespace tabcard
