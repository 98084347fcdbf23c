#include "app/caption.h"

#include "core/text.h"

namespace tabcard {

namespace {

std::string CaptionOf(std::string_view text) {
  return std::string(CutDoubleByte(UpToZero(text), kCaptionMaxBytes));
}

}  // namespace

std::optional<std::string> ClipboardCaption::Update(Desktop& desktop) {
  const std::uint32_t sequence = desktop.ClipboardSequence();
  // 0 means the system keeps no count: then every tick has to look.
  if (!known_ || sequence == 0 || sequence != sequence_) {
    const ClipboardText clip = desktop.ReadClipboardText(kCaptionMaxBytes);
    // Another program holds the clipboard: look again on the next tick.
    if (clip.state == ClipboardText::State::kBusy) return std::nullopt;
    known_ = true;
    sequence_ = sequence;
    current_ = clip.state == ClipboardText::State::kText ? CaptionOf(clip.text)
                                                         : std::string(kNoTextCaption);
  }
  if (shown_ == current_) return std::nullopt;
  shown_ = current_;
  return current_;
}

void ClipboardCaption::Placed(Desktop& desktop, std::string_view bytes) {
  const std::uint32_t sequence = desktop.ClipboardSequence();
  if (sequence == 0) return;
  known_ = true;
  sequence_ = sequence;
  current_ = CaptionOf(bytes);
}

}  // namespace tabcard
