#include "core/integer_text.h"

#include <string>

namespace tabcard {
namespace {

int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9') v = c - '0';
  if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  return v < base ? v : -1;
}

}  // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  // A decimal number may reach 2^31 only as -2^31; hexadecimal uses the
  // 32 bits as they are.
  const std::int64_t limit = base == 16 ? 0xFFFFFFFFLL : (negative ? 0x80000000LL : 0x7FFFFFFFLL);
  std::int64_t value = 0;
  const std::size_t first = i;
  for (; i < text.size(); ++i) {
    const int d = DigitValue(text[i], base);
    if (d < 0) return std::nullopt;
    value = value * base + d;
    if (value > limit) return std::nullopt;
  }
  if (i == first) return std::nullopt;
  if (negative) value = -value;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value & 0xFFFFFFFFLL));
}

std::int32_t StrToInt(std::string_view text) {
  if (const std::optional<std::int32_t> v = ParseInteger(text)) return *v;
  throw ConvertError("'" + std::string(text) + "' は整数ではありません");
}

}  // namespace tabcard
