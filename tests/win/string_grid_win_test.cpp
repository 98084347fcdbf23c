// The string grid as a real window: notifications and their order, capture,
// scrolling, the tooltip and its hint as a cell's description, WinEvents,
// GDI use.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "ui/string_grid_win.h"

namespace tabcard {
namespace {

constexpr int kGridId = 101;
constexpr int kOtherGridId = 102;

struct Event {
  UINT code = 0;
  HWND from = nullptr;
  UINT_PTR id = 0;
  GridButton button = GridButton::kNone;
  POINT pt{};
  GridCell cell;
  bool doubleClick = false;
  GridCell currentThen;  // the grid's current cell when the owner heard of it
  HWND captureThen = nullptr;
};

std::vector<Event> gEvents;
UINT gDestroyOn = 0;  // a notification code on which the owner destroys the grid

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NOTIFY) {
    const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
    if (hdr->code == gDestroyOn) {
      Event gone;
      gone.code = hdr->code;
      gEvents.push_back(gone);
      DestroyWindow(hdr->hwndFrom);
      return 0;
    }
    Event e;
    e.code = hdr->code;
    e.from = hdr->hwndFrom;
    e.id = hdr->idFrom;
    e.currentThen = StringGrid(hdr->hwndFrom).CurrentCell();
    e.captureThen = GetCapture();
    if (e.code == SGN_MOUSEDOWN || e.code == SGN_MOUSEMOVE || e.code == SGN_MOUSEUP ||
        e.code == SGN_DBLCLK) {
      const auto* m = reinterpret_cast<const GridMouseNotify*>(lp);
      e.button = m->button;
      e.pt = m->pt;
      e.cell = m->cell;
      e.doubleClick = m->doubleClick != FALSE;
    }
    gEvents.push_back(e);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void Pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD limitMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > limitMs) return false;
    Pump();
    Sleep(5);
  }
  return true;
}

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

std::vector<Event> EventsOf(UINT code) {
  std::vector<Event> out;
  for (const Event& e : gEvents) {
    if (e.code == code) out.push_back(e);
  }
  return out;
}

class StringGridWin : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"GridTestHost";
    RegisterClassW(&wc);
    host_ = CreateWindowExW(0, wc.lpszClassName, L"host", WS_POPUP | WS_VISIBLE, 50, 50, 400,
                            300, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(host_);
    // The palette's personal page: 2 x 6 cells of 45 x 15, lines of 2.
    grid_.Create(host_, kGridId, RECT{0, 0, 200, 150});
    grid_.SetGeometry(2, 6, 45, 15);
    Pump();
    gEvents.clear();
  }
  void TearDown() override {
    gDestroyOn = 0;
    if (GetCapture()) ReleaseCapture();
    DestroyWindow(host_);
    Pump();
  }
  void Resize(int w, int h) {
    SetWindowPos(grid_.Handle(), nullptr, 0, 0, w, h, SWP_NOZORDER | SWP_NOMOVE);
  }
  LRESULT Send(UINT msg, WPARAM wp, LPARAM lp) { return SendMessageW(grid_.Handle(), msg, wp, lp); }

  HWND host_ = nullptr;
  StringGrid grid_;
};

TEST_F(StringGridWin, CountsClampAndTextsStayInsideTheGrid) {
  grid_.SetShape(0, -3);
  EXPECT_EQ(grid_.ColCount(), 1);
  EXPECT_EQ(grid_.RowCount(), 1);
  grid_.SetShape(16, 16);
  grid_.SetCell(15, 15, "氏名");
  grid_.SetCell(3, 4, "E-Mail1");
  EXPECT_EQ(grid_.Cell(15, 15), "氏名");
  EXPECT_EQ(grid_.Cell(0, 0), "");
  EXPECT_THROW(grid_.SetCell(16, 0, "x"), std::out_of_range);
  EXPECT_THROW(grid_.Cell(0, 16), std::out_of_range);
  EXPECT_THROW(grid_.Cell(-1, 0), std::out_of_range);
  // Shrinking drops what falls outside; growing again shows empty cells.
  grid_.SetCurrentCell(15, 15);
  grid_.SetRowCount(5);
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{15, 4}));
  grid_.SetRowCount(16);
  EXPECT_EQ(grid_.Cell(15, 15), "");
  EXPECT_EQ(grid_.Cell(3, 4), "E-Mail1");
  grid_.ClearCells();
  EXPECT_EQ(grid_.Cell(3, 4), "");
}

TEST_F(StringGridWin, NonExistentCellIsRefusedAsCurrent) {
  grid_.SetCurrentCell(1, 2);
  for (GridCell bad : {GridCell{2, 0}, GridCell{0, 6}, GridCell{-1, 0}, GridCell{0, -1}}) {
    EXPECT_THROW(grid_.SetCurrentCell(bad.col, bad.row), std::out_of_range);
    EXPECT_EQ(Send(SGM_SETCURCELL, PackCell(bad.col, bad.row), 0), FALSE);
    EXPECT_EQ(grid_.CurrentCell(), (GridCell{1, 2}));
  }
}

TEST_F(StringGridWin, MouseToCellAndCellRectAgree) {
  struct Case {
    int x, y;
    GridCell cell;
  } cases[] = {{0, 0, {0, 0}},   {46, 16, {0, 0}},  {47, 17, {1, 1}},
               {93, 101, {1, 5}}, {94, 10, kNoCell}, {10, 102, kNoCell},
               {-3, 5, kNoCell},  {5, -3, kNoCell},  {300, 5, kNoCell}};
  for (const Case& c : cases) EXPECT_EQ(grid_.MouseToCell(c.x, c.y), c.cell) << c.x << "," << c.y;
  const RECT r = grid_.CellRect(1, 3);
  EXPECT_EQ(r.left, 47);
  EXPECT_EQ(r.top, 51);
  EXPECT_EQ(r.right - r.left, 45);
  EXPECT_EQ(r.bottom - r.top, 15);
  EXPECT_THROW(grid_.CellRect(2, 0), std::out_of_range);
}

TEST_F(StringGridWin, PressMakesTheCellCurrentBeforeTheOwnerHears) {
  for (UINT msg : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
    gEvents.clear();
    grid_.SetCurrentCell(0, 0);
    Send(msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON | MK_SHIFT : MK_RBUTTON, At(60, 40));
    const auto down = EventsOf(SGN_MOUSEDOWN);
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].currentThen, (GridCell{1, 2}));
    EXPECT_EQ(down[0].cell, (GridCell{1, 2}));
    EXPECT_EQ(down[0].button, msg == WM_LBUTTONDOWN ? GridButton::kLeft : GridButton::kRight);
    EXPECT_EQ(down[0].from, grid_.Handle());
    EXPECT_EQ(down[0].id, static_cast<UINT_PTR>(kGridId));
    ASSERT_FALSE(gEvents.empty());
    EXPECT_EQ(gEvents.front().code, SGN_SELCHANGE);
    Send(msg + 1, 0, At(60, 40));
  }
  // Beside the cells: reported, current cell untouched.
  gEvents.clear();
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(150, 20));
  ASSERT_EQ(EventsOf(SGN_MOUSEDOWN).size(), 1u);
  EXPECT_EQ(EventsOf(SGN_MOUSEDOWN)[0].cell, kNoCell);
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{1, 2}));
  EXPECT_TRUE(EventsOf(SGN_SELCHANGE).empty());
}

TEST_F(StringGridWin, HeldButtonDragsTheCurrentCellAndCaptureEndsOnRelease) {
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(10, 5));
  EXPECT_EQ(GetCapture(), grid_.Handle());
  Send(WM_MOUSEMOVE, MK_LBUTTON, At(50, 5));  // onto the neighbour (1,0)
  auto moves = EventsOf(SGN_MOUSEMOVE);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].currentThen, (GridCell{1, 0}));
  // Captured, outside the client: negative coordinates arrive as they are.
  Send(WM_MOUSEMOVE, MK_LBUTTON, At(-5, -7));
  moves = EventsOf(SGN_MOUSEMOVE);
  ASSERT_EQ(moves.size(), 2u);
  EXPECT_EQ(moves[1].pt.x, -5);
  EXPECT_EQ(moves[1].pt.y, -7);
  EXPECT_EQ(moves[1].cell, kNoCell);
  EXPECT_EQ(moves[1].currentThen, (GridCell{1, 0}));
  Send(WM_LBUTTONUP, 0, At(-5, -7));
  const auto up = EventsOf(SGN_MOUSEUP);
  ASSERT_EQ(up.size(), 1u);
  EXPECT_EQ(up[0].captureThen, nullptr);
  // Released: moving no longer changes the current cell.
  Send(WM_MOUSEMOVE, 0, At(10, 40));
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{1, 0}));
  // The owner may capture the grid itself and still hears of every move.
  SetCapture(grid_.Handle());
  Send(WM_MOUSEMOVE, 0, At(-40, 500));
  EXPECT_EQ(EventsOf(SGN_MOUSEMOVE).back().pt.y, 500);
}

TEST_F(StringGridWin, CaptureTakenByAnotherWindowIsReportedButNotItsOwnRelease) {
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(10, 5));
  Send(WM_LBUTTONUP, 0, At(10, 5));
  EXPECT_TRUE(EventsOf(SGN_CAPTURELOST).empty());
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(10, 5));
  ASSERT_EQ(GetCapture(), grid_.Handle());
  SetCapture(host_);
  const auto lost = EventsOf(SGN_CAPTURELOST);
  ASSERT_EQ(lost.size(), 1u);
  EXPECT_EQ(lost[0].from, grid_.Handle());
  ReleaseCapture();
  EXPECT_EQ(EventsOf(SGN_CAPTURELOST).size(), 1u);  // the grid no longer held it
}

TEST_F(StringGridWin, DoubleClickNotificationNamesItsGrid) {
  StringGrid other;
  other.Create(host_, kOtherGridId, RECT{200, 0, 400, 150});
  EXPECT_TRUE(GetClassLongW(grid_.Handle(), GCL_STYLE) & CS_DBLCLKS);
  SendMessageW(other.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(3, 3));
  Send(WM_LBUTTONDBLCLK, MK_LBUTTON, At(50, 20));
  const auto dbl = EventsOf(SGN_DBLCLK);
  ASSERT_EQ(dbl.size(), 2u);
  EXPECT_EQ(dbl[0].from, other.Handle());
  EXPECT_EQ(dbl[0].id, static_cast<UINT_PTR>(kOtherGridId));
  EXPECT_EQ(dbl[1].from, grid_.Handle());
  EXPECT_EQ(dbl[1].currentThen, (GridCell{1, 1}));
  const auto down = EventsOf(SGN_MOUSEDOWN);
  ASSERT_EQ(down.size(), 2u);
  EXPECT_TRUE(down[1].doubleClick);
}

TEST_F(StringGridWin, OwnerMayDestroyTheGridInItsHandler) {
  for (UINT code : {SGN_SELCHANGE, SGN_DBLCLK, SGN_KEYDOWN}) {
    StringGrid doomed;
    doomed.Create(host_, kOtherGridId, RECT{200, 0, 400, 150});
    gDestroyOn = code;
    gEvents.clear();
    if (code == SGN_KEYDOWN) {
      SendMessageW(doomed.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    } else {
      SendMessageW(doomed.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(70, 30));  // cell (1, 1)
    }
    EXPECT_FALSE(IsWindow(doomed.Handle()));
    // Nothing more is heard from a grid that is gone.
    ASSERT_FALSE(gEvents.empty());
    EXPECT_EQ(gEvents.back().code, code);
  }
}

TEST_F(StringGridWin, RealDoubleClickReachesTheOwner) {
  SetForegroundWindow(host_);
  RECT cell = grid_.CellRect(1, 1);
  POINT p{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
  ClientToScreen(grid_.Handle(), &p);
  const int sw = GetSystemMetrics(SM_CXSCREEN);
  const int sh = GetSystemMetrics(SM_CYSCREEN);
  INPUT in[5] = {};
  for (INPUT& i : in) {
    i.type = INPUT_MOUSE;
    i.mi.dx = (p.x * 65536 + sw / 2) / sw;
    i.mi.dy = (p.y * 65536 + sh / 2) / sh;
    i.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  }
  in[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  in[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  in[3].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  in[4].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  ASSERT_EQ(SendInput(5, in, sizeof(INPUT)), 5u);
  ASSERT_TRUE(PumpUntil([] { return !EventsOf(SGN_DBLCLK).empty(); }, 3000));
  EXPECT_EQ(EventsOf(SGN_DBLCLK)[0].from, grid_.Handle());
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{1, 1}));
}

TEST_F(StringGridWin, ScrollsWhenTheCellsOutgrowTheClient) {
  grid_.SetShape(2, 16);  // 16 * 17 = 272 pixels high
  Resize(120, 100);
  const auto style = [&] { return GetWindowLongW(grid_.Handle(), GWL_STYLE); };
  EXPECT_TRUE(style() & WS_VSCROLL);
  EXPECT_FALSE(style() & WS_HSCROLL);
  Send(WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(GetScrollPos(grid_.Handle(), SB_VERT), 17);
  EXPECT_EQ(grid_.MouseToCell(5, 5), (GridCell{0, 1}));
  EXPECT_EQ(grid_.CellRect(0, 1).top, 0);
  Send(WM_VSCROLL, SB_BOTTOM, 0);
  RECT client{};
  GetClientRect(grid_.Handle(), &client);
  EXPECT_EQ(GetScrollPos(grid_.Handle(), SB_VERT), 272 - client.bottom);
  // Arrow keys keep the current cell in view.
  Send(WM_VSCROLL, SB_TOP, 0);
  for (int i = 0; i < 15; ++i) Send(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{0, 15}));
  RECT r = grid_.CellRect(0, 15);
  EXPECT_GE(r.top, 0);
  EXPECT_LE(r.bottom, client.bottom);
  EXPECT_EQ(EventsOf(SGN_SELCHANGE).size(), 15u);
  Send(WM_KEYDOWN, VK_HOME, 0);  // row start: already there
  Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_GT(grid_.CellRect(0, 15).top, r.top);
  // Wide too: both bars. Large enough again: none, back at the origin.
  grid_.SetShape(16, 16);
  EXPECT_TRUE(style() & WS_HSCROLL);
  EXPECT_TRUE(style() & WS_VSCROLL);
  grid_.SetShape(2, 6);
  Resize(200, 150);
  EXPECT_FALSE(style() & (WS_HSCROLL | WS_VSCROLL));
  EXPECT_EQ(grid_.CellRect(0, 0).top, 0);
}

TEST_F(StringGridWin, TabStepsThroughCellsOnlyWithItsStyle) {
  Send(WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{0, 0}));
  EXPECT_FALSE(Send(WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB);
  SetWindowLongW(grid_.Handle(), GWL_STYLE, GetWindowLongW(grid_.Handle(), GWL_STYLE) | SGS_TABS);
  EXPECT_TRUE(Send(WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS);
  EXPECT_TRUE(Send(WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB);
  Send(WM_KEYDOWN, VK_TAB, 0);
  Send(WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{0, 1}));
}

VARIANT Child(long id) {
  VARIANT v{};
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

// The hint a click shows is the description of the cell it was set or
// switched on for, while it is on; no other cell has one.
TEST_F(StringGridWin, HintDescribesTheCellItWasShownForWhileOn) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  IAccessible* acc = nullptr;
  ASSERT_EQ(AccessibleObjectFromWindow(grid_.Handle(), OBJID_CLIENT, __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&acc)),
            S_OK);
  const auto described = [&] {
    std::vector<std::pair<long, std::wstring>> out;
    for (long id = 1; id <= grid_.ColCount() * grid_.RowCount(); ++id) {
      BSTR text = nullptr;
      if (acc->get_accDescription(Child(id), &text) == S_OK) {
        out.emplace_back(id, std::wstring(text, SysStringLen(text)));
      }
      SysFreeString(text);
    }
    return out;
  };
  struct Step {
    const char* what;
    std::function<void()> act;
    std::vector<std::pair<long, std::wstring>> described;
  };
  const Step steps[] = {
      {"set while off", [&] { grid_.SetCurrentCell(1, 2); grid_.SetHint("ヒント"); }, {}},
      {"switched on", [&] { grid_.SetShowHint(true); }, {{6, L"\x30D2\x30F3\x30C8"}}},
      {"another cell made current", [&] { grid_.SetCurrentCell(0, 0); },
       {{6, L"\x30D2\x30F3\x30C8"}}},
      {"a click's new hint", [&] { grid_.SetHint("TEL"); grid_.SetShowHint(true); },
       {{1, L"TEL"}}},
      {"an empty hint", [&] { grid_.SetHint(""); }, {}},
      {"switched off", [&] { grid_.SetHint("TEL"); grid_.SetShowHint(false); }, {}},
      {"on for a cell the grid then loses",
       [&] { grid_.SetCurrentCell(1, 5); grid_.SetShowHint(true); grid_.SetShape(2, 3); }, {}},
      // A mark's label follows the hint, or stands alone.
      {"a mark", [&] { grid_.SetCellMark(1, 1, "full"); }, {{4, L"full"}}},
      {"a hint on the marked cell",
       [&] { grid_.SetCurrentCell(1, 1); grid_.SetHint("03"); grid_.SetShowHint(true); },
       {{4, L"03\x3001" L"full"}}},
      {"the mark taken off", [&] { grid_.SetCellMark(1, 1, ""); }, {{4, L"03"}}},
      {"marks cleared with the texts",
       [&] { grid_.SetCellMark(0, 0, "x"); grid_.ClearCells(); }, {{4, L"03"}}},
      {"a mark beyond a shrunk shape",
       [&] { grid_.SetCellMark(0, 2, "y"); grid_.SetShape(2, 2); grid_.SetShape(2, 3); },
       {{4, L"03"}}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    EXPECT_EQ(described(), step.described);
  }
  acc->Release();
  CoUninitialize();
}

// The grid's tooltip: a window of this thread (the grid made it at its
// first hint).
HWND TooltipWindow() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM lp) -> BOOL {
        wchar_t cls[64] = {};
        GetClassNameW(w, cls, 64);
        if (lstrcmpiW(cls, TOOLTIPS_CLASSW) != 0) return TRUE;
        *reinterpret_cast<HWND*>(lp) = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST_F(StringGridWin, TooltipShowsTheHintOnlyWhenSwitchedOn) {
  grid_.SetHint("ＴＥＬ 03-1234");
  HWND tip = TooltipWindow();
  ASSERT_TRUE(tip);
  SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 10);
  SetForegroundWindow(host_);
  POINT p{20, 8};
  ClientToScreen(grid_.Handle(), &p);
  // One move over the grid, then wait: each relayed move restarts the delay.
  const auto hoverShows = [&](DWORD waitMs) {
    SetCursorPos(p.x, p.y);
    Send(WM_MOUSEMOVE, 0, At(20, 8));
    return PumpUntil([&] { return IsWindowVisible(tip) != FALSE; }, waitMs);
  };
  EXPECT_FALSE(hoverShows(600));
  grid_.SetShowHint(true);
  EXPECT_TRUE(hoverShows(3000));
  wchar_t text[64] = {};
  TOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.hwnd = grid_.Handle();
  ti.uId = reinterpret_cast<UINT_PTR>(grid_.Handle());
  ti.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&ti));
  EXPECT_STREQ(text, L"\xFF34\xFF25\xFF2C 03-1234");
  // It does not take the mouse from the grid.
  gEvents.clear();
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(20, 8));
  EXPECT_EQ(EventsOf(SGN_MOUSEDOWN).size(), 1u);
  Send(WM_LBUTTONUP, 0, At(20, 8));
  grid_.SetShowHint(false);
  EXPECT_FALSE(IsWindowVisible(tip));
  // Switched off while a show is pending: it stays hidden.
  grid_.SetShowHint(true);
  SetCursorPos(p.x + 5, p.y + 5);
  Send(WM_MOUSEMOVE, 0, At(25, 13));
  grid_.SetShowHint(false);
  EXPECT_FALSE(hoverShows(600));
}

// Wine's GetGuiResources is a stub; its GDI table accepts a handle's index
// alone, so the live objects can be counted there instead.
int LiveGdiObjects() {
  const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (n) return static_cast<int>(n);
  int live = 0;
  for (ULONG_PTR i = 1; i <= 0xFFFF; ++i) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(i))) ++live;
  }
  return live;
}

TEST_F(StringGridWin, RepaintsLeakNoGdiObjects) {
  grid_.SetShape(16, 16);
  for (int c = 0; c < 16; ++c) {
    for (int r = 0; r < 16; ++r) grid_.SetCell(c, r, "氏名 フリガナ");
  }
  grid_.SetCell(0, 0, std::string(1 << 20, 'W'));
  grid_.SetCellMark(0, 1, "marked");
  LOGFONTW lf = grid_.LogFont();
  lf.lfWeight = FW_BOLD;
  const auto repaint = [&](int times) {
    for (int i = 0; i < times; ++i) {
      if (i % 100 == 0) grid_.SetLogFont(lf);  // replaces (and frees) its own font
      if (i % 2) SetFocus(grid_.Handle()); else SetFocus(host_);
      RedrawWindow(grid_.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
  };
  repaint(20);
  const int before = LiveGdiObjects();
  ASSERT_GT(before, 0);
  const DWORD start = GetTickCount();
  repaint(1000);
  EXPECT_LT(GetTickCount() - start, 20000u) << "a megabyte in a cell must not stall painting";
  EXPECT_LE(LiveGdiObjects() - before, 2);
  // A font the owner gives stays the owner's.
  HFONT mine = CreateFontIndirectW(&lf);
  grid_.SetFont(mine);
  grid_.SetLogFont(lf);
  EXPECT_EQ(GetObjectType(mine), static_cast<DWORD>(OBJ_FONT));
  DeleteObject(mine);
}

struct WinEvent {
  DWORD event;
  LONG child;
  friend bool operator==(const WinEvent& a, const WinEvent& b) {
    return a.event == b.event && a.child == b.child;
  }
};
std::vector<WinEvent> gWinEvents;
HWND gWatched = nullptr;

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                         DWORD) {
  if (hwnd == gWatched && object == OBJID_CLIENT) gWinEvents.push_back(WinEvent{event, child});
}

// What a screen reader hears of the grid: the current cell's focus (only
// while the grid has it) and selection, a text that really changed, the
// cells a hint's description left and reached, and a reorder when many
// cells change at once. Child ids run row by row from 1.
TEST_F(StringGridWin, WinEventsFollowTheTextsAndTheCurrentCell) {
  gWatched = grid_.Handle();
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_DESCRIPTIONCHANGE, nullptr,
                                       OnWinEvent, GetCurrentProcessId(), 0,
                                       WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  struct Step {
    const char* what;
    std::function<void()> act;
    std::vector<WinEvent> heard;
  };
  const Step steps[] = {
      {"a new text", [&] { grid_.SetCell(1, 0, "a"); }, {{EVENT_OBJECT_NAMECHANGE, 2}}},
      {"the same text", [&] { grid_.SetCell(1, 0, "a"); }, {}},
      {"a mark", [&] { grid_.SetCellMark(1, 0, "m"); }, {{EVENT_OBJECT_DESCRIPTIONCHANGE, 2}}},
      {"the same mark", [&] { grid_.SetCellMark(1, 0, "m"); }, {}},
      {"unfocused move", [&] { grid_.SetCurrentCell(0, 1); }, {{EVENT_OBJECT_SELECTION, 3}}},
      {"the focus", [&] { SetFocus(grid_.Handle()); }, {{EVENT_OBJECT_FOCUS, 3}}},
      {"a key", [&] { Send(WM_KEYDOWN, VK_RIGHT, 0); },
       {{EVENT_OBJECT_FOCUS, 4}, {EVENT_OBJECT_SELECTION, 4}}},
      {"cleared", [&] { grid_.ClearCells(); }, {{EVENT_OBJECT_REORDER, CHILDID_SELF}}},
      {"cleared again", [&] { grid_.ClearCells(); }, {}},
      {"a hint shown", [&] { grid_.SetHint("h"); grid_.SetShowHint(true); },
       {{EVENT_OBJECT_DESCRIPTIONCHANGE, 4}}},
      {"shown again", [&] { grid_.SetShowHint(true); }, {}},
      {"its text changed", [&] { grid_.SetHint("i"); }, {{EVENT_OBJECT_DESCRIPTIONCHANGE, 4}}},
      {"a hint for another cell",
       [&] { grid_.SetCurrentCell(0, 0); grid_.SetHint("j"); },
       {{EVENT_OBJECT_FOCUS, 1},
        {EVENT_OBJECT_SELECTION, 1},
        {EVENT_OBJECT_DESCRIPTIONCHANGE, 4},
        {EVENT_OBJECT_DESCRIPTIONCHANGE, 1}}},
      {"the hint hidden", [&] { grid_.SetShowHint(false); },
       {{EVENT_OBJECT_DESCRIPTIONCHANGE, 1}}},
      {"reshaped", [&] { grid_.SetShape(3, 6); }, {{EVENT_OBJECT_REORDER, CHILDID_SELF}}},
      {"resized alone", [&] { grid_.SetGeometry(3, 6, 50, 15); }, {}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    Pump();
    gWinEvents.clear();
    step.act();
    Pump();
    std::vector<WinEvent> ours;  // the system's own focus event names no cell
    for (const WinEvent& e : gWinEvents) {
      if (!(e.event == EVENT_OBJECT_FOCUS && e.child == CHILDID_SELF)) ours.push_back(e);
    }
    EXPECT_EQ(ours, step.heard);
  }
  UnhookWinEvent(hook);
}

}  // namespace
}  // namespace tabcard
