// The one boundary between Tabcard's CP932 strings and the UTF-16 of the
// W functions. Code page 932 is named explicitly, so the result does not
// depend on the system's ANSI code page.
#pragma once

#include <string>
#include <string_view>

namespace tabcard {

constexpr unsigned kCodePage = 932;

std::wstring Widen(std::string_view cp932);
std::string Narrow(std::wstring_view utf16);

}  // namespace tabcard
