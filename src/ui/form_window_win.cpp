#include "ui/form_window_win.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "core/strconv_win.h"
#include "core/text.h"
#include "res/app_res.h"
#include "ui/dpi_win.h"
#include "ui/form_events.h"
#include "ui/ime_win.h"
#include "ui/string_grid_win.h"

namespace tabcard {
namespace {

using forms::ControlKind;
using forms::Event;
using forms::FormEvent;

static_assert(notify::kButtonClicked == BN_CLICKED && notify::kEditChange == EN_CHANGE &&
              notify::kComboSelChange == CBN_SELCHANGE &&
              notify::kListSelChange == LBN_SELCHANGE && notify::kListDblClick == LBN_DBLCLK &&
              notify::kTabSelChange == TCN_SELCHANGE);
static_assert(notify::kGridMouseDown == SGN_MOUSEDOWN && notify::kGridMouseMove == SGN_MOUSEMOVE &&
              notify::kGridMouseUp == SGN_MOUSEUP && notify::kGridDblClick == SGN_DBLCLK &&
              notify::kGridSelChange == SGN_SELCHANGE);

MouseButton ButtonOf(GridButton b) {
  switch (b) {
    case GridButton::kLeft:
      return MouseButton::Left;
    case GridButton::kRight:
      return MouseButton::Right;
    case GridButton::kMiddle:
      return MouseButton::Middle;
    default:
      return MouseButton::None;
  }
}

// Said once for each entry that was cut.
std::string LimitNotice(std::size_t limit) {
  return "ここには " + std::to_string(limit) + " バイト（全角 " + std::to_string(limit / 2) +
         " 文字）までしか入りません。超えた分は入力されませんでした。";
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

HWND FormWindow::WindowOf(int id) const {
  const BuiltControl* c = built_.Find(id);
  return c ? c->hwnd : nullptr;
}

std::string FormWindow::TextOf(int id) const { return Narrow(WindowRef(WindowOf(id)).Text()); }

void FormWindow::SetTextOf(int id, std::string_view cp932) const {
  WindowRef(WindowOf(id)).SetText(Widen(cp932));
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

// c: the control, nullptr for the form itself.
bool FormWindow::Raise(const BuiltControl* c, Event event, FormEvent e) {
  e.control = c ? c->id : forms::kFormItself;
  e.event = event;
  return OnEvent(e);
}

LRESULT FormWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      if (wp != SIZE_MINIMIZED) {
        LayoutControls(built_, hwnd());
        Raise(nullptr, Event::Resize);
      }
      return 0;
    case WM_SHOWWINDOW:
      if (wp && lp == 0) Raise(nullptr, Event::Show);
      break;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_TIMER:
      if (const BuiltControl* c = built_.Find(static_cast<int>(wp));
          c && c->desc->kind == ControlKind::Timer) {
        Raise(c, Event::Timer);
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
    case WM_QUERYENDSESSION:
      return OnQueryEndSession();
    case WM_DESTROY:
      if (blocksSessionEnd_) ShutdownBlockReasonDestroy(hwnd());
      blocksSessionEnd_ = false;
      break;
    default:
      break;
  }
  return OnMessage(msg, wp, lp);
}

// The edits stay, and Windows says why the session waits; a user who
// cancels the sign-out finds the dialog as it was.
LRESULT FormWindow::OnQueryEndSession() {
  if (!HasUnsavedChanges()) return TRUE;
  blocksSessionEnd_ = ShutdownBlockReasonCreate(hwnd(), UnsavedReason().c_str()) != FALSE;
  return FALSE;
}

LRESULT FormWindow::OnNotify(UINT msg, WPARAM wp, LPARAM lp) {
  const NMHDR& hdr = *reinterpret_cast<const NMHDR*>(lp);
  const BuiltControl* c = built_.FindByWindow(hdr.hwndFrom);
  const std::optional<Event> event = c ? NotifyEvent(c->desc->kind, hdr.code) : std::nullopt;
  if (!event) return OnMessage(msg, wp, lp);
  FormEvent e;
  if (c->desc->kind == ControlKind::PageControl) {
    ShowSheet(built_, c->id, ActiveTab(built_, c->id));
  } else if (*event == Event::Change) {
    e.cell = reinterpret_cast<const GridCellNotify&>(hdr).cell;
  } else {
    const auto& n = reinterpret_cast<const GridMouseNotify&>(hdr);
    e.button = ButtonOf(n.button);
    e.x = n.pt.x;
    e.y = n.pt.y;
    e.cell = n.cell;
  }
  Raise(c, *event, e);
  return 0;
}

LRESULT FormWindow::OnCommand(UINT msg, WPARAM wp, LPARAM lp) {
  const int id = LOWORD(wp);
  const int code = HIWORD(wp);
  // lParam 0 with a control's id: Enter or Esc through IsDialogMessage,
  // which finds only the form's direct children by id.
  const BuiltControl* c = built_.Find(id);
  if (c && c->hwnd && (lp == 0 || reinterpret_cast<HWND>(lp) == c->hwnd)) {
    if (c->desc->kind == ControlKind::Edit && code == EN_SETFOCUS) {
      ApplyImeMode(c->hwnd, c->desc->edit.ime);
    }
    if (c->desc->kind == ControlKind::Edit && code == EN_CHANGE && c->desc->edit.maxLength > 0) {
      HoldToLimit(*c);
    }
    if (const std::optional<Event> event = CommandEvent(c->desc->kind, code)) {
      if (c->desc->kind == ControlKind::Button) {
        OnButtonClick(*c);
      } else {
        Raise(c, *event);
      }
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

void FormWindow::HoldToLimit(const BuiltControl& edit) {
  const auto limit = static_cast<std::size_t>(edit.desc->edit.maxLength);
  const std::wstring text = WindowRef(edit.hwnd).Text();
  if (text.size() * 2 <= limit) return;  // fits whatever it holds
  DWORD caret = 0;
  SendMessageW(edit.hwnd, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  caret = std::min<DWORD>(caret, static_cast<DWORD>(text.size()));
  const std::string before = Narrow(text.substr(0, caret)), after = Narrow(text.substr(caret));
  if (before.size() + after.size() <= limit) return;
  const CaretText fitted = FitAroundCaret(before, after, limit);
  const std::wstring head = Widen(fitted.before);
  SetWindowTextW(edit.hwnd, (head + Widen(fitted.after)).c_str());
  SendMessageW(edit.hwnd, EM_SETSEL, head.size(), head.size());
  SendMessageW(edit.hwnd, EM_SCROLLCARET, 0, 0);
  SendMessageW(edit.hwnd, EM_SETMODIFY, TRUE, 0);
  if (!notice_) notice_ = std::make_unique<NoticeTip>(hwnd());
  RECT r{};
  GetWindowRect(edit.hwnd, &r);
  notice_->Show(Widen(LimitNotice(limit)), POINT{(r.left + r.right) / 2, r.bottom});
}

// A button with a modal result ends the modal run unless its handler refused.
void FormWindow::OnButtonClick(const BuiltControl& c) {
  if (!IsWindowEnabled(c.hwnd)) return;
  bool accept = true;
  FormEvent e;
  e.accept = &accept;
  Raise(&c, Event::Click, e);
  if (accept && c.desc->modalResult != forms::kModalNone && modal_) EndModal(c.desc->modalResult);
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
  FormEvent e;
  e.accept = &accept;
  Raise(nullptr, Event::Close, e);
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
