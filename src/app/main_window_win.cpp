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
#include "core/strconv_win.h"
#include "forms/main_form.h"
#include "store/layout.h"
#include "ui/app_error_win.h"
#include "ui/drag_cursor_win.h"
#include "ui/dpi_win.h"
#include "ui/grid_view_win.h"
#include "ui/menu_win.h"

namespace tabcard {
namespace {

using forms::Event;
using forms::FormEvent;
using forms::MainControl;

// RegisterHotKey's identifiers of the two chords.
constexpr int kShowHotKeyId = 1;
constexpr int kStepHotKeyId = 2;
constexpr UINT kNoRepeat = 0x4000;  // MOD_NOREPEAT: a held chord fires once

struct MonitorList {
  std::vector<MonitorRect> rects;
  bool workAreas = false;  // else the whole monitors
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  auto* monitors = reinterpret_cast<MonitorList*>(data);
  auto* list = &monitors->rects;
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  const RECT& r = monitors->workAreas ? info.rcWork : info.rcMonitor;
  const MonitorRect m{r.left, r.top, r.right, r.bottom};
  // The primary first: placement prefers it on a tie.
  if (info.dwFlags & MONITORINFOF_PRIMARY) {
    list->insert(list->begin(), m);
  } else {
    list->push_back(m);
  }
  return TRUE;
}

// Workspace coordinates (those of WINDOWPLACEMENT) count from the work area
// of the window's monitor, screen coordinates from the screen.
POINT WorkspaceOffset(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) return {};
  return POINT{info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
}

}  // namespace

TfrmMain::TfrmMain(RegistryBackend& store, HWND appWindow, std::wstring helpFile)
    : FormWindow(forms::MainForm()),
      store_(store),
      appWindow_(appWindow),
      helpFile_(std::move(helpFile)) {}

TfrmMain::~TfrmMain() = default;

void TfrmMain::Create() {
  CreateForm(appWindow_);
  for (int page = 0; page < kPageCount; ++page) {
    grids_[page].Attach(ControlWindow(forms::kMainGrids[page]));
  }
  timerId_ = static_cast<UINT_PTR>(forms::IdOf(MainControl::Timer1));
  const FontFace standardFont = StandardFont(GetACP() == 932);
  model_.emplace(store_, standardFont, static_cast<PaletteWindowView&>(*this), scale());
  desktop_ = std::make_unique<DesktopWin>(hwnd(), LoadDragCursor());
  transferView_ = std::make_unique<PaletteTransferView>(hwnd(), grids_);
  transfer_ = std::make_unique<ItemTransfer>(*desktop_, *transferView_, *model_, *model_);
  commands_ = std::make_unique<MainCommands>(*model_, static_cast<CommandHost&>(*this));
  CreateTaskTray();
  FormCreate();
  RegisterStoredHotKeys();
}

void TfrmMain::CreateTaskTray() {
  TaskTray1 = std::make_unique<TTaskTray>();
  TaskTray1->SetTips("Tabcard");
  TaskTray1->OnMouseUp = [this](MouseButton button, int, int) {
    commands_->IconReleased(button);
  };
  TaskTray1->OnMouseDblClick = [this] { commands_->IconDoubleClicked(); };
  TaskTray1->Loaded();
}

bool TfrmMain::OnEvent(const FormEvent& e) {
  using C = MainControl;
  static constexpr forms::Handler<TfrmMain, C> kHandlers[] = {
      {C::frmMain, Event::Show, &TfrmMain::FormShow},
      {C::frmMain, Event::Resize, &TfrmMain::FormResize},
      {C::frmMain, Event::Close, &TfrmMain::FormClose},
      {C::PageControl1, Event::Change, &TfrmMain::PageControl1Change},
      {C::SGrdKjn1, Event::MouseDown, &TfrmMain::SGridMouseDown},
      {C::SGrdKjn2, Event::MouseDown, &TfrmMain::SGridMouseDown},
      {C::SGrdMemo, Event::MouseDown, &TfrmMain::SGridMouseDown},
      {C::SGrdList, Event::MouseDown, &TfrmMain::SGridMouseDown},
      {C::SGrdKjn1, Event::MouseMove, &TfrmMain::SGridMouseMove},
      {C::SGrdKjn2, Event::MouseMove, &TfrmMain::SGridMouseMove},
      {C::SGrdMemo, Event::MouseMove, &TfrmMain::SGridMouseMove},
      {C::SGrdList, Event::MouseMove, &TfrmMain::SGridMouseMove},
      {C::SGrdKjn1, Event::MouseUp, &TfrmMain::SGridMouseUp},
      {C::SGrdKjn2, Event::MouseUp, &TfrmMain::SGridMouseUp},
      {C::SGrdMemo, Event::MouseUp, &TfrmMain::SGridMouseUp},
      {C::SGrdList, Event::MouseUp, &TfrmMain::SGridMouseUp},
      {C::SGrdKjn1, Event::DblClick, &TfrmMain::SGridDblClik},
      {C::SGrdKjn2, Event::DblClick, &TfrmMain::SGridDblClik},
      {C::SGrdMemo, Event::DblClick, &TfrmMain::SGridDblClik},
      {C::SGrdList, Event::DblClick, &TfrmMain::SGridDblClik},
      {C::Timer1, Event::Timer, &TfrmMain::Timer1Timer},
  };
  // Messages that arrive while the controls are still being built have no
  // model to go to yet.
  return model_ && forms::Dispatch(*this, kHandlers, e);
}

// ---- handlers ----

void TfrmMain::FormCreate() { model_->FormCreate(); }

void TfrmMain::FormShow(const FormEvent&) {
  BuildSystemMenu(hwnd(), commands_->MenuState());
  model_->FormShow();
  // The first-run dialogs come once the window is on the screen, not from
  // inside the ShowWindow that is making it visible.
  if (model_->FirstRun) PostMessageW(hwnd(), kFirstRunMessage, 0, 0);
}

void TfrmMain::FormResize(const FormEvent&) { model_->FormResize(); }

void TfrmMain::FormClose(const FormEvent& e) {
  if (!model_->FormClose()) e.Refuse();
}

void TfrmMain::PageControl1Change(const FormEvent&) { model_->PageShown(); }

// The four grids share these; the event names the grid.
void TfrmMain::SGridMouseDown(const FormEvent& e) {
  transfer_->Press(forms::MainGridPage(e.control), e.cell, e.button);
}

void TfrmMain::SGridMouseMove(const FormEvent& e) {
  transfer_->Move(forms::MainGridPage(e.control), e.cell);
}

void TfrmMain::SGridMouseUp(const FormEvent& e) {
  transfer_->Release(forms::MainGridPage(e.control), e.cell, e.button);
}

void TfrmMain::SGridDblClik(const FormEvent& e) {
  transfer_->SendCell(forms::MainGridPage(e.control), e.cell);
}

void TfrmMain::Timer1Timer(const FormEvent&) {
  KillTimer(hwnd(), timerId_);
  // Started again whatever the tick does, so a failed tick does not end the
  // title display for good.
  struct Restart {
    HWND hwnd;
    UINT_PTR id;
    ~Restart() { SetTimer(hwnd, id, kTickMs, nullptr); }
  } restart{hwnd(), timerId_};
  transfer_->Tick();
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
      const int page = c ? forms::MainGridPage(c->id) : -1;
      if (hdr.code == SGN_CAPTURELOST && page >= 0 && transfer_) transfer_->CaptureLost(page);
      if (hdr.code == SGN_KEYDOWN && page >= 0) {
        return OnGridKey(page, reinterpret_cast<const GridKeyNotify&>(hdr)) ? 1 : 0;
      }
      return 0;
    }
    case WM_CONTEXTMENU:
      if (OnContextMenu(reinterpret_cast<HWND>(wp), lp)) return 0;
      break;
    case WM_HOTKEY:
      RunReported(hwnd(), [&] { OnHotKey(static_cast<int>(wp)); });
      return 0;
    case WM_MOUSEACTIVATE:
      // A click on the tabs or the cells leaves the form in front active,
      // as an on-screen keyboard does: the paste goes into the field that
      // still has the focus. The title bar and the frame activate.
      if (LOWORD(lp) == HTCLIENT) return MA_NOACTIVATE;
      break;
    case WM_COMMAND:
      // Esc, through the dialog manager: back to the form.
      if (LOWORD(wp) == IDCANCEL && lp == 0 && commands_) {
        RunReported(hwnd(), [&] { commands_->ReturnFromPalette(); });
        return 0;
      }
      break;
    case WM_ENDSESSION:
      // Everything is written before the answer: Windows may end the process
      // at any moment after it. Nothing is shown.
      if (wp && model_) {
        RunReported(hwnd(), [&] { model_->SessionEnding(); });
        TaskTray1.reset();
      }
      return 0;
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
      RunReported(hwnd(), [&] { transfer_->SendCell(page, Grid(page).CurrentCell()); });
      return true;
    case PaletteKeyAction::kReturn:
      RunReported(hwnd(), [&] { commands_->ReturnFromPalette(); });
      return true;
    case PaletteKeyAction::kNextPage:
    case PaletteKeyAction::kPreviousPage: {
      const int to = TurnedPage(page, kPageCount, !shift);
      SetActivePage(to);
      RunReported(hwnd(), [&] { model_->PageShown(); });
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
  // From the keyboard: under the current cell, as menus opened by keys are.
  const POINT pt =
      lp == -1 ? MenuPointUnderCurrentCell(Grid(page)) : POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  if (page == kPageMemo || page == kPageList) {
    const int command = TrackPopup(
        hwnd(), BuildPopupMenu(page == kPageMemo ? MemoMenuLayout() : ListMenuLayout()), pt);
    if (command != 0) commands_->Command(command);
    return true;
  }
  const int command = TrackPopup(hwnd(), BuildPopupMenu(KojinMenuLayout()), pt);
  if (command != 0) transfer_->SendItem(KojinMenuItem(command));
  return true;
}

void TfrmMain::OnHotKey(int id) {
  if (!transfer_ || !commands_) return;
  if (id == kShowHotKeyId) commands_->ShowHotKey();
  if (id == kStepHotKeyId) {
    const int page = ActivePage();
    if (page >= 0 && page < kPageCount) transfer_->Step(page, Grid(page).CurrentCell());
  }
}

bool TfrmMain::Register(const HotKeys& keys, HotKey* taken) {
  const HotKeys before = registered_;
  auto registerAll = [this](const HotKeys& chords, HotKey* failed) {
    UnregisterHotKey(hwnd(), kShowHotKeyId);
    UnregisterHotKey(hwnd(), kStepHotKeyId);
    registered_ = HotKeys{kNoHotKey, kNoHotKey};
    for (const auto& [id, key] : {std::pair{kShowHotKeyId, chords.show}, std::pair{kStepHotKeyId, chords.step}}) {
      if (key == kNoHotKey) continue;
      if (!RegisterHotKey(hwnd(), id, RegisterModifiers(key) | kNoRepeat, HotKeyVk(key))) {
        if (failed) *failed = key;
        return false;
      }
      (id == kShowHotKeyId ? registered_.show : registered_.step) = key;
    }
    return true;
  };
  if (registerAll(keys, taken)) return true;
  registerAll(before, nullptr);
  return false;
}

void TfrmMain::RegisterStoredHotKeys() {
  const HotKeys& stored = model_->settings().hotKeys;
  for (const HotKey key : {stored.show, stored.step}) {
    HotKey taken = kNoHotKey;
    const HotKeys one = key == stored.show ? HotKeys{key, registered_.step} : HotKeys{registered_.show, key};
    if (key == kNoHotKey || Register(one, &taken)) continue;
    const std::wstring text = Widen(HotKeyTakenText(taken));
    if (TaskTray1 && TaskTray1->IconAdded()) {
      TaskTray1->ShowBalloon(L"タブカード", text);
    } else {
      if (!notice_) notice_ = std::make_unique<NoticeTip>(hwnd());
      const RECT r = self().ScreenBounds();
      notice_->Show(text, POINT{(r.left + r.right) / 2, r.bottom});
    }
  }
}

void TfrmMain::OnScaleChanged() {
  if (model_) model_->DpiChanged(scale());
}

// ---- PaletteWindowView ----

StringGrid& TfrmMain::Grid(int page) const { return grids_.at(static_cast<std::size_t>(page)); }

HWND TfrmMain::PageControl() const { return ControlWindow(MainControl::PageControl1); }

void TfrmMain::SetGridGeometry(int page, int cols, int rows, int colWidth, int rowHeight) {
  Grid(page).SetGeometry(cols, rows, colWidth, rowHeight);
}

void TfrmMain::SetGridFont(int page, const GridFont& font) {
  tabcard::SetGridFont(Grid(page), font, scale());
}

void TfrmMain::SetGridColumns(int page, int cols, int colWidth) {
  StringGrid& g = Grid(page);
  g.SetGeometry(cols, g.RowCount(), colWidth, g.DefaultRowHeight());
}

int TfrmMain::GridClientWidth(int page) const {
  RECT r{};
  GetClientRect(Grid(page).Handle(), &r);
  return r.right - r.left;
}

void TfrmMain::SetGridCells(int page, const CellTexts& cells) {
  RedrawPause pause(Grid(page).Handle());
  FillGrid(Grid(page), cells);
}

void TfrmMain::SetCellText(int page, GridCell cell, const std::string& text) {
  Grid(page).SetCell(cell.col, cell.row, text);
}

void TfrmMain::SetGridMarks(int page, const CellTexts& marks) {
  RedrawPause pause(Grid(page).Handle());
  FillGridMarks(Grid(page), marks);
}

int TfrmMain::PageControlWidth() const {
  RECT r{};
  GetWindowRect(PageControl(), &r);
  return r.right - r.left;
}

void TfrmMain::SetTabWidth(int width) { tabcard::SetTabWidth(PageControl(), width); }

int TfrmMain::ActivePage() const {
  return ActiveTab(built(), forms::IdOf(MainControl::PageControl1));
}

void TfrmMain::SetActivePage(int page) {
  ShowSheet(built(), forms::IdOf(MainControl::PageControl1), page);
}

// A minimised window's own rectangle is its icon's: the palette's bounds are
// those it is restored to.
WindowBounds TfrmMain::Bounds() const {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  RECT r = self().ScreenBounds();
  if (IsIconic(hwnd()) && GetWindowPlacement(hwnd(), &placement)) {
    r = placement.rcNormalPosition;
    const POINT offset = WorkspaceOffset(hwnd());
    OffsetRect(&r, offset.x, offset.y);
  }
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
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (IsIconic(hwnd()) && GetWindowPlacement(hwnd(), &placement)) {
    // Moved where it will be restored to, and left minimised.
    const POINT offset = WorkspaceOffset(hwnd());
    placement.rcNormalPosition =
        RECT{b.left - offset.x, b.top - offset.y, b.left - offset.x + b.width, b.top - offset.y + b.height};
    SetWindowPlacement(hwnd(), &placement);
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
  MonitorList list;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&list));
  return list.rects;
}

std::vector<MonitorRect> TfrmMain::WorkAreas() const {
  MonitorList list;
  list.workAreas = true;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&list));
  return list.rects;
}

bool TfrmMain::TrayIconShown() const { return TaskTray1 && TaskTray1->IconAdded(); }

}  // namespace tabcard
