// The cells as the children of the grid's accessible object, free of any
// window. Child 0 is the grid itself; cell (col, row) is child
// row * cols + col + 1, the order TAB steps through.
#pragma once

#include <string>
#include <string_view>

#include "ui/grid_geometry.h"

namespace tabcard {

inline constexpr long kGridSelfChild = 0;
inline constexpr long kNoChild = -1;

// 1..cols*rows for a cell of the grid, kNoChild otherwise.
long CellChildId(GridCell c, int cols, int rows);
// The cell of a child id, kNoCell for the grid itself or an id beyond it.
GridCell ChildCell(long id, int cols, int rows);

// Where an assistive tool can navigate from a child (or, for kFirst and
// kLast, from the grid itself). The arrows stop at the edges, kNext and
// kPrevious run row by row without wrapping.
enum class ChildMove { kLeft, kRight, kUp, kDown, kFirst, kLast, kNext, kPrevious };
// kNoChild when the move leads nowhere or does not apply to `from`.
long MoveChild(long from, ChildMove move, int cols, int rows);

// A cell's description: the hint shown for it, then the label of its mark
// (what the mark stands for), so a reader hears both; empty with neither.
std::wstring CellDescription(std::wstring_view hint, std::wstring_view mark);

// What a screen point hits: kNoChild outside the window, the grid itself
// inside it on no cell (beyond the last cell, a scroll bar), else the cell.
long HitChild(bool inWindow, GridCell cell, int cols, int rows);

}  // namespace tabcard
