// What the item transfer needs from the windowing system, as an interface the
// windowless logic can drive: windows are opaque ids, and the message and
// keyboard constants are copies of the Win32 values the transfer sends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "ui/clipboard_text.h"

namespace tabcard {

using WindowId = std::uintptr_t;
constexpr WindowId kNoWindow = 0;

struct ScreenPoint {
  int x = 0;
  int y = 0;
};
inline bool operator==(ScreenPoint a, ScreenPoint b) { return a.x == b.x && a.y == b.y; }

// Win32 values of the synthesised click and paste.
namespace wm {
constexpr unsigned kNull = 0x0000;
constexpr unsigned kMouseActivate = 0x0021;
constexpr unsigned kLButtonDown = 0x0201;
constexpr unsigned kLButtonUp = 0x0202;
constexpr unsigned kParentNotify = 0x0210;
constexpr std::uintptr_t kMkLButton = 0x0001;
constexpr unsigned kHtClient = 1;
}  // namespace wm

namespace vk {
constexpr unsigned char kTab = 0x09;
constexpr unsigned char kShift = 0x10;
constexpr unsigned char kControl = 0x11;
constexpr unsigned char kAlt = 0x12;  // VK_MENU
constexpr unsigned char kInsert = 0x2D;
constexpr unsigned char kV = 0x56;
constexpr unsigned char kLeftWin = 0x5B;
constexpr unsigned char kRightWin = 0x5C;
// A virtual key no keyboard and no program uses (0xE8 is unassigned): its
// press between Alt's down and up keeps that release from arming a menu bar.
constexpr unsigned char kUnassigned = 0xE8;
constexpr unsigned kExtendedKey = 1;  // KEYEVENTF_EXTENDEDKEY
constexpr unsigned kKeyUp = 2;        // KEYEVENTF_KEYUP
}  // namespace vk

// An lParam holding two 16-bit values, low word first, as MAKELPARAM packs
// them: y * 65536 + x for coordinates that are not negative.
constexpr std::intptr_t PackWords(int low, int high) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(high & 0xFFFF) << 16) |
                                    static_cast<std::uint32_t>(low & 0xFFFF));
}

// What Desktop::KeepClipboard did with the clipboard's content.
enum class ClipboardKeep {
  kKept,
  kTooBig,   // more than the bound: not kept
  kNotKept,  // held by another program, or unreadable
};

enum class SendResult {
  kDone,
  kNoResponse,  // the window's thread did not handle the message in time
  kNoWindow,    // the window is gone
};

class Desktop {
 public:
  virtual ~Desktop() = default;

  virtual ScreenPoint CursorPos() = 0;
  virtual WindowId WindowFromPoint(ScreenPoint p) = 0;
  // The parent of a child window, the owner of a pop-up, as GetParent.
  virtual WindowId ParentOf(WindowId w) = 0;
  // The outermost window reached through parents and owners; w itself when
  // it has neither; none for none.
  virtual WindowId TopLevelOf(WindowId w) = 0;
  // The window of w's owner group that was active last (w when none).
  virtual WindowId LastActivePopup(WindowId w) = 0;
  virtual bool Exists(WindowId w) = 0;
  // A window of the palette's own program.
  virtual bool IsOwnWindow(WindowId w) = 0;
  virtual ScreenPoint ScreenToClient(WindowId w, ScreenPoint p) = 0;

  virtual bool SetForeground(WindowId w) = 0;
  virtual WindowId Foreground() = 0;
  // Returns once the foreground window may have changed (a foreground event
  // or a message for this thread came, a deactivation among them) or ms
  // have passed, answering other threads' sent messages meanwhile. An event
  // since the last return counts, so none is missed between a look at
  // Foreground() and this wait.
  virtual void WaitForegroundChange(unsigned ms) = 0;

  // The file name of the executable of w's process ("wordpad.exe"); empty
  // when it cannot be told.
  virtual std::u16string ProgramOf(WindowId w) = 0;

  // The mandatory integrity level (the label's RID, 0x2000 medium, 0x3000
  // high) of the process that owns w, or of our own process; none when it
  // cannot be read.
  virtual std::optional<std::uint32_t> IntegrityLevelOf(WindowId w) = 0;
  virtual std::optional<std::uint32_t> OwnIntegrityLevel() = 0;

  // Sends and waits a bounded time, so a hung window cannot hold us up.
  virtual SendResult Send(WindowId w, unsigned msg, std::uintptr_t wParam,
                          std::intptr_t lParam) = 0;
  // One keybd_event: virtual key, scan code 0, flags, extra information 0.
  virtual void KeyEvent(unsigned char virtualKey, unsigned flags) = 0;
  // Whether any of the keys is held down now, as the keyboard is (not as a
  // window's thread has seen it so far).
  virtual bool AnyKeyHeld(std::initializer_list<unsigned char> virtualKeys) = 0;
  // Lets up to ms pass, answering other threads' sent messages meanwhile.
  virtual void Idle(unsigned ms) = 0;

  // Replaces the clipboard's content in one session: CF_TEXT holding bytes
  // and one terminating zero, CF_UNICODETEXT of the bytes before their first
  // zero, CF_LOCALE Japanese. The text is rendered only when a program asks
  // for it, so a read can be seen. Retries a held clipboard for a short
  // while; false when it stayed held or a format could not be placed.
  virtual bool PlaceClipboardText(std::string_view bytes) = 0;
  // Whether another program has read the text placed last (asked for it as
  // CF_TEXT or CF_UNICODETEXT); our own reads never count.
  virtual bool ClipboardTextRead() = 0;
  // Whether the clipboard still holds the text placed last, unchanged.
  virtual bool ClipboardHoldsPlaced() = 0;
  // Sets the clipboard's whole content aside for RestoreClipboard, in place
  // of anything kept before.
  virtual ClipboardKeep KeepClipboard() = 0;
  // Puts back what was kept, and forgets it. Checks again, with the clipboard
  // open, that it still holds the text placed last; false when it does not
  // or the clipboard stayed held.
  virtual bool RestoreClipboard() = 0;
  virtual void ForgetKeptClipboard() = 0;
  // The clipboard's text, at most about maxBytes of CP932 from its start
  // (the caller cuts to exactly maxBytes), in one attempt to open it.
  virtual ClipboardText ReadClipboardText(std::size_t maxBytes) = 0;
  // Changes whenever the clipboard's content changes; 0 when unknown.
  virtual std::uint32_t ClipboardSequence() = 0;

  virtual void Beep() = 0;
  virtual void ShowDragCursor(bool dragging) = 0;
  virtual void SetCapture(WindowId w) = 0;
  virtual void ReleaseCapture() = 0;

  // Milliseconds of a monotonic clock.
  virtual std::uint64_t NowMs() = 0;
};

}  // namespace tabcard
