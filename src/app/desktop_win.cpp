#include "app/desktop_win.h"

#include "res/transfer_res.h"
#include "ui/clipboard_win.h"
#include "ui/pause_win.h"

namespace tabcard {

namespace {

// Deeper chains than this are loops of a confused program.
constexpr int kMaxClimb = 256;

HWND ParentOrOwner(HWND w) {
  if (GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD) {
    HWND parent = GetAncestor(w, GA_PARENT);
    return parent == GetDesktopWindow() ? nullptr : parent;
  }
  return GetWindow(w, GW_OWNER);
}

}  // namespace

HCURSOR LoadDragCursor(HINSTANCE instance) {
  return LoadCursorW(instance, MAKEINTRESOURCEW(IDC_DRAGCOPY));
}

HWND TopLevelWindow(HWND w) {
  if (!w || !IsWindow(w)) return nullptr;
  for (int i = 0; i < kMaxClimb; ++i) {
    HWND up = ParentOrOwner(w);
    if (!up) break;
    w = up;
  }
  return w;
}

DesktopWin::DesktopWin(HWND clipboardOwner, HCURSOR dragCursor)
    : clipboardOwner_(clipboardOwner),
      dragCursor_(dragCursor ? dragCursor : LoadCursorW(nullptr, IDC_ARROW)) {}

ScreenPoint DesktopWin::CursorPos() {
  POINT pt{};
  GetCursorPos(&pt);
  return {pt.x, pt.y};
}

WindowId DesktopWin::WindowFromPoint(ScreenPoint p) {
  return ToWindowId(::WindowFromPoint(POINT{p.x, p.y}));
}

WindowId DesktopWin::ParentOf(WindowId w) { return ToWindowId(GetParent(ToHwnd(w))); }

WindowId DesktopWin::TopLevelOf(WindowId w) { return ToWindowId(TopLevelWindow(ToHwnd(w))); }

WindowId DesktopWin::LastActivePopup(WindowId w) {
  HWND popup = GetLastActivePopup(ToHwnd(w));
  // A hidden or disabled one cannot take the paste.
  if (!popup || !IsWindowVisible(popup) || !IsWindowEnabled(popup)) return w;
  return ToWindowId(popup);
}

bool DesktopWin::Exists(WindowId w) { return w != kNoWindow && IsWindow(ToHwnd(w)); }

bool DesktopWin::IsOwnWindow(WindowId w) {
  // All of the program's windows live on its one user-interface thread.
  return GetWindowThreadProcessId(ToHwnd(w), nullptr) == GetCurrentThreadId();
}

ScreenPoint DesktopWin::ScreenToClient(WindowId w, ScreenPoint p) {
  POINT pt{p.x, p.y};
  ::ScreenToClient(ToHwnd(w), &pt);
  return {pt.x, pt.y};
}

bool DesktopWin::SetForeground(WindowId w) { return SetForegroundWindow(ToHwnd(w)) != FALSE; }

WindowId DesktopWin::Foreground() { return ToWindowId(GetForegroundWindow()); }

SendResult DesktopWin::Send(WindowId w, unsigned msg, std::uintptr_t wParam,
                            std::intptr_t lParam) {
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(ToHwnd(w), msg, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                          kSendTimeoutMs, &result)) {
    return SendResult::kDone;
  }
  return IsWindow(ToHwnd(w)) ? SendResult::kNoResponse : SendResult::kNoWindow;
}

void DesktopWin::KeyEvent(unsigned char virtualKey, unsigned flags) {
  keybd_event(virtualKey, 0, flags, 0);
}

bool DesktopWin::PlaceClipboardText(std::string_view bytes) {
  return tabcard::PlaceClipboardText(clipboardOwner_, bytes, kClipboardRetryMs);
}

ClipboardText DesktopWin::ReadClipboardText(std::size_t maxBytes) {
  // Every UTF-16 unit gives at least one byte: maxBytes units are enough.
  return tabcard::ReadClipboardText(clipboardOwner_, maxBytes, 0);
}

std::uint32_t DesktopWin::ClipboardSequence() { return GetClipboardSequenceNumber(); }

void DesktopWin::Beep() { MessageBeep(MB_OK); }

void DesktopWin::ShowDragCursor(bool dragging) {
  SetCursor(dragging ? dragCursor_ : LoadCursorW(nullptr, IDC_ARROW));
}

void DesktopWin::SetCapture(WindowId w) { ::SetCapture(ToHwnd(w)); }

void DesktopWin::ReleaseCapture() { ::ReleaseCapture(); }

std::uint64_t DesktopWin::NowMs() { return GetTickCount64(); }

void DesktopWin::Pause(unsigned ms) { PauseAnsweringSentMessages(ms); }

}  // namespace tabcard
