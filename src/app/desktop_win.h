// The real Desktop: windows, input synthesis, clipboard, cursor and capture
// of Win32 for the item transfer.
#pragma once

#include <windows.h>

#include "app/desktop.h"
#include "ui/clipboard_snapshot_win.h"
#include "ui/clipboard_win.h"

namespace tabcard {

// Bound of each message sent to another program's window during a drop.
constexpr UINT kSendTimeoutMs = 500;
// How long the clipboard is waited for to give the user's copy back: the
// target may still hold it open a moment after its read.
constexpr unsigned kRestoreRetryMs = 500;

inline HWND ToHwnd(WindowId id) { return reinterpret_cast<HWND>(id); }
inline WindowId ToWindowId(HWND hwnd) { return reinterpret_cast<WindowId>(hwnd); }

// The outermost window reached from w through parents and owners.
HWND TopLevelWindow(HWND w);

class DesktopWin : public Desktop {
 public:
  // clipboardOwner: the window the clipboard is opened with (the palette),
  // which answers the requests for the offered text through ClipboardOffer.
  // dragCursor: shown during a drag; the arrow when null.
  DesktopWin(HWND clipboardOwner, HCURSOR dragCursor);
  ~DesktopWin() override;
  DesktopWin(const DesktopWin&) = delete;
  DesktopWin& operator=(const DesktopWin&) = delete;

  ScreenPoint CursorPos() override;
  WindowId WindowFromPoint(ScreenPoint p) override;
  WindowId ParentOf(WindowId w) override;
  WindowId TopLevelOf(WindowId w) override;
  WindowId LastActivePopup(WindowId w) override;
  bool Exists(WindowId w) override;
  bool IsOwnWindow(WindowId w) override;
  ScreenPoint ScreenToClient(WindowId w, ScreenPoint p) override;
  bool SetForeground(WindowId w) override;
  WindowId Foreground() override;
  void WaitForegroundChange(unsigned ms) override;
  std::optional<std::uint32_t> IntegrityLevelOf(WindowId w) override;
  std::optional<std::uint32_t> OwnIntegrityLevel() override;
  SendResult Send(WindowId w, unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) override;
  void KeyEvent(unsigned char virtualKey, unsigned flags) override;
  bool AnyKeyHeld(std::initializer_list<unsigned char> virtualKeys) override;
  void Idle(unsigned ms) override;
  bool PlaceClipboardText(std::string_view bytes) override;
  bool ClipboardTextRead() override;
  bool ClipboardHoldsPlaced() override;
  ClipboardKeep KeepClipboard() override;
  bool RestoreClipboard() override;
  void ForgetKeptClipboard() override;
  std::u16string ProgramOf(WindowId w) override;
  ClipboardText ReadClipboardText(std::size_t maxBytes) override;
  // The program's own reads (Timer1's, the memo and list menus'): the text it
  // offers comes from memory, so asking for it is never taken for the
  // target's read, nor renders it before the target asks.
  ClipboardText ReadText(std::size_t maxUnits, unsigned retryMs);
  std::uint32_t ClipboardSequence() override;
  void Beep() override;
  void ShowDragCursor(bool dragging) override;
  void SetCapture(WindowId w) override;
  void ReleaseCapture() override;
  std::uint64_t NowMs() override;

 private:
  HWND clipboardOwner_;
  ClipboardOffer offer_;
  ClipboardSnapshot kept_;
  HCURSOR dragCursor_;
  // Counts EVENT_SYSTEM_FOREGROUND on this thread; null when Windows
  // refused the hook, and the waits then run to their bound.
  HWINEVENTHOOK foregroundHook_ = nullptr;
  unsigned seenForegroundChanges_ = 0;
  ULONGLONG lastKeyQuery_ = 0;
};

}  // namespace tabcard
