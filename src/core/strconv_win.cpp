#include "core/strconv_win.h"

#include <windows.h>

#include <climits>

namespace tabcard {

std::wstring Widen(std::string_view cp932) {
  if (cp932.empty() || cp932.size() > INT_MAX) return {};
  const int size = static_cast<int>(cp932.size());
  const int n = MultiByteToWideChar(kCodePage, 0, cp932.data(), size, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(kCodePage, 0, cp932.data(), size, out.data(), n);
  return out;
}

namespace {

bool ConvertsExactly(std::wstring_view utf16) {
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, utf16.data(),
                                    static_cast<int>(utf16.size()), nullptr, 0, nullptr,
                                    &usedDefault);
  return n > 0 && !usedDefault;
}

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::optional<Utf16Span> FirstUnstorable(std::wstring_view utf16) {
  if (utf16.empty() || utf16.size() > INT_MAX || ConvertsExactly(utf16)) return std::nullopt;
  for (std::size_t i = 0; i < utf16.size();) {
    const bool pair =
        IsHighSurrogate(utf16[i]) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1]);
    const std::size_t n = pair ? 2 : 1;
    if (!ConvertsExactly(utf16.substr(i, n))) return Utf16Span{i, n};
    i += n;
  }
  return Utf16Span{0, utf16.size()};
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty() || utf16.size() > INT_MAX) return {};
  const int size = static_cast<int>(utf16.size());
  const int n = WideCharToMultiByte(kCodePage, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(kCodePage, 0, utf16.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

bool SamePhraseIgnoringCase(std::string_view a, std::string_view b) {
  const std::wstring wa = Widen(a), wb = Widen(b);
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.data(),
                        static_cast<int>(wa.size()), wb.data(),
                        static_cast<int>(wb.size())) == CSTR_EQUAL;
}

}  // namespace tabcard
