// The one boundary between Tabcard's CP932 strings and the UTF-16 of the
// W functions. Code page 932 is named explicitly, so the result does not
// depend on the system's ANSI code page.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tabcard {

constexpr unsigned kCodePage = 932;

std::wstring Widen(std::string_view cp932);
std::string Narrow(std::wstring_view utf16);

// Where text first holds a character that CP932 cannot store (which Narrow
// would turn into "?" or a look-alike): its offset and length in UTF-16
// units; nothing when all of it converts exactly.
struct Utf16Span {
  std::size_t offset = 0;
  std::size_t length = 0;
};
std::optional<Utf16Span> FirstUnstorable(std::wstring_view utf16);

// Whether two CP932 texts are the same phrase for the user's locale when
// letter case is ignored: abc is ABC, but the full-width ＡＢＣ is not, and
// hiragana is not katakana.
bool SamePhraseIgnoringCase(std::string_view a, std::string_view b);

}  // namespace tabcard
