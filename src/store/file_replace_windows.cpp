#ifdef _WIN32

#include "store/file_replace.h"

#include <fcntl.h>
#include <io.h>

#include <windows.h>

namespace tabcard {

namespace {

// The replace must not be on disk before the data is (FlushFileBuffers).
bool SyncToDisk(const std::string& path) {
  const int fd = ::_open(path.c_str(), _O_RDWR | _O_BINARY);
  if (fd < 0) return false;
  const bool synced = ::_commit(fd) == 0;
  return ::_close(fd) == 0 && synced;
}

// The names are ASCII, so each byte is its UTF-16 unit.
std::wstring AsciiWide(const std::string& name) { return std::wstring(name.begin(), name.end()); }

}  // namespace

// MOVEFILE_REPLACE_EXISTING fails on a read-only target, as the truncating
// open it stands in for would.
bool ReplaceFileAtomically(const std::string& from, const std::string& to) {
  if (!SyncToDisk(from)) return false;
  return MoveFileExW(AsciiWide(from).c_str(), AsciiWide(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace tabcard

#endif  // _WIN32
