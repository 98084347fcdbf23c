// The two global hotkeys as the store and the standard hot-key control hold
// them: a DWORD whose low byte is the virtual-key code and whose next byte
// has the HOTKEYF_SHIFT (1), HOTKEYF_CONTROL (2), HOTKEYF_ALT (4) and
// HOTKEYF_EXT (8) bits, as HKM_GETHOTKEY gives it; 0 is none.
#pragma once

#include <cstdint>
#include <string>

namespace tabcard {

using HotKey = std::uint32_t;
constexpr HotKey kNoHotKey = 0;

namespace hotkeyf {
constexpr unsigned kShift = 0x01;
constexpr unsigned kControl = 0x02;
constexpr unsigned kAlt = 0x04;
constexpr unsigned kExt = 0x08;
}  // namespace hotkeyf

constexpr HotKey MakeHotKey(unsigned vk, unsigned modifiers) {
  return (vk & 0xFFu) | ((modifiers & 0xFFu) << 8);
}
constexpr unsigned HotKeyVk(HotKey k) { return k & 0xFFu; }
constexpr unsigned HotKeyModifiers(HotKey k) { return (k >> 8) & 0xFFu; }

// Ctrl+Alt with a letter: nothing of Windows, its IME, the browsers or the
// office programs' standard shortcuts uses J or B with both, and Ctrl+Alt
// never arms a menu bar. On a keyboard with AltGr (not the Japanese one)
// Ctrl+Alt+J and B type no character either.
constexpr HotKey kStandardShowHotKey = MakeHotKey('J', hotkeyf::kControl | hotkeyf::kAlt);
constexpr HotKey kStandardStepHotKey = MakeHotKey('B', hotkeyf::kControl | hotkeyf::kAlt);

struct HotKeys {
  HotKey show = kStandardShowHotKey;  // HotKeyShow: brings the palette forward, and back
  HotKey step = kStandardStepHotKey;  // HotKeyStep: 連続入力, sends cell after cell
  friend bool operator==(const HotKeys& a, const HotKeys& b) {
    return a.show == b.show && a.step == b.step;
  }
};

// RegisterHotKey's modifiers for a stored chord (MOD_ALT 1, MOD_CONTROL 2,
// MOD_SHIFT 4); a chord's extended-key bit is no modifier there.
unsigned RegisterModifiers(HotKey k);

// "Ctrl+Alt+J" as menus show a shortcut; "" for none.
std::string ChordText(HotKey k);

}  // namespace tabcard
