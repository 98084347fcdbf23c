// What the palette's four grids show, without a window: column and tab
// widths, the numbering of cells, the texts of every cell, and the way back
// from a cell to the value it stands for. The main window applies the
// results to its grids.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/layout.h"

namespace tabcard {

// The palette's design values: the grids' line width and what the tabs
// leave of the page control's width (pixels at 96 DPI).
constexpr int kGridLineWidth = 2;
constexpr int kTabMargin = 4;

// LOGFONT holds 32 UTF-16 units with the terminator; 31 CP932 bytes always fit.
constexpr std::size_t kFontFaceBytes = 31;

// A grid's font as a page configuration holds it; each window makes it at
// its own DPI.
struct GridFont {
  std::string face;  // CP932, at most kFontFaceBytes; empty: the grid's current face
  int points = 0;
  bool bold = false;
  bool italic = false;
  friend bool operator==(const GridFont& a, const GridFont& b) {
    return a.face == b.face && a.points == b.points && a.bold == b.bold && a.italic == b.italic;
  }
};

// The configuration's font, its face cut to what a font can hold.
GridFont FontOf(const PageConfig& config);

// A grid's size as configured. A grid keeps at least one column and one row,
// so counts below 1 are taken as 1 wherever a grid is laid out or numbered.
struct GridShape {
  int cols = 1;
  int rows = 1;
};

// The texts of a grid's cells, addressed as (column, row).
class CellTexts {
 public:
  explicit CellTexts(GridShape shape);
  int Cols() const { return cols_; }
  int Rows() const { return rows_; }
  const std::string& At(int col, int row) const;
  void Set(int col, int row, std::string text);

 private:
  int cols_;
  int rows_;
  std::vector<std::string> cells_;  // row by row
};

// Automatic column width: the client width less the 2-pixel grid line of each
// column, shared by the columns, truncated; never below 0.
int AutoColumnWidth(int clientWidth, int colCount);

// The four tabs share the page control's width less 4 pixels; never below 0.
int TabWidth(int pageControlWidth);

// Cell (col, row) of a personal page shows slot col * rows + row (column by
// column); -1 for a cell outside the grid or past the last slot.
int PersonalSlot(GridShape shape, int col, int row);

// Cell (col, row) of the memo page shows memo row * cols + col (row by row);
// -1 for a cell outside the grid or at memoCount or beyond.
int MemoSlot(GridShape shape, int memoCount, int col, int row);

// Cell (col, row) of the list page shows phrase row * cols + col; -1 for a
// cell outside the grid or past the last phrase.
int PhraseIndex(GridShape shape, std::size_t phraseCount, int col, int row);

// The item number of the name a personal cell shows, or -1 when the cell
// shows no item name.
int PersonalCellItem(GridShape shape, const PageItems& items, int col, int row);

CellTexts PersonalCells(GridShape shape, const PageItems& items);

// The label of the mark on a personal cell with a format, which screen
// readers hear: "形式：数字のみ"; "" for none.
std::string FormMark(ValueForm form);
// The marks of a personal page's cells, numbered as PersonalCells.
CellTexts PersonalMarks(GridShape shape, const PageForms& forms);

// Memo titles for the cells of memos 0 to memoCount - 1, from title(slot);
// cells of further memos stay empty. The second form reads the memo files.
CellTexts MemoCells(GridShape shape, int memoCount,
                    const std::function<std::string(int)>& title);
CellTexts MemoCells(GridShape shape, int memoCount);

// Phrases beyond the grid's cells are not shown.
CellTexts ListCells(GridShape shape, const std::vector<std::string>& phrases);

// The face a grid's font takes: fontName cut to 31 bytes without splitting a
// double-byte character, or currentFace when fontName is empty.
std::string GridFontFace(std::string_view fontName, std::string_view currentFace);

}  // namespace tabcard
