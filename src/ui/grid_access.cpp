#include "ui/grid_access.h"

namespace tabcard {

std::wstring CellDescription(std::wstring_view hint, std::wstring_view mark) {
  std::wstring text(hint);
  if (!text.empty() && !mark.empty()) text += L"、";
  text += mark;
  return text;
}

long CellChildId(GridCell c, int cols, int rows) {
  if (c.col < 0 || c.row < 0 || c.col >= cols || c.row >= rows) return kNoChild;
  return static_cast<long>(c.row) * cols + c.col + 1;
}

GridCell ChildCell(long id, int cols, int rows) {
  if (cols <= 0 || rows <= 0 || id < 1 || id > static_cast<long>(cols) * rows) return kNoCell;
  const long index = id - 1;
  return GridCell{static_cast<int>(index % cols), static_cast<int>(index / cols)};
}

long MoveChild(long from, ChildMove move, int cols, int rows) {
  const long count = cols > 0 && rows > 0 ? static_cast<long>(cols) * rows : 0;
  if (from == kGridSelfChild) {
    if (count == 0) return kNoChild;
    if (move == ChildMove::kFirst) return 1;
    return move == ChildMove::kLast ? count : kNoChild;
  }
  GridCell c = ChildCell(from, cols, rows);
  if (!c.IsCell()) return kNoChild;
  switch (move) {
    case ChildMove::kLeft: --c.col; break;
    case ChildMove::kRight: ++c.col; break;
    case ChildMove::kUp: --c.row; break;
    case ChildMove::kDown: ++c.row; break;
    case ChildMove::kNext: return from < count ? from + 1 : kNoChild;
    case ChildMove::kPrevious: return from > 1 ? from - 1 : kNoChild;
    default: return kNoChild;  // first and last belong to the grid, not a cell
  }
  return CellChildId(c, cols, rows);
}

long HitChild(bool inWindow, GridCell cell, int cols, int rows) {
  if (!inWindow) return kNoChild;
  const long id = CellChildId(cell, cols, rows);
  return id == kNoChild ? kGridSelfChild : id;
}

}  // namespace tabcard
