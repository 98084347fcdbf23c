// Opening the help: WinHelp for a "Tabcard.hlp" beside the program, else
// the HTML help beside it in the user's browser (app/help.h decides).
#pragma once

#include <windows.h>

#include <string>

namespace tabcard {

// helpFile: Application::HelpFile(); context: kHelpContents, kHelpProperty
// or kHelpOption. Empty when the help opened, else what to tell the user:
// why not, and the file.
std::wstring TryOpenHelp(HWND owner, const std::wstring& helpFile, int context);

// TryOpenHelp, and a failure told in a box ("ヘルプ", OK, exclamation)
// owned by owner.
void OpenHelp(HWND owner, const std::wstring& helpFile, int context);

}  // namespace tabcard
