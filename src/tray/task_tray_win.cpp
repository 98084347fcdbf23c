#include "tray/task_tray_win.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>

#include "core/strconv_win.h"
#include "ui/dpi_win.h"

namespace tabcard {
namespace {

constexpr UINT_PTR kRetryTimerId = 1;

TrayIconHandle ToHandle(HICON icon) { return reinterpret_cast<TrayIconHandle>(icon); }

// An elevated program would otherwise never hear that Explorer restarted.
// The filter function exists from Windows 7 on.
void AllowFromLowerIntegrity(HWND hwnd, UINT msg) {
  using FilterFn = BOOL(WINAPI*)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (!user32) return;
  auto fn = reinterpret_cast<FilterFn>(
      reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilterEx")));
  if (fn) fn(hwnd, msg, MSGFLT_ALLOW, nullptr);
}

// The program's icon for the notification area, crisp at the system's DPI;
// null when the executable carries none.
OwnedIcon SmallAppIcon(HWND hwnd) {
  return LoadAppIcon(SystemMetricForDpi(SM_CXSMICON, WindowDpi(hwnd)));
}

}  // namespace

TTaskTray::Host::Host() : taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
  RegisterClassOnce(kTrayWindowClass, 0, nullptr);
  Create(kTrayWindowClass, WS_EX_TOOLWINDOW, WS_POPUP, L"", RECT{0, 0, 0, 0}, nullptr);
  if (taskbarCreated_) AllowFromLowerIntegrity(hwnd(), taskbarCreated_);
}

LRESULT TTaskTray::Host::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (!tray) return DefaultProc(msg, wp, lp);
  if (msg == kTrayCallbackMessage) {
    POINT p{};
    GetCursorPos(&p);
    if (tray->core_.Notify(static_cast<std::uintptr_t>(lp), p.x, p.y)) return 0;
  } else if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
    tray->TaskbarCreated();
    return 0;
  } else if (msg == WM_TIMER && wp == kRetryTimerId) {
    tray->RetryTick();
    return 0;
  }
  return DefaultProc(msg, wp, lp);
}

NOTIFYICONDATAW TTaskTray::Shell::Data(const TrayIconRecord& record) const {
  NOTIFYICONDATAW d{};
  d.cbSize = sizeof(d);
  d.hWnd = hwnd_;
  d.uID = kTrayIconId;
  d.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  d.uCallbackMessage = kTrayCallbackMessage;
  d.hIcon = reinterpret_cast<HICON>(record.icon);
  const std::wstring tip = Widen(record.tip);
  const std::size_t n = std::min(tip.size(), std::size(d.szTip) - 1);
  std::copy_n(tip.begin(), n, d.szTip);
  return d;
}

bool TTaskTray::Shell::Add(const TrayIconRecord& record) {
  NOTIFYICONDATAW d = Data(record);
  return Shell_NotifyIconW(NIM_ADD, &d) != FALSE;
}

bool TTaskTray::Shell::Modify(const TrayIconRecord& record) {
  NOTIFYICONDATAW d = Data(record);
  return Shell_NotifyIconW(NIM_MODIFY, &d) != FALSE;
}

void TTaskTray::Shell::Delete() {
  NOTIFYICONDATAW d{};
  d.cbSize = sizeof(d);
  d.hWnd = hwnd_;
  d.uID = kTrayIconId;
  Shell_NotifyIconW(NIM_DELETE, &d);
}

void TTaskTray::ShowBalloon(const std::wstring& title, const std::wstring& text) {
  if (!IconAdded()) return;
  NOTIFYICONDATAW d{};
  d.cbSize = sizeof(d);
  d.hWnd = window_.hwnd();
  d.uID = kTrayIconId;
  d.uFlags = NIF_INFO;
  d.dwInfoFlags = NIIF_WARNING;
  const auto copy = [](const std::wstring& from, wchar_t* to, std::size_t room) {
    const std::size_t n = std::min(from.size(), room - 1);
    std::copy_n(from.begin(), n, to);
    to[n] = L'\0';
  };
  copy(text, d.szInfo, std::size(d.szInfo));
  copy(title, d.szInfoTitle, std::size(d.szInfoTitle));
  Shell_NotifyIconW(NIM_MODIFY, &d);
}

TTaskTray::TTaskTray()
    : appIcon_(SmallAppIcon(window_.hwnd())),
      shell_(window_.hwnd()),
      core_(shell_, *this,
            ToHandle(appIcon_ ? appIcon_.get() : LoadIconW(nullptr, IDI_APPLICATION))) {
  window_.tray = this;
}

TTaskTray::~TTaskTray() { window_.tray = nullptr; }

void TTaskTray::SetIcon(OwnedIcon icon) {
  if (icon.get() == icon_.get()) {
    icon.Release();  // ours already
    return;
  }
  core_.SetIcon(ToHandle(icon.get()));
  // The old icon goes only once the shell shows the new one.
  icon_ = std::move(icon);
}

void TTaskTray::Loaded() {
  core_.Loaded();
  SyncRetryTimer();
}

void TTaskTray::TaskbarCreated() {
  core_.TaskbarCreated();
  SyncRetryTimer();
}

void TTaskTray::RetryTick() {
  core_.RetryTick();
  SyncRetryTimer();
}

void TTaskTray::SyncRetryTimer() {
  if (core_.RetryPending()) {
    SetTimer(window_.hwnd(), kRetryTimerId, kTrayRetryMs, nullptr);
  } else {
    KillTimer(window_.hwnd(), kRetryTimerId);
  }
}

}  // namespace tabcard
