#include "ui/help.h"

namespace tabcard {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// Code points from UTF-16 units; where wchar_t is 32 bits wide the units
// already are code points, and this still holds.
bool AppendUtf8(std::wstring_view text, std::string& out) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
      const char32_t low = static_cast<char32_t>(text[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return false;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return true;
}

// Separators become "/"; every byte but the unreserved ones is escaped, so
// "#", "%", "?" and spaces in a folder name cannot end the path early.
bool AppendEncoded(std::wstring_view text, std::wstring& url) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string bytes;
  if (!AppendUtf8(text, bytes)) return false;
  for (const char ch : bytes) {
    const unsigned char b = static_cast<unsigned char>(ch);
    if (b == '\\' || b == '/') {
      url += L'/';
    } else if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
               b == '-' || b == '.' || b == '_' || b == '~') {
      url += static_cast<wchar_t>(b);
    } else {
      url += L'%';
      url += static_cast<wchar_t>(kHex[b >> 4]);
      url += static_cast<wchar_t>(kHex[b & 0x0F]);
    }
  }
  return true;
}

bool IsUncRest(std::wstring_view rest) {
  // "server\share...", but not the device namespace "\\.\".
  const std::size_t sep = rest.find_first_of(L"\\/");
  return sep != 0 && sep != std::wstring_view::npos && rest.substr(0, sep) != L"." &&
         sep + 1 < rest.size();
}

}  // namespace

std::wstring_view HelpAnchor(int context) {
  switch (context) {
    case kHelpProperty:
      return L"property";
    case kHelpOption:
      return L"option";
    default:
      return {};
  }
}

std::wstring FileUrl(std::wstring_view path, std::wstring_view anchor) {
  std::wstring url;
  std::wstring_view rest = path;
  bool unc = false;
  if (StartsWith(rest, L"\\\\?\\UNC\\")) {
    rest.remove_prefix(8);
    unc = true;
  } else if (StartsWith(rest, L"\\\\?\\")) {
    rest.remove_prefix(4);
  } else if (rest.size() >= 2 && IsSeparator(rest[0]) && IsSeparator(rest[1])) {
    rest.remove_prefix(2);
    unc = true;
  }
  if (unc) {
    if (!IsUncRest(rest)) return {};
    url = L"file://";
  } else {
    if (rest.size() < 3 || !IsAsciiLetter(rest[0]) || rest[1] != L':' || !IsSeparator(rest[2])) {
      return {};
    }
    url = L"file:///";
    url += rest.substr(0, 2);
    rest.remove_prefix(2);
  }
  if (!AppendEncoded(rest, url)) return {};
  if (!anchor.empty()) {
    url += L'#';
    if (!AppendEncoded(anchor, url)) return {};
  }
  return url;
}

HelpPlan PlanHelp(std::wstring_view helpFile, bool helpFileExists, int context) {
  HelpPlan plan;
  if (helpFileExists) {
    plan.winHelp = true;
    plan.file = std::wstring(helpFile);
    plan.command = context == kHelpContents ? kWinHelpContents : kWinHelpContext;
    plan.data = context == kHelpContents ? 0 : static_cast<unsigned long>(context);
    return plan;
  }
  const std::size_t slash = helpFile.find_last_of(L"\\/");
  plan.file = std::wstring(slash == std::wstring_view::npos ? std::wstring_view()
                                                             : helpFile.substr(0, slash + 1));
  plan.file += kHtmlHelpName;
  plan.url = FileUrl(plan.file, HelpAnchor(context));
  return plan;
}

}  // namespace tabcard
