// What a key pressed in a palette grid does beyond moving the current cell:
// the palette can be used without a mouse.
#pragma once

namespace tabcard {

enum class PaletteKeyAction {
  kNone,      // the grid's own (arrows and the like) or nothing
  kSend,      // the current cell, as a double-click sends it
  kNextPage,  // Ctrl+TAB
  kPreviousPage,  // Ctrl+Shift+TAB
  kReturn,        // Esc: back to the window the palette was brought from
};

// Win32 virtual keys the palette reacts to.
inline constexpr unsigned kVkTab = 0x09;
inline constexpr unsigned kVkReturn = 0x0D;
inline constexpr unsigned kVkSpace = 0x20;
inline constexpr unsigned kVkEscape = 0x1B;

PaletteKeyAction PaletteKey(unsigned vkey, bool ctrl, bool shift, bool alt);

// The page Ctrl+TAB or Ctrl+Shift+TAB turns to, round the ends.
int TurnedPage(int page, int pageCount, bool forward);

}  // namespace tabcard
