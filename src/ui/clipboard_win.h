// The clipboard at the Win32 boundary. Text goes on as CF_TEXT with the exact
// CP932 bytes, CF_UNICODETEXT converted from code page 932 and CF_LOCALE
// Japanese, so that every program pastes it right whatever its code page;
// text is read as CF_UNICODETEXT and converted to CP932.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
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

// Text offered on the clipboard with delayed rendering: the three text
// formats are named at once and their data made only when a program asks for
// it, so the offer knows when the text is read; the formats that keep it out
// of the clipboard history go on at once. CF_TEXT holds the bytes and one
// terminating zero (zero bytes inside stay), CF_UNICODETEXT the bytes before
// the first zero.
//
// The offer answers the clipboard's messages to its owner window through a
// subclass: they are sent messages, so they are answered also while the
// owner's thread waits inside a transfer. Before the owner is destroyed,
// whatever was not asked for yet is rendered, so the text stays.
class ClipboardOffer {
 public:
  explicit ClipboardOffer(HWND owner);
  ~ClipboardOffer();
  ClipboardOffer(const ClipboardOffer&) = delete;
  ClipboardOffer& operator=(const ClipboardOffer&) = delete;

  HWND owner() const { return owner_; }
  // Replaces the clipboard's content with the offer.
  bool Place(std::string_view bytes, unsigned retryMs = kClipboardRetryMs);
  // Whether another thread asked for CF_TEXT or CF_UNICODETEXT since Place.
  // A request of this thread (the program's own reads) does not count, nor
  // does CF_LOCALE alone, which no paste reads without the text.
  bool Read() const { return read_; }
  // The clipboard still holds the offer: the owner and the sequence number
  // are those of the placement.
  bool Held() const;
  std::uint32_t Sequence() const { return sequence_; }
  // The bytes placed last.
  const std::string& Bytes() const { return bytes_; }

 private:
  static LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                    DWORD_PTR self);
  // WM_RENDERFORMAT and WM_RENDERALLFORMATS.
  void Render(UINT format);
  void RenderAll();

  HWND owner_;
  bool placed_ = false;  // until the clipboard is emptied (WM_DESTROYCLIPBOARD)
  bool read_ = false;
  std::string bytes_;
  std::uint32_t sequence_ = 0;
  unsigned rendered_ = 0;  // a bit per text format
};

// The clipboard's text up to its first zero, at most maxUnits UTF-16 units
// of it, so a huge clipboard costs no more than its start.
ClipboardText ReadClipboardText(HWND owner,
                                std::size_t maxUnits = std::numeric_limits<std::size_t>::max(),
                                unsigned retryMs = kClipboardRetryMs);

}  // namespace tabcard
