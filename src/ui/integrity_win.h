// What the transfer asks of another process: its mandatory integrity level
// (Windows drops synthesised input sent to a process whose level is above
// the sender's) and its executable's name (the paste-key rules).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace tabcard {

// The RID of the process's mandatory label (SECURITY_MANDATORY_*_RID); none
// when the process cannot be opened or its token does not tell.
std::optional<DWORD> ProcessIntegrityLevel(DWORD processId);
std::optional<DWORD> CurrentProcessIntegrityLevel();

// The file name of the process's executable ("wordpad.exe"); empty when the
// process cannot be opened.
std::wstring ProcessImageName(DWORD processId);

}  // namespace tabcard
