#ifdef _WIN32

#include "store/file_replace.h"

#include <fcntl.h>
#include <io.h>

#include <filesystem>
#include <system_error>

namespace tabcard {

namespace {

// The replace must not be on disk before the data is (FlushFileBuffers).
bool SyncToDisk(const std::string& path) {
  const int fd = ::_open(path.c_str(), _O_RDWR | _O_BINARY);
  if (fd < 0) return false;
  const bool synced = ::_commit(fd) == 0;
  return ::_close(fd) == 0 && synced;
}

}  // namespace

// The runtime's rename is MoveFileExW with MOVEFILE_REPLACE_EXISTING, which
// fails on a read-only target as the truncating open it stands in for.
bool ReplaceFileAtomically(const std::string& from, const std::string& to) {
  if (!SyncToDisk(from)) return false;
  std::error_code error;
  std::filesystem::rename(from, to, error);
  return !error;
}

}  // namespace tabcard

#endif  // _WIN32
