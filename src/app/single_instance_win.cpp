#include "app/single_instance_win.h"

namespace tabcard {

AppMutex::AppMutex()
    : handle_(CreateMutexW(nullptr, FALSE, kAppMutexName)),
      another_(handle_ && GetLastError() == ERROR_ALREADY_EXISTS) {}

AppMutex::~AppMutex() {
  if (handle_) CloseHandle(handle_);
}

}  // namespace tabcard
