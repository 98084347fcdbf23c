#include "app/caption.h"

#include "core/text.h"

namespace tabcard {

std::optional<std::string> ClipboardCaption::Update(Desktop& desktop) {
  const std::uint32_t sequence = desktop.ClipboardSequence();
  // 0 means the system keeps no count: then every tick has to look.
  if (known_ && sequence != 0 && sequence == sequence_) return std::nullopt;

  const ClipboardText clip = desktop.ReadClipboardText(kCaptionMaxBytes);
  // Another program holds the clipboard: look again on the next tick.
  if (clip.state == ClipboardText::State::kBusy) return std::nullopt;
  known_ = true;
  sequence_ = sequence;

  std::string caption = clip.state == ClipboardText::State::kText
                            ? std::string(CutDoubleByte(UpToZero(clip.text), kCaptionMaxBytes))
                            : std::string(kNoTextCaption);
  if (shown_ == caption) return std::nullopt;
  shown_ = caption;
  return caption;
}

}  // namespace tabcard
