#include "ui/form_window_win.h"

#include <commctrl.h>

#include <stdexcept>

#include "core/strconv_win.h"
#include "res/app_res.h"
#include "ui/dpi_win.h"
#include "ui/ime_win.h"
#include "ui/string_grid_win.h"

namespace tabcard {
namespace {

using forms::ControlKind;
using forms::Event;
using forms::EventArgs;

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

bool GridMouseEvent(UINT code, Event* event) {
  switch (code) {
    case SGN_MOUSEDOWN:
      *event = Event::MouseDown;
      return true;
    case SGN_MOUSEMOVE:
      *event = Event::MouseMove;
      return true;
    case SGN_MOUSEUP:
      *event = Event::MouseUp;
      return true;
    case SGN_DBLCLK:
      *event = Event::DblClick;
      return true;
    default:
      return false;
  }
}

// The notifications of edits and lists that are form events.
const Event* CommandEvent(ControlKind kind, int code) {
  struct Mapping {
    ControlKind kind;
    int code;
    Event event;
  };
  static const Mapping kMappings[] = {
      {ControlKind::Edit, EN_CHANGE, Event::Change},
      {ControlKind::ComboBox, CBN_SELCHANGE, Event::Change},
      {ControlKind::ListBox, LBN_SELCHANGE, Event::Change},
      {ControlKind::ListBox, LBN_DBLCLK, Event::DblClick},
  };
  for (const Mapping& m : kMappings) {
    if (m.kind == kind && m.code == code) return &m.event;
  }
  return nullptr;
}

// The window's outer rectangle at a scale, at the origin.
RECT OuterRect(const forms::FormDesc& form, const DpiScale& scale) {
  RECT r{0, 0, scale.Px(form.bounds.width), scale.Px(form.bounds.height)};
  if (form.clientSize) AdjustWindowRectEx(&r, FormStyle(form), FALSE, FormExStyle(form));
  OffsetRect(&r, -r.left, -r.top);
  return r;
}

}  // namespace

bool RouteDialogMessage(MSG& msg) {
  if (!msg.hwnd) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  // Only our forms: a tooltip or a menu window is no dialog.
  if (!root || !(GetWindowLongW(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)) return false;
  return IsDialogMessageW(root, &msg) != FALSE;
}

FormWindow::FormWindow(const forms::FormDesc& form)
    : form_(form), className_(Widen(form.className ? form.className : "")) {}

void FormWindow::CreateForm(HWND owner) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TABCARD));
  RegisterClassOnce(className_.c_str(), CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                    icon ? icon : LoadIconW(nullptr, IDI_APPLICATION));
  // Created at the design size and then scaled for the monitor it is on:
  // asking a monitor for its DPI before there is a window loads shcore.dll.
  Window::Create(className_.c_str(), FormExStyle(form_), FormStyle(form_), Widen(form_.caption),
                 OuterRect(form_, DpiScale()), owner);
  scale_ = DpiScale(WindowDpi(hwnd()));
  if (scale_.dpi() != kDesignDpi) {
    const RECT r = OuterRect(form_, scale_);
    SetWindowPos(hwnd(), nullptr, 0, 0, r.right, r.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  built_ = BuildControls(form_, hwnd(), scale_);
  LayoutControls(built_, hwnd());
  if (form_.position == forms::Position::OwnerMonitorCenter) PlaceOnOwnerMonitor(owner);
}

void FormWindow::PlaceOnOwnerMonitor(HWND owner) {
  HMONITOR monitor = MonitorFromWindow(owner ? owner : hwnd(), MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(monitor, &info)) return;
  const RECT& area = info.rcWork;
  const RECT r = self().ScreenBounds();
  const int w = r.right - r.left, h = r.bottom - r.top;
  SetWindowPos(hwnd(), nullptr, area.left + (area.right - area.left - w) / 2,
               area.top + (area.bottom - area.top - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND FormWindow::ControlWindow(std::string_view name) const {
  const BuiltControl* c = built_.Find(name);
  return c ? c->hwnd : nullptr;
}

std::string FormWindow::ControlText(std::string_view name) const {
  return Narrow(WindowRef(ControlWindow(name)).Text());
}

void FormWindow::SetControlText(std::string_view name, std::string_view cp932) const {
  WindowRef(ControlWindow(name)).SetText(Widen(cp932));
}

void FormWindow::FocusControl(std::string_view name) const {
  if (HWND h = ControlWindow(name)) SetFocus(h);
}

int FormWindow::ShowModal(HWND owner) {
  modal_ = true;
  modalResult_ = forms::kModalNone;
  const bool disable = owner && IsWindowEnabled(owner);
  if (disable) EnableWindow(owner, FALSE);
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  if (HWND first = GetNextDlgTabItem(hwnd(), nullptr, FALSE)) SetFocus(first);
  MSG msg{};
  bool quit = false;
  while (modalResult_ == forms::kModalNone && hwnd()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      quit = true;
      break;
    }
    if (got == -1) break;
    if (!RouteDialogMessage(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  modal_ = false;
  // Enabled before the dialog goes, so the activation returns to the owner.
  if (disable) EnableWindow(owner, TRUE);
  if (HWND h = hwnd()) DestroyWindow(h);
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
  return modalResult_ == forms::kModalNone ? forms::kModalCancel : modalResult_;
}

bool FormWindow::FireEvent(const char* control, Event event, EventArgs args) {
  return Fire(control, event, args);
}

LRESULT FormWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      if (wp != SIZE_MINIMIZED) {
        LayoutControls(built_, hwnd());
        FireEvent(nullptr, Event::Resize);
      }
      return 0;
    case WM_SHOWWINDOW:
      if (wp && lp == 0) FireEvent(nullptr, Event::Show);
      break;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) FireEvent(nullptr, Event::Activate);
      break;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_TIMER:
      if (const BuiltControl* c = built_.FindById(static_cast<int>(wp));
          c && c->desc->kind == ControlKind::Timer) {
        FireEvent(c->desc->name, Event::Timer);
        return 0;
      }
      break;
    case WM_NOTIFY:
      return OnNotify(msg, wp, lp);
    case WM_COMMAND:
      return OnCommand(msg, wp, lp);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return OnCtlColor(msg, wp, lp);
    case DM_GETDEFID:
      if (const int id = forms::DefaultButtonId(form_)) return MAKELRESULT(id, DC_HASDEFID);
      break;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
      return 0;
    default:
      break;
  }
  return OnMessage(msg, wp, lp);
}

LRESULT FormWindow::OnNotify(UINT msg, WPARAM wp, LPARAM lp) {
  const NMHDR& hdr = *reinterpret_cast<const NMHDR*>(lp);
  const BuiltControl* c = built_.FindByWindow(hdr.hwndFrom);
  if (c && c->desc->kind == ControlKind::PageControl && hdr.code == TCN_SELCHANGE) {
    ShowSheet(built_, c->desc->name, ActiveTab(built_, c->desc->name));
    FireEvent(c->desc->name, Event::Change);
    return 0;
  }
  // The user moved a grid's current cell, with the mouse or a key.
  if (c && c->desc->kind == ControlKind::StringGrid && hdr.code == SGN_SELCHANGE) {
    FireEvent(c->desc->name, Event::Change);
    return 0;
  }
  Event event;
  if (c && c->desc->kind == ControlKind::StringGrid && GridMouseEvent(hdr.code, &event)) {
    const auto& n = reinterpret_cast<const GridMouseNotify&>(hdr);
    EventArgs args;
    args.button = ButtonOf(n.button);
    args.x = n.pt.x;
    args.y = n.pt.y;
    FireEvent(c->desc->name, event, args);
    return 0;
  }
  return OnMessage(msg, wp, lp);
}

LRESULT FormWindow::OnCommand(UINT msg, WPARAM wp, LPARAM lp) {
  const int id = LOWORD(wp);
  const int code = HIWORD(wp);
  // lParam 0 with a control's id: Enter or Esc through IsDialogMessage,
  // which finds only the form's direct children by id.
  const BuiltControl* c = built_.FindById(id);
  if (c && c->hwnd && (lp == 0 || reinterpret_cast<HWND>(lp) == c->hwnd)) {
    const bool choice =
        c->desc->kind == ControlKind::CheckBox || c->desc->kind == ControlKind::RadioButton;
    if (choice && code == BN_CLICKED) {
      FireEvent(c->desc->name, Event::Click);
      return 0;
    }
    if (c->desc->kind == ControlKind::Button && code == BN_CLICKED) {
      if (!IsWindowEnabled(c->hwnd)) return 0;
      bool accept = true;
      EventArgs args;
      args.accept = &accept;
      FireEvent(c->desc->name, Event::Click, args);
      if (accept && c->desc->modalResult != forms::kModalNone && modal_) {
        EndModal(c->desc->modalResult);
      }
      return 0;
    }
    if (c->desc->kind == ControlKind::Edit && code == EN_SETFOCUS) {
      ApplyImeMode(c->hwnd, c->desc->edit.ime);
    }
    if (const Event* event = CommandEvent(c->desc->kind, code)) {
      FireEvent(c->desc->name, *event);
      return 0;
    }
  }
  if (!c && id == IDCANCEL && lp == 0 && modal_) {
    // Esc on a form without a cancel button closes it as its close box does.
    OnClose();
    return 0;
  }
  return OnMessage(msg, wp, lp);
}

LRESULT FormWindow::OnCtlColor(UINT msg, WPARAM wp, LPARAM lp) {
  const BuiltControl* c = built_.FindByWindow(reinterpret_cast<HWND>(lp));
  if (!c || c->desc->font.color == forms::kNoColor) return OnMessage(msg, wp, lp);
  HDC dc = reinterpret_cast<HDC>(wp);
  SetTextColor(dc, static_cast<COLORREF>(c->desc->font.color));
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void FormWindow::OnClose() {
  bool accept = true;
  EventArgs args;
  args.accept = &accept;
  FireEvent(nullptr, Event::Close, args);
  if (!accept) return;
  if (modal_) {
    if (modalResult_ == forms::kModalNone) EndModal(forms::kModalCancel);
    return;
  }
  DestroyWindow(hwnd());
}

void FormWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  scale_ = DpiScale(dpi);
  RescaleControls(form_, built_, scale_);
  SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayoutControls(built_, hwnd());
  OnScaleChanged();
}

}  // namespace tabcard
