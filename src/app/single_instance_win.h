// The single-instance marker: a named mutex that only says "running".
// Nothing waits on it and the running instance is never signalled.
#pragma once

#include <windows.h>

namespace tabcard {

inline constexpr wchar_t kAppMutexName[] = L"AppMutex";

// True when a mutex of that name exists (opened with all access, not
// inheritable); the handle is closed again at once.
bool AppMutexExists();

// Creates the mutex (no security attributes, not initially owned) and
// closes it at the end of its scope; never owned, it has nothing to release. Whether the creation
// succeeded is not looked at: a failure only means a later start is not
// refused.
class AppMutex {
 public:
  AppMutex();
  ~AppMutex();
  AppMutex(const AppMutex&) = delete;
  AppMutex& operator=(const AppMutex&) = delete;

 private:
  HANDLE handle_;
};

}  // namespace tabcard
