#include "app/palette_keys.h"

namespace tabcard {

PaletteKeyAction PaletteKey(unsigned vkey, bool ctrl, bool shift, bool alt) {
  if (alt) return PaletteKeyAction::kNone;
  if (vkey == kVkTab && ctrl) {
    return shift ? PaletteKeyAction::kPreviousPage : PaletteKeyAction::kNextPage;
  }
  // Plain Enter and Space only: a modifier may mean something to the target.
  if ((vkey == kVkReturn || vkey == kVkSpace) && !ctrl && !shift) return PaletteKeyAction::kSend;
  if (vkey == kVkEscape && !ctrl && !shift) return PaletteKeyAction::kReturn;
  return PaletteKeyAction::kNone;
}

int TurnedPage(int page, int pageCount, bool forward) {
  if (pageCount <= 0) return page;
  const int step = forward ? 1 : pageCount - 1;
  return ((page % pageCount + pageCount) % pageCount + step) % pageCount;
}

}  // namespace tabcard
