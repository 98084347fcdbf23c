#include "ui/grid_view_win.h"

#include <algorithm>

#include "core/strconv_win.h"

namespace tabcard {

void SetGridFont(StringGrid& grid, const GridFont& font, const DpiScale& scale) {
  LOGFONTW lf = grid.LogFont();
  if (!font.face.empty()) lstrcpynW(lf.lfFaceName, Widen(font.face).c_str(), LF_FACESIZE);
  lf.lfHeight = scale.FontHeight(font.points);
  lf.lfWidth = 0;
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = font.italic ? TRUE : FALSE;
  grid.SetLogFont(lf);
}

void FillGrid(StringGrid& grid, const CellTexts& cells) {
  const int gridCols = grid.ColCount(), gridRows = grid.RowCount();
  if (cells.Cols() < gridCols || cells.Rows() < gridRows) grid.ClearCells();
  const int cols = std::min(cells.Cols(), gridCols);
  const int rows = std::min(cells.Rows(), gridRows);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) grid.SetCell(c, r, cells.At(c, r));
  }
}

void FillGridMarks(StringGrid& grid, const CellTexts& marks) {
  const int cols = grid.ColCount(), rows = grid.RowCount();
  for (int c = 0; c < cols; ++c) {
    for (int r = 0; r < rows; ++r) {
      const bool inside = c < marks.Cols() && r < marks.Rows();
      grid.SetCellMark(c, r, inside ? marks.At(c, r) : std::string());
    }
  }
}

POINT MenuPointUnderCurrentCell(const StringGrid& grid) {
  const GridCell cell = grid.CurrentCell();
  const RECT r = grid.CellRect(cell.col, cell.row);
  POINT pt{r.left, r.bottom};
  ClientToScreen(grid.Handle(), &pt);
  return pt;
}

}  // namespace tabcard
