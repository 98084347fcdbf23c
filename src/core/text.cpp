#include "core/text.h"

#include <cstdio>

namespace tabcard {

bool SplitsDoubleByte(std::string_view bytes, std::size_t n) {
  if (n == 0 || n > bytes.size()) return false;
  const auto last = static_cast<unsigned char>(bytes[n - 1]);
  if (last == 0 || !IsLeadByte(last)) return false;
  std::size_t run = 0;
  for (std::size_t i = n - 1; i > 0 && IsLeadByte(static_cast<unsigned char>(bytes[i - 1])); --i) {
    ++run;
  }
  return run % 2 == 0;
}

std::string_view CutDoubleByte(std::string_view text, std::size_t n) {
  if (text.size() < n) return text;
  return text.substr(0, SplitsDoubleByte(text, n) ? n - 1 : n);
}

CaretText FitAroundCaret(std::string_view before, std::string_view after, std::size_t limit) {
  if (after.size() >= limit) return CaretText{{}, std::string(CutDoubleByte(after, limit))};
  return CaretText{std::string(CutDoubleByte(before, limit - after.size())), std::string(after)};
}

std::string_view UpToZero(std::string_view bytes) {
  const auto zero = bytes.find('\0');
  return zero == std::string_view::npos ? bytes : bytes.substr(0, zero);
}

bool IsBlank(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) > 32) return false;
  }
  return true;
}

std::string_view TrimTrailing(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20) {
    text.remove_suffix(1);
  }
  return text;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20) {
    text.remove_prefix(1);
  }
  return TrimTrailing(text);
}

std::string Numbered(std::string_view prefix, int n) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%3.3d", n);
  std::string name(prefix);
  name += digits;
  return name;
}

}  // namespace tabcard
