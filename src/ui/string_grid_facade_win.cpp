// The typed face of the string grid: CP932 in and out, exceptions for
// errors; a setter may read the grid before it sends its change.
#include <stdexcept>
#include <string>

#include "core/strconv_win.h"
#include "ui/string_grid_win.h"

namespace tabcard {

namespace {

[[noreturn]] void ThrowNoCell() { throw std::out_of_range("Grid index out of range"); }

int LowSigned(LRESULT r) { return static_cast<short>(LOWORD(r)); }
int HighSigned(LRESULT r) { return static_cast<short>(HIWORD(r)); }

}  // namespace

void StringGrid::Create(HWND parent, int id, const RECT& bounds, DWORD extraStyle) {
  RegisterStringGridClass();
  HWND hwnd = CreateWindowExW(0, kStringGridClass, L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | extraStyle, bounds.left,
                              bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                              parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) throw std::runtime_error("String grid could not be created");
  hwnd_ = hwnd;
}

void StringGrid::SetShape(int cols, int rows) {
  SendMessageW(hwnd_, SGM_SETCOUNTS, static_cast<WPARAM>(cols), rows);
}
void StringGrid::SetGeometry(int cols, int rows, int colWidth, int rowHeight) {
  const GridShapeAndSize g{cols, rows, colWidth, rowHeight};
  SendMessageW(hwnd_, SGM_SETGEOMETRY, 0, reinterpret_cast<LPARAM>(&g));
}
void StringGrid::SetRowCount(int rows) { SetShape(ColCount(), rows); }
int StringGrid::ColCount() const { return LOWORD(SendMessageW(hwnd_, SGM_GETCOUNTS, 0, 0)); }
int StringGrid::RowCount() const { return HIWORD(SendMessageW(hwnd_, SGM_GETCOUNTS, 0, 0)); }

void StringGrid::SetDefaultColWidth(int width) {
  SendMessageW(hwnd_, SGM_SETCELLSIZE, static_cast<WPARAM>(width), DefaultRowHeight());
}
void StringGrid::SetDefaultRowHeight(int height) {
  SendMessageW(hwnd_, SGM_SETCELLSIZE, static_cast<WPARAM>(DefaultColWidth()), height);
}
int StringGrid::DefaultColWidth() const {
  return LOWORD(SendMessageW(hwnd_, SGM_GETCELLSIZE, 0, 0));
}
int StringGrid::DefaultRowHeight() const {
  return HIWORD(SendMessageW(hwnd_, SGM_GETCELLSIZE, 0, 0));
}

void StringGrid::SetCell(int col, int row, std::string_view cp932) {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) ThrowNoCell();
  const std::wstring text = Widen(cp932);
  if (!SendMessageW(hwnd_, SGM_SETCELLTEXT, PackCell(col, row),
                    reinterpret_cast<LPARAM>(text.c_str()))) {
    throw std::runtime_error("String grid could not store the cell text");
  }
}

std::string StringGrid::Cell(int col, int row) const {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) ThrowNoCell();
  GridTextBuffer probe{nullptr, 0};
  const LRESULT n = SendMessageW(hwnd_, SGM_GETCELLTEXT, PackCell(col, row),
                                 reinterpret_cast<LPARAM>(&probe));
  if (n < 0) ThrowNoCell();
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  GridTextBuffer buffer{text.data(), static_cast<int>(text.size())};
  SendMessageW(hwnd_, SGM_GETCELLTEXT, PackCell(col, row), reinterpret_cast<LPARAM>(&buffer));
  text.resize(static_cast<std::size_t>(n));
  return Narrow(text);
}

void StringGrid::ClearCells() { SendMessageW(hwnd_, SGM_CLEARCELLS, 0, 0); }

void StringGrid::SetCellMark(int col, int row, std::string_view cp932Label) {
  const std::wstring label = Widen(cp932Label);
  if (col < 0 || row < 0 ||
      !SendMessageW(hwnd_, SGM_SETCELLMARK, PackCell(col, row),
                    reinterpret_cast<LPARAM>(label.c_str()))) {
    ThrowNoCell();
  }
}

void StringGrid::SetCurrentCell(int col, int row) {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount() ||
      !SendMessageW(hwnd_, SGM_SETCURCELL, PackCell(col, row), 0)) {
    ThrowNoCell();
  }
}

GridCell StringGrid::CurrentCell() const {
  const LRESULT r = SendMessageW(hwnd_, SGM_GETCURCELL, 0, 0);
  return GridCell{LowSigned(r), HighSigned(r)};
}

GridCell StringGrid::MouseToCell(int x, int y) const {
  const LRESULT r = SendMessageW(hwnd_, SGM_MOUSETOCELL, 0,
                                 MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
  return GridCell{LowSigned(r), HighSigned(r)};
}

RECT StringGrid::CellRect(int col, int row) const {
  RECT r{};
  if (col < 0 || row < 0 ||
      !SendMessageW(hwnd_, SGM_GETCELLRECT, PackCell(col, row), reinterpret_cast<LPARAM>(&r))) {
    ThrowNoCell();
  }
  return r;
}

void StringGrid::SetFont(HFONT hfont, bool redraw) {
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(hfont), redraw);
}

void StringGrid::SetLogFont(const LOGFONTW& lf, bool redraw) {
  if (!SendMessageW(hwnd_, SGM_SETLOGFONT, redraw, reinterpret_cast<LPARAM>(&lf))) {
    throw std::runtime_error("String grid could not create its font");
  }
}

HFONT StringGrid::Font() const {
  return reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
}

LOGFONTW StringGrid::LogFont() const {
  LOGFONTW lf{};
  HGDIOBJ font = Font();
  if (!font) font = GetStockObject(DEFAULT_GUI_FONT);
  GetObjectW(font, sizeof lf, &lf);
  return lf;
}

void StringGrid::SetHint(std::string_view cp932) {
  const std::wstring text = Widen(cp932);
  SendMessageW(hwnd_, SGM_SETHINT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void StringGrid::SetShowHint(bool on) { SendMessageW(hwnd_, SGM_SHOWHINT, on, 0); }

}  // namespace tabcard
