// What the help commands open. WinHelp files no longer open on Windows 10
// and 11, so a "Tabcard.hlp" is used only when one stands beside the
// program; otherwise the HTML help shipped beside it opens in the browser,
// at the anchor of the asking window.
#pragma once

#include <string>
#include <string_view>

namespace tabcard {

// Help contexts: the contents, the profile editor, the options dialog.
constexpr int kHelpContents = 0;
constexpr int kHelpProperty = 17;
constexpr int kHelpOption = 19;

// The WinHelp commands of winuser.h, for a layer without <windows.h>.
constexpr unsigned kWinHelpContext = 0x0001;
constexpr unsigned kWinHelpContents = 0x0003;

inline constexpr wchar_t kHtmlHelpName[] = L"Tabcard.html";

inline constexpr char kHelpBoxCaption[] = "ヘルプ";
inline constexpr char kHelpMissingText[] = "ヘルプファイルが見つかりません。";
inline constexpr char kHelpFailedText[] = "ヘルプを開けませんでした。";

struct HelpPlan {
  bool winHelp = false;
  // The .hlp file for WinHelp, else the HTML file beside it.
  std::wstring file;
  unsigned command = 0;   // WinHelp only
  unsigned long data = 0;  // WinHelp only
  // The HTML file as a file:/// URL with the context's anchor; empty when
  // the path cannot be written as one (then only the file itself opens).
  std::wstring url;
};

// helpFile: "Tabcard.hlp" beside the program, and whether it exists.
HelpPlan PlanHelp(std::wstring_view helpFile, bool helpFileExists, int context);

// The HTML anchor of a context: "property", "option", or empty (the top).
std::wstring_view HelpAnchor(int context);

// "file:///C:/..." or "file://server/share/..." for an absolute drive or UNC
// path (a "\\?\" prefix allowed), with "#anchor" unless anchor is empty.
// Everything but unreserved characters and separators is percent-encoded
// as UTF-8. Empty for a relative path or text that is not valid UTF-16.
std::wstring FileUrl(std::wstring_view path, std::wstring_view anchor);

}  // namespace tabcard
