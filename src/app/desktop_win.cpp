#include "app/desktop_win.h"

#include "core/text.h"
#include "ui/clipboard_win.h"
#include "ui/integrity_win.h"

namespace tabcard {

namespace {

// How long Wine keeps its answer that a key is up without asking again.
constexpr ULONGLONG kKeyStateFreshMs = 55;

// The bound of the wait for the palette's own activation at a drag's start.
constexpr ULONGLONG kActivationWaitMs = 250;

// Deeper chains than this are loops of a confused program.
constexpr int kMaxClimb = 256;

HWND ParentOrOwner(HWND w) {
  if (GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD) {
    HWND parent = GetAncestor(w, GA_PARENT);
    return parent == GetDesktopWindow() ? nullptr : parent;
  }
  return GetWindow(w, GW_OWNER);
}

// Out-of-context events arrive on the thread that set the hook, the one
// user-interface thread, while it looks at its message queue.
unsigned foregroundChanges = 0;

void CALLBACK OnForegroundChange(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
  ++foregroundChanges;
}

}  // namespace

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
      offer_(clipboardOwner),
      dragCursor_(dragCursor ? dragCursor : LoadCursorW(nullptr, IDC_ARROW)),
      foregroundHook_(SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                      OnForegroundChange, 0, 0, WINEVENT_OUTOFCONTEXT)),
      seenForegroundChanges_(foregroundChanges) {}

DesktopWin::~DesktopWin() {
  if (foregroundHook_) UnhookWinEvent(foregroundHook_);
}

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

void DesktopWin::WaitForegroundChange(unsigned ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    MSG msg;
    // Runs pending sent messages and hook events only: the palette's own
    // input and window-system events (a late focus event among them, which
    // could take the foreground back) wait for the message loop.
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    if (foregroundChanges != seenForegroundChanges_) {
      seenForegroundChanges_ = foregroundChanges;
      return;
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return;
    // Wine raises no foreground event, but the switch sends the palette's
    // thread its deactivation: a sent message is worth a look.
    if (MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_SENDMESSAGE,
                                    0) == WAIT_OBJECT_0) {
      PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
      seenForegroundChanges_ = foregroundChanges;
      return;
    }
  }
}

std::optional<std::uint32_t> DesktopWin::IntegrityLevelOf(WindowId w) {
  DWORD processId = 0;
  if (!GetWindowThreadProcessId(ToHwnd(w), &processId)) return std::nullopt;
  return ProcessIntegrityLevel(processId);
}

std::optional<std::uint32_t> DesktopWin::OwnIntegrityLevel() {
  return CurrentProcessIntegrityLevel();
}

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
  return offer_.Place(bytes, kClipboardRetryMs);
}

bool DesktopWin::ClipboardTextRead() { return offer_.Read(); }

bool DesktopWin::ClipboardHoldsPlaced() { return offer_.Held(); }

ClipboardKeep DesktopWin::KeepClipboard() {
  switch (kept_.Capture(clipboardOwner_)) {
    case ClipboardSnapshot::Result::kKept:
      return ClipboardKeep::kKept;
    case ClipboardSnapshot::Result::kTooBig:
      return ClipboardKeep::kTooBig;
    default:
      return ClipboardKeep::kNotKept;
  }
}

bool DesktopWin::RestoreClipboard() {
  const bool restored =
      offer_.Held() && kept_.Restore(clipboardOwner_, offer_.Sequence(), kRestoreRetryMs);
  kept_.Clear();
  return restored;
}

void DesktopWin::ForgetKeptClipboard() { kept_.Clear(); }

std::u16string DesktopWin::ProgramOf(WindowId w) {
  DWORD processId = 0;
  if (!GetWindowThreadProcessId(ToHwnd(w), &processId)) return {};
  const std::wstring name = ProcessImageName(processId);
  return std::u16string(name.begin(), name.end());
}

ClipboardText DesktopWin::ReadClipboardText(std::size_t maxBytes) {
  // Every UTF-16 unit gives at least one byte: maxBytes units are enough.
  return ReadText(maxBytes, 0);
}

ClipboardText DesktopWin::ReadText(std::size_t maxUnits, unsigned retryMs) {
  if (offer_.Held()) return {ClipboardText::State::kText, std::string(UpToZero(offer_.Bytes()))};
  return tabcard::ReadClipboardText(clipboardOwner_, maxUnits, retryMs);
}

std::uint32_t DesktopWin::ClipboardSequence() { return GetClipboardSequenceNumber(); }

// Wine answers a key as up from what it last fetched for 50 ms, so a key
// another program pressed since looks up: a question that soon after the
// one before waits that out, and then asks about every key afresh.
bool DesktopWin::AnyKeyHeld(std::initializer_list<unsigned char> virtualKeys) {
  for (ULONGLONG since; (since = GetTickCount64() - lastKeyQuery_) < kKeyStateFreshMs;) {
    Idle(static_cast<unsigned>(kKeyStateFreshMs - since));
  }
  bool held = false;
  for (unsigned char key : virtualKeys) held = held || (GetAsyncKeyState(key) & 0x8000) != 0;
  lastKeyQuery_ = GetTickCount64();
  return held;
}

void DesktopWin::Idle(unsigned ms) {
  // Sent messages only: a posted one (a click, a key) waits for the loop.
  MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_SENDMESSAGE);
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

void DesktopWin::Beep() { MessageBeep(MB_OK); }

void DesktopWin::ShowDragCursor(bool dragging) {
  SetCursor(dragging ? dragCursor_ : LoadCursorW(nullptr, IDC_ARROW));
}

// A window that a click did not activate captures only the moves over itself:
// a drag takes the foreground first, as the drop will hand it on anyway.
void DesktopWin::SetCapture(WindowId w) {
  HWND root = GetAncestor(ToHwnd(w), GA_ROOT);
  if (root && GetForegroundWindow() != root && SetForegroundWindow(root)) {
    // Settled before the drag goes on: a switch still under way at the drop
    // would take the foreground back from the target.
    const ULONGLONG end = GetTickCount64() + kActivationWaitMs;
    while (GetActiveWindow() != root && GetTickCount64() < end) Idle(10);
  }
  ::SetCapture(ToHwnd(w));
}

void DesktopWin::ReleaseCapture() { ::ReleaseCapture(); }

std::uint64_t DesktopWin::NowMs() { return GetTickCount64(); }

}  // namespace tabcard
