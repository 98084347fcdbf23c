// What every window that shows grids of pages does the same way: a grid's
// font from a page's font, a grid filled with a page's cell texts and marks,
// and where a menu opened from the keyboard appears.
#pragma once

#include <windows.h>

#include "forms/palette.h"
#include "ui/dpi_scale.h"
#include "ui/string_grid_win.h"

namespace tabcard {

// Face, size, bold and italic as given (an empty face keeps the grid's);
// every other attribute of the grid's font as it was.
void SetGridFont(StringGrid& grid, const GridFont& font, const DpiScale& scale);

// The texts of the cells both have; the grid's other cells emptied.
void FillGrid(StringGrid& grid, const CellTexts& cells);
// The marks of the cells both have ("" none); the grid's other cells unmarked.
void FillGridMarks(StringGrid& grid, const CellTexts& marks);

// A menu opened with Shift+F10 or the menu key: under the grid's current
// cell, in screen coordinates.
POINT MenuPointUnderCurrentCell(const StringGrid& grid);

}  // namespace tabcard
