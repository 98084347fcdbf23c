// The string grid: a window class of its own (the common controls have no
// grid), driven by private messages, with StringGrid as a thin typed facade.
//
// What it is: ColCount x RowCount cells of one default width and height,
// each followed by a grid line; no fixed rows or columns, no editing, no
// range selection. One current cell, always shown highlighted (system
// highlight colours with a focus frame while the grid has the focus, the
// button-face colour otherwise). Cell texts are drawn left-aligned,
// vertically centred, clipped to the cell, on one line: a text with a line
// break shows its first line. Sizes are device pixels; the owner scales them.
//
// Mouse: a left or right press on a cell makes it current before the owner
// hears of the press; while the left button is held (the grid captures the
// mouse), moving onto another cell makes that one current before the move
// is reported. A press beside the cells leaves the current cell alone. The
// owner may SetCapture on the grid and change the cursor during a drag: moves
// and the release keep coming, with client coordinates that may be negative.
// The release of the left button releases the capture before it is reported.
// A right release goes on to DefWindowProc, which sends WM_CONTEXTMENU to
// the parent.
//
// Keyboard: arrows, Home/End (row), Ctrl+Home/End, PageUp/PageDown move the
// current cell and scroll it into view; with SGS_TABS, TAB and Shift+TAB
// step through the cells. Every key is first offered to the owner
// (SGN_KEYDOWN); a non-zero answer swallows it.
//
// Notifications go to the parent as WM_NOTIFY, hdr.hwndFrom = the grid and
// hdr.idFrom = its control id, so one handler can serve several grids; a
// grid on a tab sheet, panel or group box reaches its form because those
// containers pass their children's notifications on. The handler may do
// anything to the grid, destroying it included.
//
// Font: WM_SETFONT gives the grid a font it does not own (the caller keeps
// it alive and deletes it). SGM_SETLOGFONT makes the grid create its own,
// which it deletes when it is replaced (by either message) and at
// destruction. With neither, DEFAULT_GUI_FONT.
//
// Tooltip: one hint for the whole grid, set and switched on by the owner for
// the current cell (a click). While it is on, that cell's accessible
// description is the hint, so a screen reader hears what the tooltip shows.
//
// Marks: the owner may mark any cell with a label (a format the cell's value
// is sent in, say). A marked cell shows a small triangle of its text colour
// in its top right corner, scaled with the DPI, and its accessible
// description ends with the label (after the hint when one shows).
//
// Screen readers: WM_GETOBJECT answers with grid_accessible_win's object (a
// table of cells, named by the window text). The grid raises the WinEvents
// of its current cell (focus, selection), of a changed cell text (name
// change), of the cells the hint moved from and to (description change)
// and, when many cells change at once, a reorder of the grid. Other
// processes read the grid only through that object.
//
// Nothing thrown crosses the window procedure. The message API answers FALSE
// (or 0) where the facade throws.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "ui/grid_geometry.h"

namespace tabcard {

inline constexpr wchar_t kStringGridClass[] = L"TabcardStringGrid";

// Registers the class (and the tooltip class of the common controls) once;
// CreateWindowEx with kStringGridClass works after it. StringGrid::Create
// calls it itself.
void RegisterStringGridClass();

// What CreateWindowEx may pass as lpParam: the geometry to start with
// (clamped as the setters clamp). A grid created at its final size with it
// lays out its scroll bars once instead of once per setter.
struct GridCreateParams {
  int cols;
  int rows;
  int colWidth;
  int rowHeight;
  int lineWidth;
};

// A cell in one WPARAM: column in the low word, row in the high word.
inline WPARAM PackCell(int col, int row) {
  return MAKEWPARAM(static_cast<WORD>(col), static_cast<WORD>(row));
}
inline GridCell UnpackCell(WPARAM wp) {
  return GridCell{static_cast<short>(LOWORD(wp)), static_cast<short>(HIWORD(wp))};
}
inline LRESULT PackCellResult(GridCell c) {
  return static_cast<LRESULT>(static_cast<DWORD>(PackCell(c.col, c.row)));
}

// Window style: TAB and Shift+TAB move between cells (the dialog manager
// then leaves TAB to the grid).
inline constexpr DWORD SGS_TABS = 0x0001;
// Window style: Enter and Ctrl+TAB come to the grid (and so, as SGN_KEYDOWN,
// to its owner) instead of going to the dialog manager.
inline constexpr DWORD SGS_OWNERKEYS = 0x0002;

// Private messages. "cell" is PackCell(col, row). Counts are clamped to
// 1..kMaxGridCount, sizes to 0..kMaxGridCellSize.
enum : UINT {
  SGM_FIRST = WM_USER + 0x0300,
  SGM_SETCOUNTS = SGM_FIRST,  // wp = cols, lp = rows
  SGM_GETCOUNTS,              // -> MAKELRESULT(cols, rows)
  SGM_SETCELLSIZE,            // wp = default column width, lp = default row height
  SGM_GETCELLSIZE,            // -> MAKELRESULT(width, height)
  SGM_SETGEOMETRY,            // lp = const GridShapeAndSize*: counts and size, one relayout
  SGM_SETCELLTEXT,            // wp = cell, lp = const wchar_t* (NUL-terminated, may be null = "")
                              // -> FALSE for no such cell
  SGM_GETCELLTEXT,            // wp = cell, lp = GridTextBuffer* -> full length, or -1 for no cell
  SGM_CLEARCELLS,             // every text and mark goes
  SGM_SETCURCELL,             // wp = cell, lp = TRUE: as the user moves it (SGN_SELCHANGE)
                              // -> FALSE (nothing changes) for no such cell
  SGM_GETCURCELL,             // -> PackCellResult(current)
  SGM_MOUSETOCELL,            // lp = client point (MAKELPARAM, signed) -> PackCellResult, -1,-1 outside
  SGM_GETCELLRECT,            // wp = cell, lp = RECT* (client, scrolled) -> FALSE for no cell
  SGM_SETLOGFONT,             // lp = const LOGFONTW*, wp = redraw -> FALSE when no font
  SGM_SETHINT,                // lp = const wchar_t* tooltip text (null = ""), for the current cell
  SGM_SHOWHINT,               // wp = TRUE to switch the tooltip on for the current cell, FALSE off
  SGM_GETCELLHINT,            // wp = cell, lp = GridTextBuffer* -> full length of the hint
                              // shown for that cell, -1 when it shows none
  SGM_SETCELLMARK,            // wp = cell, lp = const wchar_t* label (null or "" = no mark)
                              // -> FALSE for no such cell
  SGM_GETCELLMARK,            // wp = cell, lp = GridTextBuffer* -> full length of the label,
                              // -1 for no cell
  SGM_LAST = SGM_GETCELLMARK,
};

// For SGM_GETCELLTEXT, SGM_GETCELLHINT and SGM_GETCELLMARK: up to size - 1 characters and a
// NUL are copied into text; the result is the full length.
struct GridTextBuffer {
  wchar_t* text;
  int size;
};

// For SGM_SETGEOMETRY.
struct GridShapeAndSize {
  int cols;
  int rows;
  int colWidth;
  int rowHeight;
};

// WM_NOTIFY codes, from a range the common controls leave free.
enum : UINT {
  SGN_FIRST = 0U - 3000U,
  SGN_MOUSEDOWN = SGN_FIRST,      // GridMouseNotify
  SGN_MOUSEMOVE = SGN_FIRST - 1,  // GridMouseNotify (any button state)
  SGN_MOUSEUP = SGN_FIRST - 2,    // GridMouseNotify
  SGN_DBLCLK = SGN_FIRST - 3,     // GridMouseNotify: left double-click, before its SGN_MOUSEDOWN
  SGN_SELCHANGE = SGN_FIRST - 4,  // GridCellNotify: the user moved the current cell (mouse or key)
  SGN_KEYDOWN = SGN_FIRST - 5,    // GridKeyNotify; answer non-zero to swallow the key
  // NMHDR: another window took the mouse capture while the grid held it (not
  // the grid's own release at a button up), so no button up will follow.
  SGN_CAPTURELOST = SGN_FIRST - 6,
};

enum class GridButton : INT32 { kNone = 0, kLeft = 1, kRight = 2, kMiddle = 3 };

struct GridMouseNotify {
  NMHDR hdr;
  GridButton button;  // the button pressed or released; kNone for a move
  UINT keys;          // MK_SHIFT, MK_CONTROL, MK_LBUTTON, ... from the message
  BOOL alt;           // Alt held
  BOOL doubleClick;   // the press is the second of a double-click
  POINT pt;           // client coordinates; negative left of or above the grid
  GridCell cell;      // cell under pt, kNoCell outside the cells
};

struct GridCellNotify {
  NMHDR hdr;
  GridCell cell;  // the new current cell
};

struct GridKeyNotify {
  NMHDR hdr;
  UINT vkey;
  UINT keys;  // MK_SHIFT and MK_CONTROL as held
};

// Non-owning facade over a grid window (the parent destroys the window).
// Strings are CP932. Errors are exceptions: std::out_of_range for a cell that
// does not exist, std::runtime_error for a failed creation.
class StringGrid {
 public:
  StringGrid() = default;
  explicit StringGrid(HWND hwnd) : hwnd_(hwnd) {}
  StringGrid(const StringGrid&) = delete;
  StringGrid& operator=(const StringGrid&) = delete;

  // Creates a visible child grid (WS_CHILD | WS_VISIBLE | WS_TABSTOP | extra).
  void Create(HWND parent, int id, const RECT& bounds, DWORD extraStyle = 0);
  void Attach(HWND hwnd) { hwnd_ = hwnd; }
  HWND Handle() const { return hwnd_; }

  // A refill sets the shape, or the shape and the cell size, in one step:
  // the grid lays itself out and repaints once.
  void SetShape(int cols, int rows);
  void SetGeometry(int cols, int rows, int colWidth, int rowHeight);
  void SetRowCount(int rows);
  int ColCount() const;
  int RowCount() const;
  void SetDefaultColWidth(int width);
  void SetDefaultRowHeight(int height);
  int DefaultColWidth() const;
  int DefaultRowHeight() const;

  // Texts of cells that exist; out_of_range otherwise. A text ends at its
  // first NUL.
  void SetCell(int col, int row, std::string_view cp932);
  std::string Cell(int col, int row) const;
  // Texts and marks.
  void ClearCells();
  // The mark of a cell that exists, out_of_range otherwise; "" takes it off.
  void SetCellMark(int col, int row, std::string_view cp932Label);

  // out_of_range (and nothing changes) for a cell that does not exist. Scrolls
  // the cell into view; does not send SGN_SELCHANGE.
  void SetCurrentCell(int col, int row);
  GridCell CurrentCell() const;
  int Col() const { return CurrentCell().col; }
  int Row() const { return CurrentCell().row; }

  // Client point to cell, kNoCell outside the cells.
  GridCell MouseToCell(int x, int y) const;
  // Client rectangle of a cell (scrolled, may lie outside the client area).
  RECT CellRect(int col, int row) const;

  // The grid does not own hfont.
  void SetFont(HFONT hfont, bool redraw = true);
  // The grid creates and owns a font from lf; runtime_error when it cannot.
  void SetLogFont(const LOGFONTW& lf, bool redraw = true);
  HFONT Font() const;
  // The LOGFONT of the current font (the default one when none was given).
  LOGFONTW LogFont() const;

  // The tooltip: shown near the pointer while on, its text the hint (the
  // first 2048 characters of it). Off until switched on. Both apply to the
  // current cell, whose accessible description the hint becomes.
  void SetHint(std::string_view cp932);
  void SetShowHint(bool on);

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace tabcard
