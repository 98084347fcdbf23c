// Byte rules for CP932 (Shift-JIS) text. Every string in Tabcard is CP932,
// whatever the code page of the system it runs on, so these rules are fixed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tabcard {

// 0x81-0x9F and 0xE0-0xFC start a double-byte character.
constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// True when byte n (counted from 1, n <= bytes.size()) is the first half of
// a character that a cut after it would split: it is a non-zero lead byte and
// the run of lead-range bytes right before it has even length.
bool SplitsDoubleByte(std::string_view bytes, std::size_t n);

// The first n bytes of text (all of it when shorter), one byte fewer when
// that would leave half a double-byte character at the end.
std::string_view CutDoubleByte(std::string_view text, std::size_t n);

// Text in an edit box held to `limit` bytes around the caret: what came
// before the caret loses its end (the characters just typed or pasted),
// whole characters only, until the whole fits; when what follows the caret
// is too long by itself, it is cut too.
struct CaretText {
  std::string before;
  std::string after;
};
CaretText FitAroundCaret(std::string_view before, std::string_view after, std::size_t limit);

// The bytes before the first zero byte.
std::string_view UpToZero(std::string_view bytes);

// Empty once bytes up to 32 are removed from both ends.
bool IsBlank(std::string_view text);

// Without its trailing bytes up to 0x20 (zero filling, spaces, CR, LF, tabs).
std::string_view TrimTrailing(std::string_view text);

// Without its leading and trailing bytes up to 0x20.
std::string_view Trim(std::string_view text);

// prefix followed by n printed as "%3.3d": Item000, Item999, Item1000.
std::string Numbered(std::string_view prefix, int n);

}  // namespace tabcard
