// Opening the help: WinHelp for a "Tabcard.hlp" beside the program, else
// the HTML help beside it in the user's browser (app/help.h decides).
#pragma once

#include <windows.h>

#include <string>

namespace tabcard {

// helpFile: Application::HelpFile(); context: kHelpContents, kHelpProperty
// or kHelpOption. False when nothing opened; the user has then been told
// in a box ("ヘルプ", OK, exclamation) owned by owner.
bool OpenHelp(HWND owner, const std::wstring& helpFile, int context);

// Lets the tests read the box's text instead of opening it (no box when set).
using HelpMessageSink = void (*)(const std::wstring& text);
void SetHelpMessageSinkForTest(HelpMessageSink sink);

}  // namespace tabcard
