// What the grid's window keeps, shared by its message handling
// (string_grid_win.cpp) and its painting (string_grid_paint_win.cpp).
#pragma once

#include <windows.h>

#include <string>

#include "ui/gdi_win.h"
#include "ui/grid_geometry.h"
#include "ui/grid_texts.h"

namespace tabcard {

class GridAccessible;

namespace grid_internal {

struct GridState {
  HWND hwnd = nullptr;
  GridGeometry geo{2, 6, 64, 24, 2};
  GridTexts texts;
  GridTexts marks;  // the labels of marked cells
  GridCell current{0, 0};
  int scrollX = 0;
  int scrollY = 0;
  int wheelCarryV = 0;
  int wheelCarryH = 0;
  bool selecting = false;  // left button held since a press on the grid
  bool releasing = false;  // the grid is releasing its own capture
  bool inLayout = false;
  HFONT font = nullptr;    // the font in use; not owned unless it is ownedFont
  GdiObject<HFONT> ownedFont;
  HWND tooltip = nullptr;
  std::wstring hint;
  bool hintShown = false;
  GridCell hintCell = kNoCell;  // the cell the hint was set or switched on for
  GridAccessible* accessible = nullptr;  // made at the first WM_GETOBJECT
};

// A cell's rectangle in client coordinates, scrolled.
inline RECT ClientCellRect(const GridState& s, GridCell c) {
  const GridRect g = s.geo.CellRect(c);
  RECT r{g.left, g.top, g.right, g.bottom};
  OffsetRect(&r, -s.scrollX, -s.scrollY);
  return r;
}

// Draws the damaged area (client coordinates) into target, double buffered.
void PaintGrid(const GridState& s, HDC target, const RECT& area);

}  // namespace grid_internal
}  // namespace tabcard
