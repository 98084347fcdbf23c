// The palette's title bar shows the clipboard's text. The clipboard is only
// read when its sequence number moved, and only as much of its start as a
// title bar can show, so a tick costs the same whatever the clipboard holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "app/desktop.h"

namespace tabcard {

inline constexpr char kNoTextCaption[] = "No Text!";
// Wider than any title bar shows, even across a 4K screen.
constexpr std::size_t kCaptionMaxBytes = 512;

class ClipboardCaption {
 public:
  // The caption to show when it differs from the one shown; none otherwise.
  std::optional<std::string> Update(Desktop& desktop);

 private:
  bool known_ = false;
  std::uint32_t sequence_ = 0;
  std::optional<std::string> shown_;
};

}  // namespace tabcard
