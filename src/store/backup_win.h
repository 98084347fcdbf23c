// The Win32 side of backup files: code page 932 for memo strings, the file
// under whatever path the user picks, and the local time for its name.
#pragma once

#include <string>
#include <string_view>

#include "store/backup.h"
#include "store/backup_store.h"

namespace tabcard {

// Converts through src/core/strconv_win.h (code page 932, no best fit).
const Cp932Codec& WindowsCp932();

// The file's bytes, at most one more than kMaxBackupFileBytes (ReadBackup
// refuses such a file). False, with a reason for the user, when it cannot
// be opened or read.
bool LoadBackupFile(const std::wstring& path, std::string* bytes, std::string* reason);

// Writes path + ".tmp" beside it, flushes it, and only then moves it over
// path, so a failure leaves an earlier file of that name whole.
bool SaveBackupFile(const std::wstring& path, std::string_view bytes, std::string* reason);

BackupTime LocalBackupTime();

}  // namespace tabcard
