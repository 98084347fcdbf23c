#include "store/hotkey.h"

namespace tabcard {
namespace {

struct KeyName {
  unsigned vk;
  const char* name;
};

// Keys that a chord may end in, beside letters, digits and F1-F24.
const KeyName kNames[] = {
    {0x08, "Backspace"}, {0x09, "Tab"},    {0x0D, "Enter"},    {0x13, "Pause"},
    {0x1B, "Esc"},       {0x20, "Space"},  {0x21, "PageUp"},   {0x22, "PageDown"},
    {0x23, "End"},       {0x24, "Home"},   {0x25, "Left"},     {0x26, "Up"},
    {0x27, "Right"},     {0x28, "Down"},   {0x2D, "Insert"},   {0x2E, "Delete"},
    {0x6A, "Num *"},     {0x6B, "Num +"},  {0x6D, "Num -"},    {0x6E, "Num ."},
    {0x6F, "Num /"},     {0xBA, ":"},      {0xBB, ";"},        {0xBC, ","},
    {0xBD, "-"},         {0xBE, "."},      {0xBF, "/"},        {0xC0, "@"},
    {0xDB, "["},         {0xDC, "\\"},     {0xDD, "]"},        {0xDE, "^"},
    {0xE2, "_"},
};

std::string KeyText(unsigned vk) {
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::string(1, static_cast<char>(vk));
  if (vk >= 0x60 && vk <= 0x69) return "Num " + std::to_string(vk - 0x60);
  if (vk >= 0x70 && vk <= 0x87) return "F" + std::to_string(vk - 0x70 + 1);
  for (const KeyName& k : kNames) {
    if (k.vk == vk) return k.name;
  }
  static const char kHex[] = "0123456789ABCDEF";
  return std::string("0x") + kHex[(vk >> 4) & 0xF] + kHex[vk & 0xF];
}

}  // namespace

unsigned RegisterModifiers(HotKey k) {
  const unsigned m = HotKeyModifiers(k);
  unsigned mod = 0;
  if (m & hotkeyf::kAlt) mod |= 0x1;
  if (m & hotkeyf::kControl) mod |= 0x2;
  if (m & hotkeyf::kShift) mod |= 0x4;
  return mod;
}

std::string ChordText(HotKey k) {
  if (HotKeyVk(k) == 0) return {};
  const unsigned m = HotKeyModifiers(k);
  std::string text;
  if (m & hotkeyf::kControl) text += "Ctrl+";
  if (m & hotkeyf::kShift) text += "Shift+";
  if (m & hotkeyf::kAlt) text += "Alt+";
  return text + KeyText(HotKeyVk(k));
}

}  // namespace tabcard
