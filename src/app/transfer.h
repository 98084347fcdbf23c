// The item transfer: a palette cell's text goes onto the clipboard and
// synthesised input makes another application paste it, by drag and drop, by
// double-click or from the item menu. Also the timer tick that follows the
// foreground window and shows the clipboard's text in the title bar.
//
// What a cell sends comes from PaletteContent (the model: the cell's slot,
// its item, memo or phrase); PaletteView is only what a window can answer.
// TfrmMain implements the view and hands the grids' events over with their
// cells.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/caption.h"
#include "app/desktop.h"
#include "app/paste.h"
#include "forms/input.h"
#include "forms/main_form.h"
#include "forms/palette.h"
#include "store/catalogue.h"
#include "store/phrase_list.h"

namespace tabcard {

// What the palette's cells stand for. Pages are numbered as PageIndex.
class PaletteContent {
 public:
  virtual ~PaletteContent() = default;

  // The page's configured shape, which its grid has.
  virtual GridShape Shape(int page) const = 0;
  // The item names of a personal page's slots, and the formats their values
  // are sent in.
  virtual const PageItems& Items(int page) const = 0;
  virtual const PageForms& Forms(int page) const = 0;
  // The current user's item texts.
  virtual const ItemValues& CurrentItemValues() const = 0;
  // The title the memo page shows for a slot.
  virtual std::string MemoTitle(int slot) const = 0;
  // ReadMemoHead(slot, kMemoTextCapacity): exactly 4096 bytes, zero-filled.
  virtual std::string MemoHead(int slot) const = 0;
  virtual const PhraseList& List() const = 0;
  // TAB mode: a TAB follows each paste.
  virtual bool SendsTab() const = 0;
  // The clipboard's content is kept and given back after each paste.
  virtual bool RestoresClipboard() const = 0;
};

// What only the palette's window can do for the transfer.
class PaletteView {
 public:
  virtual ~PaletteView() = default;

  virtual WindowId GridWindow(int page) const = 0;
  // Only called with a cell of the grid.
  virtual void SetCurrentCell(int page, GridCell cell) = 0;
  // The grid's tooltip (also the cell's description for screen readers):
  // its text, and whether it shows at all.
  virtual void SetHint(int page, std::string_view text) = 0;
  virtual void ShowHint(int page, bool on) = 0;
  virtual void SetCaption(std::string_view text) = 0;
  // A short message by the palette that goes away by itself.
  virtual void ShowNotice(std::string_view text) = 0;
};

// Bounds of the waits. A held clipboard is retried inside
// Desktop::PlaceClipboardText.
constexpr unsigned kForegroundWaitMs = 500;
constexpr unsigned kForegroundAskAgainMs = 100;
// How long the paste waits for the user to let go of Ctrl, Alt, Shift and
// the Windows keys (a hotkey's chord, Shift+Enter) before it gives up.
constexpr unsigned kModifierWaitMs = 1000;
constexpr unsigned kModifierPollMs = 10;
using forms::kFirstTickMs;
using forms::kTickMs;

// Told when a paste is refused because Windows would drop the keys.
inline constexpr char kElevatedTargetNotice[] =
    "管理者として実行中のプログラムには貼り付けできません。";
// Told when the target took neither paste key.
inline constexpr char kNotReadNotice[] =
    "貼り付け先が文字列を受け取りませんでした。クリップボードから手で貼り付けてください。";
inline constexpr char kNotReadRestoredNotice[] =
    "貼り付け先が文字列を受け取りませんでした。クリップボードは元に戻しました。";
// Told when the target stopped answering before it read the text.
inline constexpr char kTargetBusyNotice[] =
    "貼り付け先が応答していません。文字列はクリップボードにあります。";
// Told when the clipboard holds more than can be kept to be given back.
inline constexpr char kClipboardTooBigNotice[] =
    "クリップボードの内容が大きすぎるため、貼り付けた後に元に戻せません。";

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
  ItemTransfer(Desktop& desktop, PaletteView& view, const PaletteContent& content,
               PasteKeyBook& book)
      : desktop_(desktop), view_(view), content_(content), book_(book) {}
  ItemTransfer(const ItemTransfer&) = delete;
  ItemTransfer& operator=(const ItemTransfer&) = delete;

  // The grid's mouse, with the cell under the pointer (kNoCell off the
  // cells). A left press arms a drag of its cell; leaving that cell starts
  // it; the release drops it, or shows the click's hint.
  void Press(int page, GridCell cell, MouseButton button);
  void Move(int page, GridCell cell);
  void Release(int page, GridCell cell, MouseButton button);
  // The grid lost the mouse capture to another window: a drag in progress
  // can never see its drop, so it ends as if cancelled.
  void CaptureLost(int page);
  // A double-click, Enter or Space: the cell's value into TargetWindow. A
  // personal cell's value goes in its slot's format, by every way it is
  // sent and in its click's hint.
  void SendCell(int page, GridCell cell);
  // An entry of the item menu: the item's value into TargetWindow, as
  // stored (the menu names an item, not a cell).
  void SendItem(int item);
  // 連続入力: the cell's value into the window in front, and the cell that
  // the next press sends; after the page's last value, a press sends
  // nothing, beeps and goes back to the first. Returns the new current cell.
  GridCell Step(int page, GridCell cell);
  // The page's cells that have something to send, in the page's order:
  // personal pages slot by slot (column by column), the others row by row.
  std::vector<GridCell> SendableCells(int page) const;
  // The work of one tick; the caller stops Timer1 before and starts it
  // again with kTickMs after.
  void Tick();
  // The show hotkey: the window in front (not the palette's) becomes the
  // target; later the foreground goes back to it.
  void RememberForeground();
  void ReturnToTarget();

  const TransferState& State() const { return state_; }

 private:
  // What a cell sends: the bytes placed as CF_TEXT before the terminator.
  // For a memo that is the whole 4096-byte buffer, zero filling included.
  struct CellValue {
    std::string block;
    std::string_view Text() const;
    bool IsBlank() const;
  };
  // None for a cell that stands for nothing (no item, past the last memo
  // or phrase).
  std::optional<CellValue> ValueOf(int page, GridCell cell) const;
  // Whether the cell shows any text: only such a cell arms a drag.
  bool ShowsText(int page, GridCell cell) const;

  void StartDrag(int page);
  void Drop(int page);
  // The drag cursor off, the capture released, the pressed cell current again.
  void EndDrop(int page);
  void SetClickHint(int page, GridCell cell);
  // Places the value, brings target's window forward and types the paste.
  void SendToTarget(const CellValue& value);
  // Places the value and brings the target forward; false when no keys may
  // follow (after a beep, or a notice that tells why).
  bool ReachTarget(const CellValue& value);
  // False, after a beep and a notice, when w's process would drop our input.
  bool CanReceiveInput(WindowId w);
  // The block onto the clipboard, and into the caption the next tick shows.
  bool PlaceClipboard(std::string_view block);
  // The click of a drop; false when the target stopped responding.
  bool ClickAt(WindowId control, WindowId topLevel, ScreenPoint p);
  // Bounded wait until topLevel, or a window it owns, is the foreground
  // after SetForeground(brought); false when that window then does not answer.
  bool WaitForForeground(WindowId topLevel, WindowId brought);
  // The paste keys, TAB once the text was read, and the clipboard given back.
  void PasteKeystrokes();
  // With RestoresClipboard, the clipboard's content set aside before a
  // transfer places its text.
  void KeepClipboard();
  // Ends what KeepClipboard began: the content goes back when giveBack and
  // the clipboard still holds our text, else it is forgotten (the text stays
  // for a paste by hand). True when it went back.
  bool EndKeeping(bool giveBack);
  // An Alt held now gets a harmless key before its release, or the target
  // would see Alt alone and arm its menu bar.
  void MaskHeldAlt();
  // False when a modifier is still held after kModifierWaitMs.
  bool WaitModifiersUp();

  Desktop& desktop_;
  PaletteView& view_;
  const PaletteContent& content_;
  PasteKeyBook& book_;
  TransferState state_;
  ClipboardCaption caption_;
  // Where 連続入力 went past the page's last value, kNoCell when it did not.
  int stepEndPage_ = -1;
  GridCell stepEnd_ = kNoCell;
  // The block placed last, and whether a kept clipboard waits to go back.
  std::string placed_;
  bool keeping_ = false;
  // The content told too big to keep, so that it is told once.
  std::uint32_t toldTooBig_ = 0;
};

}  // namespace tabcard
