// The guard in front of every store of typed text: the edit boxes are
// Unicode, the store is CP932, and a character CP932 cannot hold would be
// kept as "?" and the user's data silently changed.
#pragma once

#include <windows.h>

#include <string_view>

namespace tabcard {

// When the edit box holds such a character: says so in a message box over
// owner (naming the field by label and the character), selects the
// character and returns false. True when the text can be stored as it is.
bool CheckStorable(HWND owner, HWND edit, std::wstring_view label, std::wstring_view caption);

}  // namespace tabcard
