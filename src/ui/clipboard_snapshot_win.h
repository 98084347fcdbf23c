// The clipboard's whole content kept aside and put back, so that a transfer
// can give the user's copy back once the target has read its text.
//
// Every format is kept as bytes: global memory as it is (CF_HDROP and the
// registered formats among it), bitmaps, palettes and metafiles through their
// bits, so nothing depends on the handles of the program that placed them;
// delayed formats are rendered by their owner on the way. A format Windows
// derives from one kept before it (CF_TEXT after CF_UNICODETEXT, CF_DIB after
// CF_BITMAP, CF_METAFILEPICT after CF_ENHMETAFILE, CF_PALETTE after a DIB)
// is left for Windows to derive again. Private and GDI-object formats, whose
// handles mean nothing outside their owner, and owner-drawn display are not
// kept.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/clipboard_win.h"

namespace tabcard {

// A clipboard beyond this is not kept: the copy would cost as much again.
constexpr std::size_t kMaxKeptClipboardBytes = std::size_t{64} << 20;

class ClipboardSnapshot {
 public:
  enum class Result {
    kKept,    // every keepable format, an empty clipboard too
    kTooBig,  // beyond maxBytes: nothing kept
    kBusy,    // another program held the clipboard
  };

  Result Capture(HWND owner, std::size_t maxBytes = kMaxKeptClipboardBytes,
                 unsigned retryMs = kClipboardRetryMs);
  // Replaces the clipboard's content with what was kept, only while owner
  // still owns the clipboard at that sequence number (checked with the
  // clipboard open, so a copy made meanwhile is never overwritten).
  bool Restore(HWND owner, std::uint32_t sequence, unsigned retryMs) const;
  void Clear() { items_.clear(); }
  bool Empty() const { return items_.empty(); }

 private:
  // The bytes of a format, read as its kind of handle calls for.
  struct Item {
    UINT format;
    std::string bytes;
  };

  std::vector<Item> items_;
};

}  // namespace tabcard
