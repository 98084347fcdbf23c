#include "ui/string_grid_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <new>
#include <stdexcept>

#include "ui/dpi_win.h"
#include "ui/grid_accessible_win.h"
#include "ui/string_grid_state_win.h"

namespace tabcard {
namespace {

using grid_internal::ClientCellRect;
using grid_internal::GridState;
using grid_internal::PaintGrid;

// A tooltip lays out its whole text on every show; a megabyte would stall.
constexpr std::size_t kMaxTipChars = 2048;

GridState* StateOf(HWND hwnd) {
  return reinterpret_cast<GridState*>(GetWindowLongPtrW(hwnd, 0));
}

int ToInt(INT_PTR v) {
  return static_cast<int>(std::clamp<INT_PTR>(v, INT_MIN, INT_MAX));
}

RECT ClientRectOf(HWND hwnd) {
  RECT rc{};
  GetClientRect(hwnd, &rc);
  return rc;
}

// ---- geometry in client coordinates -------------------------------------

GridCell CellAtClient(const GridState& s, int x, int y) {
  const RECT rc = ClientRectOf(s.hwnd);
  if (x < rc.left || y < rc.top || x >= rc.right || y >= rc.bottom) return kNoCell;
  return s.geo.CellAt(x + s.scrollX, y + s.scrollY);
}

// A window that cannot be seen is painted whole once it is shown, so damage
// recorded before then is a round trip to the window system for nothing
// (grids are filled while the palette and the other pages are hidden).
void Invalidate(const GridState& s, const RECT* r) {
  if (IsWindowVisible(s.hwnd)) InvalidateRect(s.hwnd, r, FALSE);
}

void InvalidateCell(const GridState& s, GridCell c) {
  if (!s.geo.Contains(c)) return;
  RECT r = ClientCellRect(s, c);
  Invalidate(s, &r);
}

// ---- scrolling ----------------------------------------------------------

void SetBar(HWND hwnd, int bar, bool shown, int content, int page, int pos) {
  ShowScrollBar(hwnd, bar, shown);
  if (!shown) return;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = std::max(content - 1, 0);
  si.nPage = static_cast<UINT>(std::max(page, 0));
  si.nPos = pos;
  // Redrawn only where it can be seen: a hidden grid draws its bars whole
  // when it is shown.
  SetScrollInfo(hwnd, bar, &si, IsWindowVisible(hwnd));
}

// Shows the bars the content needs and clamps the offsets. Showing a bar
// resizes the client, which comes back here as WM_SIZE: inLayout stops that.
void UpdateScrollBars(GridState& s) {
  if (s.inLayout) return;
  s.inLayout = true;
  const LONG style = GetWindowLongW(s.hwnd, GWL_STYLE);
  const int dpi = WindowDpi(s.hwnd);
  const int barW = SystemMetricForDpi(SM_CXVSCROLL, dpi);
  const int barH = SystemMetricForDpi(SM_CYHSCROLL, dpi);
  const RECT rc = ClientRectOf(s.hwnd);
  const int areaW = rc.right + ((style & WS_VSCROLL) ? barW : 0);
  const int areaH = rc.bottom + ((style & WS_HSCROLL) ? barH : 0);
  const int contentW = s.geo.ContentWidth();
  const int contentH = s.geo.ContentHeight();
  const ScrollLayout layout = LayoutScrollBars(contentW, contentH, areaW, areaH, barW, barH);
  const int oldX = s.scrollX;
  const int oldY = s.scrollY;
  s.scrollX = layout.hBar ? ClampScrollOffset(s.scrollX, contentW, layout.clientWidth) : 0;
  s.scrollY = layout.vBar ? ClampScrollOffset(s.scrollY, contentH, layout.clientHeight) : 0;
  SetBar(s.hwnd, SB_HORZ, layout.hBar, contentW, layout.clientWidth, s.scrollX);
  SetBar(s.hwnd, SB_VERT, layout.vBar, contentH, layout.clientHeight, s.scrollY);
  // The system may have decided otherwise for a window too small for bars.
  const RECT now = ClientRectOf(s.hwnd);
  s.scrollX = ClampScrollOffset(s.scrollX, contentW, now.right);
  s.scrollY = ClampScrollOffset(s.scrollY, contentH, now.bottom);
  s.inLayout = false;
  if (s.scrollX != oldX || s.scrollY != oldY) Invalidate(s, nullptr);
}

void ScrollTo(GridState& s, int x, int y) {
  const RECT rc = ClientRectOf(s.hwnd);
  x = ClampScrollOffset(x, s.geo.ContentWidth(), rc.right);
  y = ClampScrollOffset(y, s.geo.ContentHeight(), rc.bottom);
  if (x == s.scrollX && y == s.scrollY) return;
  if (x != s.scrollX) SetScrollPos(s.hwnd, SB_HORZ, x, TRUE);
  if (y != s.scrollY) SetScrollPos(s.hwnd, SB_VERT, y, TRUE);
  s.scrollX = x;
  s.scrollY = y;
  Invalidate(s, nullptr);
}

void EnsureVisible(GridState& s, GridCell c) {
  if (!s.geo.Contains(c)) return;
  const GridRect r = s.geo.CellRect(c);
  const RECT rc = ClientRectOf(s.hwnd);
  ScrollTo(s, OffsetToShow(s.scrollX, r.left, r.right, rc.right),
           OffsetToShow(s.scrollY, r.top, r.bottom, rc.bottom));
}

int NewScrollPos(HWND hwnd, int bar, int code, int pos, int line, int page) {
  switch (code) {
    case SB_LINEUP: return pos - line;
    case SB_LINEDOWN: return pos + line;
    case SB_PAGEUP: return pos - page;
    case SB_PAGEDOWN: return pos + page;
    case SB_TOP: return 0;
    case SB_BOTTOM: return INT_MAX;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      return GetScrollInfo(hwnd, bar, &si) ? si.nTrackPos : pos;
    }
    default: return pos;
  }
}

void OnScroll(GridState& s, int bar, int code) {
  const RECT rc = ClientRectOf(s.hwnd);
  if (bar == SB_VERT) {
    const int y = NewScrollPos(s.hwnd, bar, code, s.scrollY, std::max(s.geo.RowPitch(), 1),
                               std::max<int>(rc.bottom, 1));
    ScrollTo(s, s.scrollX, y);
  } else {
    const int x = NewScrollPos(s.hwnd, bar, code, s.scrollX, std::max(s.geo.ColPitch(), 1),
                               std::max<int>(rc.right, 1));
    ScrollTo(s, x, s.scrollY);
  }
}

void OnWheel(GridState& s, int delta, bool horizontal) {
  const RECT rc = ClientRectOf(s.hwnd);
  // Without a vertical bar the wheel moves sideways, as list controls do.
  if (!horizontal && s.geo.ContentHeight() <= rc.bottom) horizontal = true;
  UINT setting = 3;
  SystemParametersInfoW(horizontal ? SPI_GETWHEELSCROLLCHARS : SPI_GETWHEELSCROLLLINES, 0,
                        &setting, 0);
  const int pitch = std::max(horizontal ? s.geo.ColPitch() : s.geo.RowPitch(), 1);
  const int page = std::max<int>(horizontal ? rc.right : rc.bottom, 1);
  int lines = static_cast<int>(std::min<UINT>(setting, 100));
  int linePixels = pitch;
  if (setting == WHEEL_PAGESCROLL) {
    lines = 1;
    linePixels = page;
  }
  if (horizontal) {
    // A positive horizontal delta means "to the right", the opposite sense.
    const int px = -WheelPixels(delta, s.wheelCarryH, lines, linePixels);
    ScrollTo(s, s.scrollX + px, s.scrollY);
  } else {
    ScrollTo(s, s.scrollX, s.scrollY + WheelPixels(delta, s.wheelCarryV, lines, linePixels));
  }
}

// ---- notifications ------------------------------------------------------

LRESULT Notify(const GridState& s, UINT code, NMHDR& hdr) {
  hdr.hwndFrom = s.hwnd;
  hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(s.hwnd));
  hdr.code = code;
  HWND target = GetParent(s.hwnd);
  if (!target) return 0;
  return SendMessageW(target, WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
}

void NotifyMouse(const GridState& s, UINT code, GridButton button, WPARAM wp, LPARAM lp,
                 bool doubleClick) {
  GridMouseNotify n{};
  n.button = button;
  n.keys = static_cast<UINT>(GET_KEYSTATE_WPARAM(wp));
  n.alt = GetKeyState(VK_MENU) < 0;
  n.doubleClick = doubleClick;
  n.pt = POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  n.cell = CellAtClient(s, n.pt.x, n.pt.y);
  Notify(s, code, n.hdr);
}

void NotifyCell(const GridState& s, DWORD event, GridCell c) {
  NotifyCellEvent(s.hwnd, event, c, s.geo.Cols(), s.geo.Rows());
}

// Makes c current (it must exist). True when it changed.
bool MoveCurrent(GridState& s, GridCell c) {
  if (c == s.current) return false;
  InvalidateCell(s, s.current);
  s.current = c;
  InvalidateCell(s, s.current);
  if (GetFocus() == s.hwnd) NotifyCell(s, EVENT_OBJECT_FOCUS, c);
  NotifyCell(s, EVENT_OBJECT_SELECTION, c);
  return true;
}

// A move by the user: the owner hears of it. May destroy the grid.
void UserMoveCurrent(GridState& s, GridCell c) {
  if (!MoveCurrent(s, c)) return;
  GridCellNotify n{};
  n.cell = c;
  Notify(s, SGN_SELCHANGE, n.hdr);
}

// ---- tooltip ------------------------------------------------------------

TOOLINFOW ToolFor(const GridState& s, const std::wstring& shown) {
  TOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;  // accepted by every common-controls version
  ti.uFlags = TTF_IDISHWND;
  ti.hwnd = s.hwnd;
  ti.uId = reinterpret_cast<UINT_PTR>(s.hwnd);
  ti.lpszText = const_cast<wchar_t*>(shown.c_str());
  return ti;
}

// The tool exists only while the hint is on: a tooltip that merely is
// deactivated may still pop up from a show timer it had already started.
void AddTool(GridState& s) {
  const std::wstring shown = s.hint.substr(0, kMaxTipChars);
  TOOLINFOW ti = ToolFor(s, shown);
  SendMessageW(s.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void RemoveTool(GridState& s) {
  const std::wstring none;
  TOOLINFOW ti = ToolFor(s, none);
  SendMessageW(s.tooltip, TTM_POP, 0, 0);
  SendMessageW(s.tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void EnsureTooltip(GridState& s) {
  if (s.tooltip) return;
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(s.hwnd, GWLP_HINSTANCE));
  // TTS_ALWAYSTIP: the palette is usually not the active window.
  s.tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, s.hwnd, nullptr,
                              instance, nullptr);
  if (!s.tooltip) return;
  // A width makes the tooltip honour line breaks in the text.
  SendMessageW(s.tooltip, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN) / 2);
  if (s.hintShown) AddTool(s);
}

// The cell whose accessible description the hint is: the one it was set or
// switched on for, while it is on.
GridCell DescribedCell(const GridState& s) {
  return s.hintShown && !s.hint.empty() ? s.hintCell : kNoCell;
}

// Tells screen readers of the cells whose description changed since `before`.
void NotifyDescription(const GridState& s, GridCell before, bool textChanged) {
  const GridCell now = DescribedCell(s);
  if (before != now && before.IsCell()) NotifyCell(s, EVENT_OBJECT_DESCRIPTIONCHANGE, before);
  if (now.IsCell() && (before != now || textChanged)) {
    NotifyCell(s, EVENT_OBJECT_DESCRIPTIONCHANGE, now);
  }
}

void SetHint(GridState& s, const wchar_t* text) {
  const GridCell before = DescribedCell(s);
  const std::wstring_view next = text ? text : L"";
  const bool changed = s.hint != next;
  s.hint = next;
  s.hintCell = s.current;
  EnsureTooltip(s);
  if (s.tooltip && s.hintShown) {
    const std::wstring shown = s.hint.substr(0, kMaxTipChars);
    TOOLINFOW ti = ToolFor(s, shown);
    SendMessageW(s.tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  }
  NotifyDescription(s, before, changed);
}

void ShowHint(GridState& s, bool on) {
  const GridCell before = DescribedCell(s);
  EnsureTooltip(s);
  if (s.tooltip && on != s.hintShown) {
    if (on) {
      s.hintShown = true;
      AddTool(s);
    } else {
      RemoveTool(s);
    }
  }
  s.hintShown = on;
  if (on) s.hintCell = s.current;
  NotifyDescription(s, before, false);
}

void RelayToTooltip(const GridState& s, UINT msg, WPARAM wp, LPARAM lp) {
  if (!s.tooltip || !s.hintShown || msg < WM_MOUSEFIRST || msg > WM_MOUSELAST) return;
  const DWORD pos = GetMessagePos();
  MSG m{s.hwnd, msg, wp, lp, static_cast<DWORD>(GetMessageTime()),
        POINT{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)}};
  SendMessageW(s.tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

// ---- painting (string_grid_paint_win.cpp) ------------------------------

class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
  ~PaintScope() { EndPaint(hwnd_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return dc_; }
  const RECT& area() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// ---- state changes ------------------------------------------------------

void AfterLayoutChange(GridState& s) {
  UpdateScrollBars(s);
  Invalidate(s, nullptr);
}

// Every change of counts or cell size comes here: one relayout and repaint,
// none when nothing changed.
void SetGeometry(GridState& s, int cols, int rows, int colWidth, int rowHeight) {
  const GridGeometry before = s.geo;
  s.geo.SetCounts(cols, rows);
  s.geo.SetCellSize(colWidth, rowHeight);
  const bool reshaped = s.geo.Cols() != before.Cols() || s.geo.Rows() != before.Rows();
  if (!reshaped && s.geo.ColWidth() == before.ColWidth() &&
      s.geo.RowHeight() == before.RowHeight()) {
    return;
  }
  if (reshaped) {
    s.texts.KeepWithin(s.geo.Cols(), s.geo.Rows());
    s.marks.KeepWithin(s.geo.Cols(), s.geo.Rows());
    s.current = GridCell{std::min(s.current.col, s.geo.Cols() - 1),
                         std::min(s.current.row, s.geo.Rows() - 1)};
    if (!s.geo.Contains(s.hintCell)) s.hintCell = kNoCell;
    NotifyCell(s, EVENT_OBJECT_REORDER, kNoCell);
  }
  AfterLayoutChange(s);
}

bool SetCellText(GridState& s, GridCell c, const wchar_t* text) {
  if (!s.geo.Contains(c)) return false;
  if (s.texts.Set(c, text ? text : L"")) {
    InvalidateCell(s, c);
    NotifyCell(s, EVENT_OBJECT_NAMECHANGE, c);
  }
  return true;
}

bool SetCellMark(GridState& s, GridCell c, const wchar_t* label) {
  if (!s.geo.Contains(c)) return false;
  if (s.marks.Set(c, label ? label : L"")) {
    InvalidateCell(s, c);
    NotifyCell(s, EVENT_OBJECT_DESCRIPTIONCHANGE, c);
  }
  return true;
}

LRESULT CopyOut(const std::wstring& text, GridTextBuffer* out) {
  if (out && out->text && out->size > 0) {
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(out->size - 1));
    std::copy_n(text.data(), n, out->text);
    out->text[n] = L'\0';
  }
  return static_cast<LRESULT>(std::min<std::size_t>(text.size(), INT_MAX));
}

void SetFontHandle(GridState& s, HFONT font, bool redraw) {
  if (font != s.ownedFont.get()) s.ownedFont.Reset();
  s.font = font;
  if (redraw) Invalidate(s, nullptr);
}

bool SetLogFont(GridState& s, const LOGFONTW* lf, bool redraw) {
  if (!lf) return false;
  HFONT created = CreateFontIndirectW(lf);
  if (!created) return false;
  s.ownedFont.Reset(created);
  s.font = created;
  if (redraw) Invalidate(s, nullptr);
  return true;
}

// ---- input --------------------------------------------------------------

constexpr UINT_PTR kLeaveWatchTimer = 0x5347;
constexpr UINT kLeaveWatchMs = 10;

void OnButtonDown(GridState& s, UINT msg, WPARAM wp, LPARAM lp) {
  HWND hwnd = s.hwnd;
  // Only into an active window: focusing a grid of a window that a click
  // did not activate (the palette) would activate it after all.
  if (GetFocus() != hwnd && GetActiveWindow() == GetAncestor(hwnd, GA_ROOT)) SetFocus(hwnd);
  if (!StateOf(hwnd)) return;  // the focus change may have ended the grid
  const bool left = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK;
  if (left) {
    s.selecting = true;
    SetCapture(hwnd);
    // A window that is not the foreground keeps the mouse only while it is
    // over it: the owner must hear of the pointer leaving with the button
    // held, before the release goes to another window.
    if (GetForegroundWindow() != GetAncestor(hwnd, GA_ROOT)) {
      SetTimer(hwnd, kLeaveWatchTimer, kLeaveWatchMs, nullptr);
    }
  }
  const GridCell c = CellAtClient(s, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
  if (c.IsCell() && msg != WM_MBUTTONDOWN) UserMoveCurrent(s, c);
  if (!StateOf(hwnd)) return;
  const GridButton button = left ? GridButton::kLeft
                            : msg == WM_RBUTTONDOWN ? GridButton::kRight
                                                    : GridButton::kMiddle;
  const bool dbl = msg == WM_LBUTTONDBLCLK;
  if (dbl) {
    NotifyMouse(s, SGN_DBLCLK, button, wp, lp, true);
    if (!StateOf(hwnd)) return;
  }
  NotifyMouse(s, SGN_MOUSEDOWN, button, wp, lp, dbl);
}

void OnMouseMove(GridState& s, WPARAM wp, LPARAM lp) {
  HWND hwnd = s.hwnd;
  if (s.selecting && GetCapture() == hwnd) {
    const GridCell c = CellAtClient(s, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
    if (c.IsCell()) UserMoveCurrent(s, c);
    if (!StateOf(hwnd)) return;
  }
  NotifyMouse(s, SGN_MOUSEMOVE, GridButton::kNone, wp, lp, false);
}

// The pointer, as a move, once it is off the grid with the button held.
void WatchLeave(GridState& s) {
  POINT p{};
  GetCursorPos(&p);
  const bool held = (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
  if (s.selecting && held && WindowFromPoint(p) == s.hwnd) return;
  KillTimer(s.hwnd, kLeaveWatchTimer);
  if (!s.selecting || !held) return;
  ScreenToClient(s.hwnd, &p);
  NotifyMouse(s, SGN_MOUSEMOVE, GridButton::kNone, MK_LBUTTON, MAKELPARAM(p.x, p.y), false);
}

void OnButtonUp(GridState& s, UINT msg, WPARAM wp, LPARAM lp) {
  GridButton button = GridButton::kMiddle;
  if (msg == WM_LBUTTONUP) {
    button = GridButton::kLeft;
    s.selecting = false;
    if (GetCapture() == s.hwnd) {
      s.releasing = true;
      ReleaseCapture();
      s.releasing = false;
    }
  } else if (msg == WM_RBUTTONUP) {
    button = GridButton::kRight;
  }
  NotifyMouse(s, SGN_MOUSEUP, button, wp, lp, false);
}

// True when the key was used.
bool OnKeyDown(GridState& s, UINT vkey) {
  HWND hwnd = s.hwnd;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  GridKeyNotify n{};
  n.vkey = vkey;
  n.keys = (ctrl ? MK_CONTROL : 0) | (shift ? MK_SHIFT : 0);
  if (Notify(s, SGN_KEYDOWN, n.hdr) != 0 || !StateOf(hwnd)) return true;
  const bool tabs = (GetWindowLongW(hwnd, GWL_STYLE) & SGS_TABS) != 0;
  const std::optional<GridMove> move = MoveForKey(vkey, ctrl, shift, tabs);
  if (!move) return false;
  const RECT rc = ClientRectOf(hwnd);
  const GridCell to = MoveCell(s.current, *move, s.geo.Cols(), s.geo.Rows(),
                               WholeRowsIn(rc.bottom, s.geo.RowPitch()));
  EnsureVisible(s, to);
  UserMoveCurrent(s, to);
  return true;
}

// ---- messages ------------------------------------------------------------

LRESULT CellHintOut(const GridState& s, WPARAM cell, LPARAM buffer) {
  const GridCell described = DescribedCell(s);
  if (!described.IsCell() || described != UnpackCell(cell)) return -1;
  return CopyOut(s.hint, reinterpret_cast<GridTextBuffer*>(buffer));
}

// Shape, size and texts; `handled` false lets the message reach DefWindowProc.
LRESULT OnCellsMessage(GridState& s, UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  const int wpInt = ToInt(static_cast<INT_PTR>(wp));
  switch (msg) {
    case SGM_SETCOUNTS:
      SetGeometry(s, wpInt, ToInt(lp), s.geo.ColWidth(), s.geo.RowHeight());
      return TRUE;
    case SGM_GETCOUNTS: return MAKELRESULT(s.geo.Cols(), s.geo.Rows());
    case SGM_SETCELLSIZE: SetGeometry(s, s.geo.Cols(), s.geo.Rows(), wpInt, ToInt(lp)); return TRUE;
    case SGM_GETCELLSIZE: return MAKELRESULT(s.geo.ColWidth(), s.geo.RowHeight());
    case SGM_SETGEOMETRY: {
      const auto* g = reinterpret_cast<const GridShapeAndSize*>(lp);
      if (!g) return FALSE;
      SetGeometry(s, g->cols, g->rows, g->colWidth, g->rowHeight);
      return TRUE;
    }
    case SGM_SETCELLTEXT:
      return SetCellText(s, UnpackCell(wp), reinterpret_cast<const wchar_t*>(lp));
    case SGM_GETCELLTEXT:
      if (!s.geo.Contains(UnpackCell(wp))) return -1;
      return CopyOut(s.texts.At(UnpackCell(wp)), reinterpret_cast<GridTextBuffer*>(lp));
    case SGM_CLEARCELLS: {
      const bool hadTexts = s.texts.Clear();
      if (!s.marks.Clear() && !hadTexts) return TRUE;
      Invalidate(s, nullptr);
      NotifyCell(s, EVENT_OBJECT_REORDER, kNoCell);
      return TRUE;
    }
    case SGM_SETCELLMARK:
      return SetCellMark(s, UnpackCell(wp), reinterpret_cast<const wchar_t*>(lp));
    case SGM_GETCELLMARK:
      if (!s.geo.Contains(UnpackCell(wp))) return -1;
      return CopyOut(s.marks.At(UnpackCell(wp)), reinterpret_cast<GridTextBuffer*>(lp));
    default: handled = false; return 0;
  }
}

// The current cell, points and rectangles, the font and the tooltip.
LRESULT OnViewMessage(GridState& s, UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case SGM_SETCURCELL: {
      const GridCell c = UnpackCell(wp);
      if (!s.geo.Contains(c)) return FALSE;
      EnsureVisible(s, c);
      if (lp) {
        UserMoveCurrent(s, c);
      } else {
        MoveCurrent(s, c);
      }
      return TRUE;
    }
    case SGM_GETCURCELL: return PackCellResult(s.current);
    case SGM_MOUSETOCELL: return PackCellResult(CellAtClient(s, GET_X_LPARAM(lp), GET_Y_LPARAM(lp)));
    case SGM_GETCELLRECT: {
      const GridCell c = UnpackCell(wp);
      if (!s.geo.Contains(c) || !lp) return FALSE;
      *reinterpret_cast<RECT*>(lp) = ClientCellRect(s, c);
      return TRUE;
    }
    case SGM_SETLOGFONT: return SetLogFont(s, reinterpret_cast<const LOGFONTW*>(lp), wp != 0);
    case SGM_SETHINT: SetHint(s, reinterpret_cast<const wchar_t*>(lp)); return TRUE;
    case SGM_SHOWHINT: ShowHint(s, wp != 0); return TRUE;
    case SGM_GETCELLHINT: return CellHintOut(s, wp, lp);
    default: handled = false; return 0;
  }
}

// Size, scrolling and painting.
LRESULT OnLayoutMessage(GridState& s, UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_CREATE:
    case WM_SIZE: UpdateScrollBars(s); return 0;
    case WM_VSCROLL: OnScroll(s, SB_VERT, LOWORD(wp)); return 0;
    case WM_HSCROLL: OnScroll(s, SB_HORZ, LOWORD(wp)); return 0;
    case WM_MOUSEWHEEL: OnWheel(s, GET_WHEEL_DELTA_WPARAM(wp), false); return 0;
    case WM_MOUSEHWHEEL: OnWheel(s, GET_WHEEL_DELTA_WPARAM(wp), true); return 0;
    case WM_ERASEBKGND: return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: {
      PaintScope paint(s.hwnd);
      if (paint.dc()) PaintGrid(s, paint.dc(), paint.area());
      return 0;
    }
    case WM_PRINTCLIENT: PaintGrid(s, reinterpret_cast<HDC>(wp), ClientRectOf(s.hwnd)); return 0;
    case WM_SETFONT: SetFontHandle(s, reinterpret_cast<HFONT>(wp), LOWORD(lp) != 0); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s.font);
    case WM_SYSCOLORCHANGE: Invalidate(s, nullptr); return 0;
    default: handled = false; return 0;
  }
}

LRESULT DialogCode(const GridState& s, const MSG* m) {
  const LONG style = GetWindowLongW(s.hwnd, GWL_STYLE);
  LRESULT code = DLGC_WANTARROWS | ((style & SGS_TABS) ? DLGC_WANTTAB : 0);
  if ((style & SGS_OWNERKEYS) && m && m->message == WM_KEYDOWN &&
      (m->wParam == VK_RETURN || (m->wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0))) {
    code |= DLGC_WANTMESSAGE;
  }
  return code;
}

// The keyboard, the focus and screen readers.
LRESULT OnFocusMessage(GridState& s, UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_GETDLGCODE: return DialogCode(s, reinterpret_cast<const MSG*>(lp));
    case WM_KEYDOWN: handled = OnKeyDown(s, static_cast<UINT>(wp)); return 0;
    case WM_SETFOCUS:
      InvalidateCell(s, s.current);
      NotifyCell(s, EVENT_OBJECT_FOCUS, s.current);
      return 0;
    case WM_KILLFOCUS:
    case WM_ENABLE: InvalidateCell(s, s.current); return 0;
    case WM_GETOBJECT: {
      const LRESULT object = AnswerGridObject(s.hwnd, s.accessible, wp, lp);
      handled = object != 0;
      return object;
    }
    default: handled = false; return 0;
  }
}

// The mouse, relayed to the tooltip first.
LRESULT OnMouseMessage(GridState& s, UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  if (msg == WM_CAPTURECHANGED) {
    s.selecting = false;
    if (!s.releasing && reinterpret_cast<HWND>(lp) != s.hwnd) {
      NMHDR hdr{};
      Notify(s, SGN_CAPTURELOST, hdr);
    }
    return 0;
  }
  RelayToTooltip(s, msg, wp, lp);
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: OnButtonDown(s, msg, wp, lp); return 0;
    case WM_MOUSEMOVE: OnMouseMove(s, wp, lp); return 0;
    case WM_TIMER:
      if (wp != kLeaveWatchTimer) {
        handled = false;
        return 0;
      }
      WatchLeave(s);
      return 0;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP: OnButtonUp(s, msg, wp, lp); return 0;
    case WM_RBUTTONUP:
      // Then on to DefWindowProc, which raises WM_CONTEXTMENU.
      OnButtonUp(s, msg, wp, lp);
      handled = false;
      return 0;
    default: handled = false; return 0;
  }
}

// Offers the message to each concern in turn until one handles it; the
// mouse comes last, as a right release it leaves unhandled goes on to
// DefWindowProc.
LRESULT OnMessage(GridState& s, UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  using Handler = LRESULT (*)(GridState&, UINT, WPARAM, LPARAM, bool&);
  static constexpr Handler kHandlers[] = {OnCellsMessage, OnViewMessage, OnLayoutMessage,
                                          OnFocusMessage, OnMouseMessage};
  for (Handler handler : kHandlers) {
    handled = true;
    const LRESULT r = handler(s, msg, wp, lp, handled);
    if (handled) return r;
  }
  return 0;
}

LRESULT CALLBACK GridProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  try {
    if (msg == WM_NCCREATE) {
      auto* s = new (std::nothrow) GridState;
      if (!s) return FALSE;
      s->hwnd = hwnd;
      const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lp);
      if (const auto* p = static_cast<const GridCreateParams*>(cs->lpCreateParams)) {
        s->geo = GridGeometry(p->cols, p->rows, p->colWidth, p->rowHeight, p->lineWidth);
      }
      SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(s));
      return DefWindowProcW(hwnd, msg, wp, lp);
    }
    GridState* s = StateOf(hwnd);
    if (!s) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, 0, 0);
      ReleaseGridAccessible(s->accessible);
      delete s;
      return DefWindowProcW(hwnd, msg, wp, lp);
    }
    if (msg == WM_DESTROY && s->tooltip) {
      DestroyWindow(s->tooltip);
      s->tooltip = nullptr;
    }
    bool handled = false;
    const LRESULT r = OnMessage(*s, msg, wp, lp, handled);
    if (handled) return r;
    // The grid may be gone after a notification; DefWindowProc copes.
    if (msg == WM_RBUTTONUP && !IsWindow(hwnd)) return 0;
  } catch (...) {
    // Only allocation can fail here; the message is dropped as unhandled.
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

void RegisterStringGridClass() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = GridProc;
    wc.cbWndExtra = sizeof(GridState*);
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kStringGridClass;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  if (!registered) throw std::runtime_error("String grid class could not be registered");
}

}  // namespace tabcard
