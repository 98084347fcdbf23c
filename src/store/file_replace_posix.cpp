#ifndef _WIN32

#include "store/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace tabcard {

namespace {

// The rename must not make the new content durable before the data is.
bool SyncToDisk(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
}

}  // namespace

bool ReplaceFileAtomically(const std::string& from, const std::string& to) {
  // A file the user made private stays private after the replace.
  struct stat old {};
  if (::stat(to.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    ::chmod(from.c_str(), old.st_mode & 07777);
  }
  if (!SyncToDisk(from)) return false;
  return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace tabcard

#endif  // _WIN32
