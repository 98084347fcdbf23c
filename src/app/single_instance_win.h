// The single-instance marker: a named mutex that only says "running".
// Nothing waits on it and the running instance is never signalled.
#pragma once

#include <windows.h>

namespace tabcard {

inline constexpr wchar_t kAppMutexName[] = L"AppMutex";

// Creates the mutex (no security attributes, not initially owned) and
// closes it at the end of its scope; never owned, it has nothing to
// release. Creating and asking in one call leaves no moment in which two
// starts can both find no mutex. A failed creation only means that a later
// start is not refused.
class AppMutex {
 public:
  AppMutex();
  ~AppMutex();
  AppMutex(const AppMutex&) = delete;
  AppMutex& operator=(const AppMutex&) = delete;

  // Another instance had created the mutex already.
  bool AnotherInstance() const { return another_; }

 private:
  HANDLE handle_;
  bool another_;
};

}  // namespace tabcard
