// The palette's title bar shows the clipboard's text. The clipboard is only
// read when its sequence number moved, and only as much of its start as a
// title bar can show, so a tick costs the same whatever the clipboard holds.
// A text the palette placed itself is never read back: that read would come
// just when the target opens the clipboard to paste, and a target that finds
// the clipboard held pastes nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/desktop.h"

namespace tabcard {

inline constexpr char kNoTextCaption[] = "No Text!";
// Wider than any title bar shows, even across a 4K screen.
constexpr std::size_t kCaptionMaxBytes = 512;

class ClipboardCaption {
 public:
  // The caption to show when it differs from the one shown; none otherwise.
  std::optional<std::string> Update(Desktop& desktop);
  // The palette has just placed bytes on the clipboard: what the next
  // Update shows, without opening the clipboard.
  void Placed(Desktop& desktop, std::string_view bytes);

 private:
  bool known_ = false;
  std::uint32_t sequence_ = 0;
  std::string current_;  // the caption for the content of sequence_
  std::optional<std::string> shown_;
};

}  // namespace tabcard
