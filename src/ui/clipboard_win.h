// The clipboard at the Win32 boundary. Text goes on as CF_TEXT with the exact
// CP932 bytes, CF_UNICODETEXT converted from code page 932 and CF_LOCALE
// Japanese, so that every program pastes it right whatever its code page;
// text is read as CF_UNICODETEXT and converted to CP932.
#pragma once

#include <windows.h>

#include <cstddef>
#include <limits>
#include <string_view>

#include "ui/clipboard_text.h"

namespace tabcard {

// How long a clipboard held by another program is retried.
constexpr unsigned kClipboardRetryMs = 100;
constexpr LCID kJapaneseLocale = 0x0411;

// The clipboard, open for the object's lifetime. Opening is retried for up
// to retryMs while another window holds it; IsOpen tells whether it worked.
class ClipboardSession {
 public:
  ClipboardSession(HWND owner, unsigned retryMs);
  ~ClipboardSession();
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;

  bool IsOpen() const { return open_; }

 private:
  bool open_ = false;
};

// A movable global memory block, freed unless Detach hands it on. Ownership
// passes to the clipboard only when SetClipboardData succeeds.
class GlobalBlock {
 public:
  GlobalBlock(const void* data, std::size_t bytes);
  ~GlobalBlock();
  GlobalBlock(const GlobalBlock&) = delete;
  GlobalBlock& operator=(const GlobalBlock&) = delete;

  HGLOBAL get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  HGLOBAL Detach();

 private:
  HGLOBAL handle_ = nullptr;
};

// Replaces the clipboard's content with bytes as text: CF_TEXT holds bytes
// and one terminating zero (zero bytes inside stay), CF_UNICODETEXT the bytes
// before the first zero. owner must be a window: the clipboard's new owner.
bool PlaceClipboardText(HWND owner, std::string_view bytes,
                        unsigned retryMs = kClipboardRetryMs);

// The clipboard's text up to its first zero, at most maxUnits UTF-16 units
// of it, so a huge clipboard costs no more than its start.
ClipboardText ReadClipboardText(HWND owner,
                                std::size_t maxUnits = std::numeric_limits<std::size_t>::max(),
                                unsigned retryMs = kClipboardRetryMs);

}  // namespace tabcard
