#include "app/application_win.h"

#include <vector>

#include "ui/app_error_win.h"
#include "ui/form_window_win.h"

namespace tabcard {
namespace {

std::wstring ModulePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::wstring();
    if (n < buffer.size()) return std::wstring(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

std::wstring BesideModule(const std::wstring& modulePath, const wchar_t* fileName) {
  const std::size_t slash = modulePath.find_last_of(L"\\/");
  std::wstring dir = slash == std::wstring::npos ? std::wstring() : modulePath.substr(0, slash + 1);
  return dir + fileName;
}

Application::Application() : helpFile_(BesideModule(ModulePath(), kHelpFileName)) {
  RegisterClassOnce(kAppWindowClass, 0, nullptr);
  // Never shown: an owned window has no taskbar button of its own, and its
  // hidden owner has none either.
  Create(kAppWindowClass, 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, kAppTitle,
         RECT{0, 0, 0, 0}, nullptr);
}

int Application::Run() {
  MSG msg;
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    if (RouteDialogMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

}  // namespace tabcard
