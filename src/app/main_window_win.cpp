#include "app/main_window_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "app/kojin_menu.h"
#include "ui/menu_win.h"
#include "forms/main_form.h"
#include "store/layout.h"
#include "ui/dpi_win.h"
#include "core/strconv_win.h"

namespace tabcard {
namespace {

using forms::Event;
using forms::EventArgs;
using Router = forms::EventRouter<TfrmMain>;

const Router::NamedHandler kHandlers[] = {
    {"FormCreate", &TfrmMain::FormCreate},
    {"FormShow", &TfrmMain::FormShow},
    {"FormActivate", &TfrmMain::FormActivate},
    {"FormResize", &TfrmMain::FormResize},
    {"FormClose", &TfrmMain::FormClose},
    {"PageControl1Change", &TfrmMain::PageControl1Change},
    {"SGridMouseDown", &TfrmMain::SGridMouseDown},
    {"SGridMouseMove", &TfrmMain::SGridMouseMove},
    {"SGridMouseUp", &TfrmMain::SGridMouseUp},
    {"SGridDblClik", &TfrmMain::SGridDblClik},
    {"Timer1Timer", &TfrmMain::Timer1Timer},
};

forms::MouseButton ButtonOf(GridButton b) {
  switch (b) {
    case GridButton::kLeft:
      return forms::MouseButton::Left;
    case GridButton::kRight:
      return forms::MouseButton::Right;
    case GridButton::kMiddle:
      return forms::MouseButton::Middle;
    default:
      return forms::MouseButton::None;
  }
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  auto* list = reinterpret_cast<std::vector<MonitorRect>*>(data);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  const RECT& r = info.rcMonitor;
  const MonitorRect m{r.left, r.top, r.right, r.bottom};
  // The primary first: placement prefers it on a tie.
  if (info.dwFlags & MONITORINFOF_PRIMARY) {
    list->insert(list->begin(), m);
  } else {
    list->push_back(m);
  }
  return TRUE;
}

}  // namespace

TfrmMain::TfrmMain(RegistryBackend& store, HWND appWindow)
    : store_(store), appWindow_(appWindow), router_(forms::MainForm(), forms::MakeTable(kHandlers)) {}

TfrmMain::~TfrmMain() = default;

void TfrmMain::Create() {
  const forms::FormDesc& form = forms::MainForm();
  RegisterClassOnce(kMainWindowClass, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                    LoadIconW(nullptr, IDI_APPLICATION));
  // Created at the design size and then scaled for the monitor it is on:
  // asking a monitor for its DPI before there is a window loads shcore.dll.
  Window::Create(kMainWindowClass, FormExStyle(form), FormStyle(form), Widen(form.caption),
                 RECT{0, 0, form.bounds.width, form.bounds.height}, appWindow_);
  scale_ = DpiScale(WindowDpi(hwnd()));
  if (scale_.dpi() != kDesignDpi) {
    SetWindowPos(hwnd(), nullptr, 0, 0, scale_.Px(form.bounds.width), scale_.Px(form.bounds.height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  built_ = BuildControls(form, hwnd(), scale_);
  for (int page = 0; page < kPageCount; ++page) {
    grids_[page].Attach(built_.Find(forms::kMainGridNames[page])->hwnd);
  }
  if (const BuiltControl* timer = built_.Find("Timer1")) timerId_ = static_cast<UINT_PTR>(timer->id);
  LayoutControls(built_, hwnd());
  const FontFace standardFont = StandardFont(GetACP() == 932);
  model_.emplace(store_, standardFont, static_cast<PaletteWindowView&>(*this), scale_);
  desktop_ = std::make_unique<DesktopWin>(hwnd(), LoadDragCursor(GetModuleHandleW(nullptr)));
  transferView_ = std::make_unique<PaletteTransferView>(hwnd(), grids_, *model_);
  transfer_ = std::make_unique<ItemTransfer>(*desktop_, *transferView_);
  Fire(nullptr, Event::Create);
}

bool TfrmMain::Fire(const char* control, Event event, EventArgs args) {
  // Messages that arrive while the controls are still being built have no
  // model to go to yet.
  if (!model_) return false;
  return router_.Fire(*this, control, event, args);
}

// ---- handlers ----

void TfrmMain::FormCreate(const EventArgs&) { model_->FormCreate(); }

void TfrmMain::FormShow(const EventArgs&) { model_->FormShow(); }

void TfrmMain::FormActivate(const EventArgs&) {}

void TfrmMain::FormResize(const EventArgs&) { model_->FormResize(); }

void TfrmMain::FormClose(const EventArgs& e) {
  if (!model_->FormClose() && e.accept) *e.accept = false;
}

void TfrmMain::PageControl1Change(const EventArgs&) { model_->PageControl1Change(); }

void TfrmMain::SGridMouseDown(const EventArgs& e) {
  const int page = PageOfGrid(e.sender);
  if (page >= 0) transfer_->SGridMouseDown(page, e.button);
}

void TfrmMain::SGridMouseMove(const EventArgs& e) {
  const int page = PageOfGrid(e.sender);
  if (page >= 0) transfer_->SGridMouseMove(page);
}

void TfrmMain::SGridMouseUp(const EventArgs& e) {
  const int page = PageOfGrid(e.sender);
  if (page >= 0) transfer_->SGridMouseUp(page, e.button);
}

void TfrmMain::SGridDblClik(const EventArgs& e) {
  const int page = PageOfGrid(e.sender);
  if (page >= 0) transfer_->SGridDblClik(page);
}

void TfrmMain::Timer1Timer(const EventArgs&) {
  KillTimer(hwnd(), timerId_);
  // Started again whatever the tick does, so a failed tick does not end the
  // title display for good.
  struct Restart {
    HWND hwnd;
    UINT_PTR id;
    ~Restart() { SetTimer(hwnd, id, kTickMs, nullptr); }
  } restart{hwnd(), timerId_};
  transfer_->Timer1Timer();
}

// ---- messages ----

LRESULT TfrmMain::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      if (wp != SIZE_MINIMIZED) {
        LayoutControls(built_, hwnd());
        Fire(nullptr, Event::Resize);
      }
      return 0;
    case WM_SHOWWINDOW:
      if (wp && lp == 0) Fire(nullptr, Event::Show);
      break;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) Fire(nullptr, Event::Activate);
      break;
    case WM_CLOSE: {
      bool accept = true;
      EventArgs args;
      args.accept = &accept;
      Fire(nullptr, Event::Close, args);
      if (accept) DestroyWindow(hwnd());
      return 0;
    }
    case WM_DESTROY:
      KillTimer(hwnd(), timerId_);
      PostQuitMessage(0);
      return 0;
    case WM_TIMER:
      if (wp == timerId_) {
        Fire("Timer1", Event::Timer);
        return 0;
      }
      break;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lp));
    case WM_CONTEXTMENU:
      if (OnContextMenu(reinterpret_cast<HWND>(wp), lp)) return 0;
      break;
    case WM_DISPLAYCHANGE:
      if (model_) model_->DisplayChanged();
      break;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
      return 0;
    default:
      break;
  }
  return DefaultProc(msg, wp, lp);
}

LRESULT TfrmMain::OnNotify(const NMHDR& hdr) {
  const BuiltControl* c = built_.FindByWindow(hdr.hwndFrom);
  if (!c) return 0;
  if (hdr.code == TCN_SELCHANGE && c->desc->kind == forms::ControlKind::PageControl) {
    ShowSheet(built_, c->desc->name, ActiveTab(built_, c->desc->name));
    Fire(c->desc->name, Event::Change);
    return 0;
  }
  if (c->desc->kind != forms::ControlKind::StringGrid) return 0;
  if (hdr.code == SGN_CAPTURELOST) {
    // Not a form event: only a drag in progress cares that no drop will come.
    const int page = PageOfGrid(c->desc->name);
    if (page >= 0 && transfer_) transfer_->SGridCaptureLost(page);
    return 0;
  }
  Event event;
  switch (hdr.code) {
    case SGN_MOUSEDOWN:
      event = Event::MouseDown;
      break;
    case SGN_MOUSEMOVE:
      event = Event::MouseMove;
      break;
    case SGN_MOUSEUP:
      event = Event::MouseUp;
      break;
    case SGN_DBLCLK:
      event = Event::DblClick;
      break;
    default:
      return 0;
  }
  const auto& n = reinterpret_cast<const GridMouseNotify&>(hdr);
  EventArgs args;
  args.button = ButtonOf(n.button);
  args.x = n.pt.x;
  args.y = n.pt.y;
  Fire(c->desc->name, event, args);
  return 0;
}

bool TfrmMain::OnContextMenu(HWND from, LPARAM lp) {
  int page = -1;
  for (const int p : {kPageKojin1, kPageKojin2}) {
    if (from == Grid(p).Handle()) page = p;
  }
  if (page < 0 || !transfer_) return false;
  POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  if (lp == -1) {
    // From the keyboard: under the current cell, as menus opened by keys are.
    const GridCell c = Grid(page).CurrentCell();
    const RECT r = Grid(page).CellRect(c.col, c.row);
    pt = POINT{r.left, r.bottom};
    ClientToScreen(from, &pt);
  }
  const int command = TrackPopup(hwnd(), BuildPopupMenu(KojinMenuLayout()), pt);
  if (command != 0) transfer_->mnuKnjShimeiClick(KojinMenuCaption(command));
  return true;
}

void TfrmMain::OnDpiChanged(int dpi, const RECT& suggested) {
  scale_ = DpiScale(dpi);
  RescaleControls(forms::MainForm(), built_, scale_);
  SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (model_) model_->DpiChanged(scale_);
}

// ---- PaletteWindowView ----

StringGrid& TfrmMain::Grid(int page) const { return grids_.at(static_cast<std::size_t>(page)); }

HWND TfrmMain::PageControl() const { return built_.Find("PageControl1")->hwnd; }

int TfrmMain::PageOfGrid(const char* name) const {
  for (int page = 0; page < kPageCount; ++page) {
    if (name && std::string_view(name) == forms::kMainGridNames[page]) return page;
  }
  return -1;
}

void TfrmMain::SetGridGeometry(int page, int cols, int rows, int colWidth, int rowHeight) {
  StringGrid& g = Grid(page);
  g.SetColCount(cols);
  g.SetRowCount(rows);
  g.SetDefaultColWidth(colWidth);
  g.SetDefaultRowHeight(rowHeight);
}

std::string TfrmMain::GridFontFace(int page) const { return Narrow(Grid(page).LogFont().lfFaceName); }

void TfrmMain::SetGridFont(int page, const GridFontSpec& font) {
  LOGFONTW lf = Grid(page).LogFont();
  const std::wstring face = Widen(font.face);
  lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  lf.lfHeight = font.height;
  lf.lfWidth = 0;
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = font.italic ? TRUE : FALSE;
  Grid(page).SetLogFont(lf);
}

void TfrmMain::SetGridColumns(int page, int cols, int colWidth) {
  Grid(page).SetColCount(cols);
  Grid(page).SetDefaultColWidth(colWidth);
}

int TfrmMain::GridClientWidth(int page) const {
  RECT r{};
  GetClientRect(Grid(page).Handle(), &r);
  return r.right - r.left;
}

void TfrmMain::SetGridCells(int page, const CellTexts& cells) {
  StringGrid& g = Grid(page);
  const int cols = std::min(cells.Cols(), g.ColCount());
  const int rows = std::min(cells.Rows(), g.RowCount());
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) g.SetCell(c, r, cells.At(c, r));
  }
}

int TfrmMain::PageControlWidth() const {
  RECT r{};
  GetWindowRect(PageControl(), &r);
  return r.right - r.left;
}

void TfrmMain::SetTabWidth(int width) { tabcard::SetTabWidth(PageControl(), width); }

int TfrmMain::ActivePage() const { return ActiveTab(built_, "PageControl1"); }

void TfrmMain::SetActivePage(int page) { ShowSheet(built_, "PageControl1", page); }

WindowBounds TfrmMain::Bounds() const {
  const RECT r = self().ScreenBounds();
  return WindowBounds{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void TfrmMain::SetBounds(const WindowBounds& b) {
  // Each showing keeps the window on the screen, mostly where it already is;
  // a move to the same place still costs the window system several round
  // trips for a top-level window.
  const WindowBounds now = Bounds();
  if (now.left == b.left && now.top == b.top && now.width == b.width && now.height == b.height) {
    return;
  }
  SetWindowPos(hwnd(), nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TfrmMain::IsVisible() const { return self().IsVisible(); }

void TfrmMain::ShowWindow() { ::ShowWindow(hwnd(), SW_SHOW); }

void TfrmMain::HideWindow() { ::ShowWindow(hwnd(), SW_HIDE); }

void TfrmMain::SetTopMost(bool topMost) {
  SetWindowPos(hwnd(), topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TfrmMain::ScreenSize(std::int32_t* width, std::int32_t* height) const {
  *width = GetSystemMetrics(SM_CXSCREEN);
  *height = GetSystemMetrics(SM_CYSCREEN);
}

std::vector<MonitorRect> TfrmMain::Monitors() const {
  std::vector<MonitorRect> list;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&list));
  return list;
}

}  // namespace tabcard
