#include "app/main_window_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "app/kojin_menu.h"
#include "app/main_menus.h"
#include "app/palette_keys.h"
#include "app/system_menu_win.h"
#include "ui/menu_win.h"
#include "forms/main_form.h"
#include "store/layout.h"
#include "ui/app_error_win.h"
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

TfrmMain::TfrmMain(RegistryBackend& store, HWND appWindow, std::wstring helpFile)
    : FormWindow(forms::MainForm()),
      store_(store),
      appWindow_(appWindow),
      router_(forms::MainForm(), forms::MakeTable(kHandlers)),
      helpFile_(std::move(helpFile)) {}

TfrmMain::~TfrmMain() = default;

void TfrmMain::Create() {
  CreateForm(appWindow_);
  for (int page = 0; page < kPageCount; ++page) {
    grids_[page].Attach(ControlWindow(forms::kMainGridNames[page]));
  }
  if (const BuiltControl* timer = built().Find(forms::kMainTimer)) {
    timerId_ = static_cast<UINT_PTR>(timer->id);
  }
  const FontFace standardFont = StandardFont(GetACP() == 932);
  model_.emplace(store_, standardFont, static_cast<PaletteWindowView&>(*this), scale());
  desktop_ = std::make_unique<DesktopWin>(hwnd(), LoadDragCursor(GetModuleHandleW(nullptr)));
  transferView_ = std::make_unique<PaletteTransferView>(hwnd(), grids_, *model_);
  transfer_ = std::make_unique<ItemTransfer>(*desktop_, *transferView_);
  commands_ = std::make_unique<MainCommands>(*model_, static_cast<CommandHost&>(*this));
  CreateTaskTray();
  Fire(nullptr, Event::Create, {});
}

void TfrmMain::CreateTaskTray() {
  TaskTray1 = std::make_unique<TTaskTray>();
  TaskTray1->SetTips("Tabcard");
  TaskTray1->OnMouseUp = [this](forms::MouseButton button, int, int) {
    commands_->TaskTray1MouseUp(button);
  };
  TaskTray1->OnMouseDblClick = [this] { commands_->TaskTray1MouseDblClick(); };
  TaskTray1->Loaded();
}

bool TfrmMain::Fire(const char* control, Event event, const EventArgs& args) {
  // Messages that arrive while the controls are still being built have no
  // model to go to yet.
  if (!model_) return false;
  return router_.Fire(*this, control, event, args);
}

// ---- handlers ----

void TfrmMain::FormCreate(const EventArgs&) { model_->FormCreate(); }

void TfrmMain::FormShow(const EventArgs&) {
  BuildSystemMenu(hwnd(), commands_->MenuState());
  model_->FormShow();
  // The first-run dialogs come once the window is on the screen, not from
  // inside the ShowWindow that is making it visible.
  if (model_->FirstRun) PostMessageW(hwnd(), kFirstRunMessage, 0, 0);
}

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

LRESULT TfrmMain::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_DESTROY:
      KillTimer(hwnd(), timerId_);
      PostQuitMessage(0);
      return 0;
    case WM_NOTIFY: {
      // Not a form event: only a drag in progress cares that no drop will come.
      const auto& hdr = *reinterpret_cast<const NMHDR*>(lp);
      const BuiltControl* c = built().FindByWindow(hdr.hwndFrom);
      const int page = c ? PageOfGrid(c->desc->name) : -1;
      if (hdr.code == SGN_CAPTURELOST && page >= 0 && transfer_) transfer_->SGridCaptureLost(page);
      if (hdr.code == SGN_KEYDOWN && page >= 0) {
        return OnGridKey(page, reinterpret_cast<const GridKeyNotify&>(hdr)) ? 1 : 0;
      }
      return 0;
    }
    case WM_CONTEXTMENU:
      if (OnContextMenu(reinterpret_cast<HWND>(wp), lp)) return 0;
      break;
    case WM_DISPLAYCHANGE:
      // Reported here, and the message still gets its default processing.
      if (model_) RunReported(hwnd(), [&] { model_->DisplayChanged(); });
      break;
    case WM_SYSCOMMAND:
      if (commands_) RunReported(hwnd(), [&] { commands_->SysCommand(static_cast<int>(wp)); });
      break;
    case kFirstRunMessage:
      if (commands_) RunReported(hwnd(), [&] { commands_->FirstRunDialogs(); });
      return 0;
    case WM_INITMENU:
      if (commands_) RefreshSystemMenu(hwnd(), commands_->MenuState());
      break;
    default:
      break;
  }
  return DefaultProc(msg, wp, lp);
}

// The palette without a mouse: Enter or Space sends the current cell as a
// double-click does, Ctrl+TAB and Ctrl+Shift+TAB turn the page.
bool TfrmMain::OnGridKey(int page, const GridKeyNotify& key) {
  if (!transfer_ || !model_) return false;
  const bool ctrl = (key.keys & MK_CONTROL) != 0, shift = (key.keys & MK_SHIFT) != 0;
  switch (PaletteKey(key.vkey, ctrl, shift, GetKeyState(VK_MENU) < 0)) {
    case PaletteKeyAction::kSend:
      RunReported(hwnd(), [&] { transfer_->SGridDblClik(page); });
      return true;
    case PaletteKeyAction::kNextPage:
    case PaletteKeyAction::kPreviousPage: {
      const int to = TurnedPage(page, kPageCount,
                                !shift);
      SetActivePage(to);
      RunReported(hwnd(), [&] { model_->PageControl1Change(); });
      SetFocus(Grid(to).Handle());
      return true;
    }
    default:
      return false;
  }
}

bool TfrmMain::OnContextMenu(HWND from, LPARAM lp) {
  int page = -1;
  for (int p = 0; p < kPageCount; ++p) {
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
  if (page == kPageMemo || page == kPageList) {
    const int command = TrackPopup(
        hwnd(), BuildPopupMenu(page == kPageMemo ? MemoMenuLayout() : ListMenuLayout()), pt);
    if (command != 0) commands_->Command(command);
    return true;
  }
  const int command = TrackPopup(hwnd(), BuildPopupMenu(KojinMenuLayout()), pt);
  if (command != 0) transfer_->mnuKnjShimeiClick(KojinMenuCaption(command));
  return true;
}

void TfrmMain::OnScaleChanged() {
  if (model_) model_->DpiChanged(scale());
}

// ---- PaletteWindowView ----

StringGrid& TfrmMain::Grid(int page) const { return grids_.at(static_cast<std::size_t>(page)); }

HWND TfrmMain::PageControl() const { return ControlWindow(forms::kMainPageControl); }

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
  RedrawPause pause(g.Handle());
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

int TfrmMain::ActivePage() const { return ActiveTab(built(), forms::kMainPageControl); }

void TfrmMain::SetActivePage(int page) { ShowSheet(built(), forms::kMainPageControl, page); }

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

bool TfrmMain::TrayIconShown() const { return TaskTray1 && TaskTray1->IconAdded(); }

}  // namespace tabcard
