#include "app/single_instance_win.h"

namespace tabcard {

bool AppMutexExists() {
  HANDLE h = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, kAppMutexName);
  if (!h) return false;
  CloseHandle(h);
  return true;
}

AppMutex::AppMutex() : handle_(CreateMutexW(nullptr, FALSE, kAppMutexName)) {}

AppMutex::~AppMutex() {
  if (handle_) CloseHandle(handle_);
}

}  // namespace tabcard
