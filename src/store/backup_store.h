// Taking a backup of everything Tabcard keeps and putting one back: the
// product key over the registry's raw access, and the memo files of the
// current directory (where Tabcard keeps them).
#pragma once

#include <string>

#include "store/backup.h"
#include "store/registry.h"

namespace tabcard {

// The product key with every subkey and value (none when there is no product
// key yet), and the existing memo files of the memo page's slots as the
// captured Config\Memo counts them. False, with a reason for the user, when
// a key or a memo file cannot be read (a memo above 16 MB is refused).
bool CaptureBackup(RegistryBackend& backend, Backup* out, std::string* reason);

// Makes the store what the backup holds. The memo files of the backup's
// memo slots (0 .. BackupMemoSlots - 1) are replaced one by one through a
// temporary file; a slot without a memo in the backup loses its file, and
// files of slots beyond are left alone. Then the product key is deleted and
// written anew, and read back to be compared with the backup. On any failure
// the previous registry and memo files are put back as far as possible, and
// the reason says what failed and whether that succeeded.
bool RestoreBackup(RegistryBackend& backend, const Backup& backup, std::string* reason);

// Local date and time, as the file names show them.
struct BackupTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The name the backup command suggests: "Tabcard-20240501.tcb".
std::string DefaultBackupName(const BackupTime& t);
// The backup taken of the current store before a restore replaces it:
// "Tabcard-20240501-134502-復元前.tcb" (CP932), to the second so that two
// restores in a day keep both.
std::string SafetyBackupName(const BackupTime& t);

}  // namespace tabcard
