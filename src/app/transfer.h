// The item transfer: a palette cell's text goes onto the clipboard and
// synthesised input makes another application paste it, by drag and drop, by
// double-click or from the item menu. Also the timer tick that follows the
// foreground window and shows the clipboard's text in the title bar.
//
// The main window implements PaletteView over its grids and forwards the
// grids' mouse events and its timer to the handlers of ItemTransfer.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "app/caption.h"
#include "app/desktop.h"
#include "forms/event_router.h"
#include "forms/main_form.h"
#include "store/catalogue.h"
#include "store/palette.h"
#include "ui/grid_geometry.h"

namespace tabcard {

// The palette as the transfer sees it. Pages are numbered as PageIndex.
class PaletteView {
 public:
  virtual ~PaletteView() = default;

  virtual WindowId GridWindow(int page) const = 0;
  // Column and row counts of the page's grid.
  virtual GridShape Shape(int page) const = 0;
  virtual GridCell CurrentCell(int page) const = 0;
  // Sets the column, then the row. Only called with a cell of the grid.
  virtual void SetCurrentCell(int page, GridCell cell) = 0;
  // The cell under a screen point, none when the point is on no cell.
  virtual std::optional<GridCell> CellAtScreen(int page, ScreenPoint p) const = 0;
  virtual std::string CellText(int page, GridCell cell) const = 0;

  // The current user's item texts.
  virtual const ItemValues& CurrentItemValues() const = 0;
  // ReadMemoHead(slot, kMemoTextCapacity): exactly 4096 bytes, zero-filled.
  virtual std::string MemoHead(int slot) const = 0;
  virtual std::size_t PhraseCount() const = 0;
  virtual std::string ListHint(std::size_t phrase) const = 0;
  virtual bool TabMode() const = 0;

  // The grid's tooltip: its text, and whether it shows at all.
  virtual void SetHint(int page, std::string_view text) = 0;
  virtual void ShowHint(int page, bool on) = 0;
  virtual void SetCaption(std::string_view text) = 0;
  // A short message by the palette that goes away by itself.
  virtual void ShowNotice(std::string_view text) = 0;
};

using forms::MouseButton;

// Bounds of the waits. A held clipboard is retried inside
// Desktop::PlaceClipboardText.
constexpr unsigned kForegroundWaitMs = 500;
constexpr unsigned kForegroundAskAgainMs = 100;
using forms::kFirstTickMs;
using forms::kTickMs;

// Told when a paste is refused because Windows would drop the keys.
inline constexpr char kElevatedTargetNotice[] =
    "管理者として実行中のプログラムには貼り付けできません。";

// Windows drops synthesised input to a process of a higher integrity level
// than the sender's. An unreadable level is no reason to refuse.
bool InputWouldBeDropped(std::optional<std::uint32_t> target, std::optional<std::uint32_t> own);

struct TransferState {
  bool DragArmed = false;
  bool Dragging = false;
  int DragCol = -1;
  int DragRow = -1;
  WindowId TargetWindow = kNoWindow;
};

class ItemTransfer {
 public:
  ItemTransfer(Desktop& desktop, PaletteView& view) : desktop_(desktop), view_(view) {}
  ItemTransfer(const ItemTransfer&) = delete;
  ItemTransfer& operator=(const ItemTransfer&) = delete;

  // The grid has already made the pressed cell current.
  void SGridMouseDown(int page, MouseButton button);
  void SGridMouseMove(int page);
  void SGridMouseUp(int page, MouseButton button);
  void SGridDblClik(int page);
  // The grid lost the mouse capture to another window: a drag in progress
  // can never see its drop, so it ends as if cancelled.
  void SGridCaptureLost(int page);
  // caption: the chosen KojinMenu entry's caption.
  void mnuKnjShimeiClick(std::string_view caption);
  // The work of one tick; the caller stops Timer1 before and starts it
  // again with kTickMs after.
  void Timer1Timer();

  const TransferState& State() const { return state_; }

 private:
  // What a cell sends: the bytes placed as CF_TEXT before the terminator.
  // For a memo that is the whole 4096-byte buffer, zero filling included.
  struct CellValue {
    std::string block;
    std::string_view Text() const;
    bool IsBlank() const;
  };
  // None for a personal cell whose caption names no item.
  std::optional<CellValue> ValueOf(int page, GridCell cell) const;

  void StartDrag(int page);
  void Drop(int page);
  // The drag cursor off, the capture released, the pressed cell current again.
  void EndDrop(int page);
  void SetClickHint(int page);
  // Places the value, brings target's window forward and types the paste.
  void SendToTarget(const CellValue& value);
  // False, after a beep and a notice, when w's process would drop our input.
  bool CanReceiveInput(WindowId w);
  // The value onto the clipboard, and into the caption the next tick shows.
  bool PlaceClipboard(const CellValue& value);
  // The click of a drop; false when the target stopped responding.
  bool ClickAt(WindowId control, WindowId topLevel, ScreenPoint p);
  // Bounded wait until topLevel, or a window it owns, is the foreground
  // after SetForeground(brought); false when that window then does not answer.
  bool WaitForForeground(WindowId topLevel, WindowId brought);
  void PasteKeystrokes();

  Desktop& desktop_;
  PaletteView& view_;
  TransferState state_;
  ClipboardCaption caption_;
};

}  // namespace tabcard
