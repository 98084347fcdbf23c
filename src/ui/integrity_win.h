// Mandatory integrity levels of processes: Windows drops synthesised input
// sent to a process whose level is above the sender's.
#pragma once

#include <windows.h>

#include <optional>

namespace tabcard {

// The RID of the process's mandatory label (SECURITY_MANDATORY_*_RID); none
// when the process cannot be opened or its token does not tell.
std::optional<DWORD> ProcessIntegrityLevel(DWORD processId);
std::optional<DWORD> CurrentProcessIntegrityLevel();

}  // namespace tabcard
