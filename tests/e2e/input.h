// The pointer, the keyboard, the foreground and the clipboard as a user (or
// another program) works them, for the transfer scenarios. Input goes
// through SendInput; every wait is bounded.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace tabcard::e2e {

// After a foreground switch the test makes, the old window's late focus
// events can still hand the foreground on for a moment (measured under
// Wine without a window manager: about 1 in 10 switches without it). This
// settle is the one pause that waits on no condition.
constexpr DWORD kForegroundSettleMs = 150;

// Moves the pointer (absolute SendInput move) and waits until GetCursorPos
// holds the point for a few polls. False when it never got there.
bool MoveMouseTo(POINT p);
// One button event (MOUSEEVENTF_LEFTDOWN, ...) where the pointer is.
bool MouseButton(DWORD flag);
// Left press at from, moves there in steps, release at to. A left press
// near the one before waits out the double-click time, so it never pairs
// with it.
bool Drag(POINT from, POINT to, int steps = 8);
bool Click(POINT p);
bool DoubleClick(POINT p);
bool RightClick(POINT p);
// Down and up of one virtual key.
bool PressKey(WORD vk);
// Down and up of each key, queued at once, so nothing the program takes in
// meanwhile comes between them.
bool PressKeys(const std::vector<WORD>& keys);
// A menu opens under the pointer, and the pointer's arrival, which clears
// the menu's selection, reaches it only when the display reports it: keys
// for a menu wait this long after it shows.
constexpr DWORD kMenuSettleMs = 250;
// A chord as a hand plays it: the modifiers down, the key down and up, the
// modifiers still held for holdMs, then let go.
bool PressChord(std::initializer_list<WORD> modifiers, WORD vk, DWORD holdMs);
// Each UTF-16 unit of text as a key of its own (KEYEVENTF_UNICODE), as an
// input method hands its text over.
bool TypeText(const std::wstring& text);

// SetForegroundWindow, a bounded wait until it shows, then the settle.
bool BringForward(HWND window);

// The thread's capture and menu state, from another process.
HWND CaptureOf(DWORD threadId);
bool InMenuMode(DWORD threadId);
DWORD ThreadOf(HWND window);
// The visible popup menus (#32768) of a process, and the last one found.
int VisibleMenus(DWORD pid);
HWND VisibleMenu(DWORD pid);

std::wstring WindowTitle(HWND window);
// A control's text, asked of it with WM_GETTEXT: GetWindowText gives only
// the caption the system keeps for a window of another process.
std::wstring ControlText(HWND control);

// The clipboard, opened by a hidden window of this process.
// With a registered format of the given name too, holding one DWORD, when
// one is named.
bool PutClipboardUnicode(const std::wstring& text, const wchar_t* formatName = nullptr,
                         DWORD value = 0);
bool EmptyTheClipboard();
std::optional<std::wstring> ClipboardUnicode();
// CF_TEXT's bytes up to the first zero.
std::optional<std::string> ClipboardAnsi();
std::optional<LCID> ClipboardLocale();
// Whether the clipboard holds a registered format, and its first DWORD.
bool ClipboardHas(const wchar_t* formatName);
std::optional<DWORD> ClipboardDword(const wchar_t* formatName);

RECT Union(const RECT& a, const RECT& b);
POINT Centre(const RECT& r);

}  // namespace tabcard::e2e
