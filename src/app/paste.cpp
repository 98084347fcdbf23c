#include "app/paste.h"

#include <algorithm>
#include <string>

namespace tabcard {
namespace {

void TypeKey(Desktop& desktop, PasteKey key) {
  const bool ctrlV = key == PasteKey::kCtrlV;
  const unsigned char modifier = ctrlV ? vk::kControl : vk::kShift;
  const unsigned char letter = ctrlV ? vk::kV : vk::kInsert;
  // Insert is an extended key; the Shift that goes with it is sent alike.
  const unsigned flags = ctrlV ? 0 : vk::kExtendedKey;
  desktop.KeyEvent(modifier, flags);
  desktop.KeyEvent(letter, flags);
  desktop.KeyEvent(letter, flags | vk::kKeyUp);
  desktop.KeyEvent(modifier, flags | vk::kKeyUp);
}

// kNotRead here: the bound passed.
PasteResult AwaitRead(Desktop& desktop) {
  const std::uint64_t start = desktop.NowMs();
  for (;;) {
    if (desktop.ClipboardTextRead()) return PasteResult::kRead;
    if (!desktop.ClipboardHoldsPlaced()) return PasteResult::kChanged;
    const std::uint64_t waited = desktop.NowMs() - start;
    if (waited >= kPasteReadWaitMs) return PasteResult::kNotRead;
    desktop.Idle(static_cast<unsigned>(std::min<std::uint64_t>(kPasteReadPollMs,
                                                               kPasteReadWaitMs - waited)));
  }
}

// kNotRead here: front is still in front, idle, and has not read.
PasteResult Settle(Desktop& desktop, WindowId front) {
  for (int i = 0; i < kSettleRoundTrips; ++i) {
    const WindowId now = desktop.Foreground();
    if (now == kNoWindow || desktop.TopLevelOf(now) != front) return PasteResult::kLeft;
    if (desktop.Send(now, wm::kNull, 0, 0) != SendResult::kDone) return PasteResult::kBusy;
    if (desktop.ClipboardTextRead()) return PasteResult::kRead;
  }
  return desktop.ClipboardHoldsPlaced() ? PasteResult::kNotRead : PasteResult::kChanged;
}

}  // namespace

PasteResult Paste(Desktop& desktop, PasteKeyBook& book) {
  const WindowId front = desktop.TopLevelOf(desktop.Foreground());
  if (front != kNoWindow && desktop.IsOwnWindow(front)) {
    TypeKey(desktop, kStandardPasteKey);
    return PasteResult::kOwnWindow;
  }
  const std::u16string program = front != kNoWindow ? desktop.ProgramOf(front) : u"";
  const std::optional<PasteKey> rule =
      program.empty() ? std::nullopt : book.RuleFor(program);
  const PasteKey first = rule.value_or(kStandardPasteKey);
  TypeKey(desktop, first);
  PasteResult result = AwaitRead(desktop);
  if (result != PasteResult::kNotRead) return result;
  if (front == kNoWindow) return PasteResult::kLeft;
  result = Settle(desktop, front);
  if (result != PasteResult::kNotRead) return result;
  const PasteKey second = OtherPasteKey(first);
  TypeKey(desktop, second);
  result = AwaitRead(desktop);
  if (result == PasteResult::kRead && !program.empty()) book.Learn(program, second);
  return result;
}

}  // namespace tabcard
