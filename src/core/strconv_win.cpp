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

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty() || utf16.size() > INT_MAX) return {};
  const int size = static_cast<int>(utf16.size());
  const int n = WideCharToMultiByte(kCodePage, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(kCodePage, 0, utf16.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace tabcard
