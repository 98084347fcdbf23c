// How the string grid draws itself: lines, cells, marks and the current
// cell, into a bitmap of the damaged area.
#include <algorithm>
#include <string_view>

#include "ui/dpi_win.h"
#include "ui/gdi_win.h"
#include "ui/string_grid_state_win.h"

namespace tabcard::grid_internal {
namespace {

HFONT FontInUse(const GridState& s) {
  return s.font ? s.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// What fits of a text: its first line, and no more characters than the cell
// has pixels (no visible character is narrower than one pixel).
std::wstring_view VisiblePart(const std::wstring& text, int width) {
  std::wstring_view v(text);
  v = v.substr(0, static_cast<std::size_t>(std::max(width, 0)) + 1);
  const std::size_t brk = v.find_first_of(L"\r\n");
  return brk == std::wstring_view::npos ? v : v.substr(0, brk);
}

void DrawLines(HDC dc, const GridState& s, const CellSpan& span) {
  const int line = s.geo.LineWidth();
  if (line <= 0) return;
  HBRUSH brush = GetSysColorBrush(COLOR_BTNFACE);
  const int bottom = s.geo.ContentHeight() - s.scrollY;
  const int right = s.geo.ContentWidth() - s.scrollX;
  for (int c = span.firstCol; c <= span.lastCol; ++c) {
    const int x = c * s.geo.ColPitch() + s.geo.ColWidth() - s.scrollX;
    RECT r{x, -s.scrollY, x + line, bottom};
    FillRect(dc, &r, brush);
  }
  for (int row = span.firstRow; row <= span.lastRow; ++row) {
    const int y = row * s.geo.RowPitch() + s.geo.RowHeight() - s.scrollY;
    RECT r{-s.scrollX, y, right, y + line};
    FillRect(dc, &r, brush);
  }
}

// A right triangle in the cell's top right corner, row by row, so that it
// stays sharp at every size.
void DrawMark(HDC dc, const RECT& cell, int side, int colour) {
  HBRUSH brush = GetSysColorBrush(colour);
  for (int i = 0; i < side; ++i) {
    RECT row{cell.right - side + i, cell.top + i, cell.right, cell.top + i + 1};
    FillRect(dc, &row, brush);
  }
}

// markSide: the side of a mark's triangle in this grid (CornerMarkSide).
void DrawCell(HDC dc, const GridState& s, GridCell c, bool focused, bool enabled, int markSide) {
  RECT r = ClientCellRect(s, c);
  const bool isCurrent = c == s.current;
  int bg = COLOR_WINDOW;
  int fg = enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT;
  if (isCurrent) {
    bg = focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE;
    fg = focused ? COLOR_HIGHLIGHTTEXT : fg;
  }
  if (bg != COLOR_WINDOW) FillRect(dc, &r, GetSysColorBrush(bg));
  if (isCurrent && !focused) FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
  const bool marked = !s.marks.At(c).empty();
  if (marked) DrawMark(dc, r, markSide, fg);
  const std::wstring& text = s.texts.At(c);
  if (!text.empty()) {
    // The text keeps off the cell's edges by the (owner-scaled) line width,
    // and off a mark.
    const int margin = std::max(s.geo.LineWidth(), 1);
    RECT tr{r.left + margin, r.top, r.right - std::max(margin, marked ? markSide : 0), r.bottom};
    const std::wstring_view shown = VisiblePart(text, tr.right - tr.left);
    SetTextColor(dc, GetSysColor(fg));
    DrawTextW(dc, shown.data(), static_cast<int>(shown.size()), &tr,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  if (isCurrent && focused) {
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    DrawFocusRect(dc, &r);
  }
}

// Draws the part `clip` (client coordinates) of the grid into dc.
void DrawGrid(HDC dc, const GridState& s, const RECT& clip) {
  FillRect(dc, &clip, GetSysColorBrush(COLOR_WINDOW));
  GridRect content{clip.left + s.scrollX, clip.top + s.scrollY, clip.right + s.scrollX,
                   clip.bottom + s.scrollY};
  const CellSpan span = s.geo.CellsIn(content);
  if (span.IsEmpty()) return;
  DrawLines(dc, s, span);
  SelectGuard font(dc, FontInUse(s));
  SetBkMode(dc, TRANSPARENT);
  const bool focused = GetFocus() == s.hwnd;
  const bool enabled = IsWindowEnabled(s.hwnd) != FALSE;
  const int markSide = CornerMarkSide(WindowDpi(s.hwnd), s.geo.ColWidth(), s.geo.RowHeight());
  for (int row = span.firstRow; row <= span.lastRow; ++row) {
    for (int c = span.firstCol; c <= span.lastCol; ++c) {
      DrawCell(dc, s, GridCell{c, row}, focused, enabled, markSide);
    }
  }
}

}  // namespace

// Double buffered: the damaged area is drawn into a bitmap and copied once.
void PaintGrid(const GridState& s, HDC target, const RECT& area) {
  const int w = area.right - area.left;
  const int h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return;
  MemoryDC mem(target);
  Bitmap bitmap(mem.get() ? CreateCompatibleBitmap(target, w, h) : nullptr);
  if (!bitmap) {
    DrawGrid(target, s, area);
    return;
  }
  SelectGuard select(mem.get(), bitmap.get());
  SetViewportOrgEx(mem.get(), -area.left, -area.top, nullptr);
  DrawGrid(mem.get(), s, area);
  BitBlt(target, area.left, area.top, w, h, mem.get(), area.left, area.top, SRCCOPY);
}

}  // namespace tabcard::grid_internal
