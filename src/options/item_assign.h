// Which profile item stands in which cell of the personal pages 個１ and 個２,
// and the format its value is sent in, as the options dialog edits them: the
// item list, set and delete, the cell's format, and the one drag state
// shared by the list and both personal preview grids (a drag of an item from
// the list onto a cell, a move inside a grid). The slots (items and formats)
// belong to the dialog's model; this part changes them only through its
// handlers.
//
// A format belongs to its cell: setting or dropping an item into a cell
// keeps the cell's format; deleting the item takes it off; a move inside a
// grid carries the item with its format, leaving the source as a delete does.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/input.h"
#include "forms/palette.h"
#include "store/layout.h"

namespace tabcard {

// Where a release lands: the personal grid under the pointer (its page) and
// the cell there, kNoCell beside the cells; page -1 over any other window.
struct DropSpot {
  int page = -1;
  GridCell cell = kNoCell;
};

// Who holds the mouse during a drag: the item list, or a personal grid by
// its page.
inline constexpr int kItemListHolder = -1;

// What the item assignment needs of the dialog. Grids are named by page
// (kPageKojin1, kPageKojin2); texts are CP932.
class ItemAssignView {
 public:
  virtual ~ItemAssignView() = default;

  // lstKojinItem: replaces every line, none selected afterwards.
  virtual void SetItemNames(const std::vector<std::string>& names) = 0;
  virtual int SelectedItem() const = 0;  // -1 when no line is selected

  // The grid's column and row counts as it shows them now.
  virtual GridShape PreviewShape(int page) const = 0;
  virtual void SetGridCells(int page, const CellTexts& cells) = 0;
  virtual void SetCellText(int page, GridCell cell, std::string_view text) = 0;
  // The cells' marks (a label marks a cell, "" none), after their texts.
  virtual void SetGridMarks(int page, const CellTexts& marks) = 0;
  virtual void SetCellMark(int page, GridCell cell, std::string_view mark) = 0;
  virtual GridCell CurrentCell(int page) const = 0;
  virtual void SetCurrentCell(int page, GridCell cell) = 0;

  // The window and cell under the pointer at the release being handled.
  virtual DropSpot SpotUnderPointer() const = 0;
  // Drag feedback: the drag cursor for the whole application and the mouse
  // captured to the holder; then the default cursor and the capture released.
  virtual void BeginDrag(int holder) = 0;
  virtual void EndDrag() = 0;
};

class ItemAssignment {
 public:
  using Slots = std::array<PageItems, kPersonalPageCount>;
  using Forms = std::array<PageForms, kPersonalPageCount>;

  ItemAssignment(ItemAssignView& view, Slots& slots, Forms& forms)
      : view_(view), slots_(slots), forms_(forms) {}
  ItemAssignment(const ItemAssignment&) = delete;
  ItemAssignment& operator=(const ItemAssignment&) = delete;

  // The 34 item names in catalogue order, so that line n is item n.
  void FillItemList();
  // Cell (c, r) shows slot c x rows + r of the grid's shape now, marked
  // with its format.
  void Refill(int page);

  // On the page the preview shows; on メモ and ﾘｽﾄ they do nothing.
  void Set(int page);     // the selected item into the current cell
  void Delete(int page);  // empties the current cell, its format too

  // The format of the page's current cell, none on メモ and ﾘｽﾄ; setting it
  // marks the cell at once.
  std::optional<ValueForm> CurrentForm(int page) const;
  void SetForm(int page, ValueForm form);

  // lstKojinItem's mouse: a left press starts a drag at once, the release
  // drops the item on the cell under the pointer.
  void ListPress(MouseButton button);
  void ListRelease(MouseButton button);
  // A personal grid's mouse: a left press on a named cell (or beside the
  // cells while a named cell is current) picks that cell up; the release on
  // another cell of the same grid moves the name there, overwriting.
  void GridPress(int page, MouseButton button);
  void GridRelease(int page, MouseButton button);
  // The capture was taken away (another window, a system key): no release
  // will come, so the drag ends without a drop.
  void CaptureLost();

  bool Dragging() const { return state_ != State::kIdle; }

 private:
  enum class State { kIdle, kDraggingItem, kMovingCell };

  // The slot cell shows, or -1 when it shows none.
  int SlotOf(int page, GridCell cell) const;
  // Sets a cell and its slot; false (nothing changed) for a cell without one.
  bool Put(int page, GridCell cell, const std::string& name);
  // The same for the slot's format and the cell's mark.
  bool PutForm(int page, GridCell cell, ValueForm form);
  void Finish();

  ItemAssignView& view_;
  Slots& slots_;
  Forms& forms_;
  State state_ = State::kIdle;
  int line_ = -1;        // the list line a drag took
  int sourcePage_ = -1;  // the grid and cell a move took
  GridCell source_ = kNoCell;
};

}  // namespace tabcard
