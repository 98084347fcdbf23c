// Process entry: one instance at a time, the application window, the
// palette, the message loop. Arguments are ignored; the result is always 0.
#include <windows.h>

#include <memory>

#include "app/application_win.h"
#include "app/main_window_win.h"
#include "app/single_instance_win.h"
#include "store/registry_win.h"
#include "ui/app_error_win.h"
#include "ui/dpi_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace tabcard;
  const AppMutex mutex;
  if (mutex.AnotherInstance()) return 0;
  EnablePerMonitorDpi();
  WinRegistry store;
  std::unique_ptr<Application> app;
  std::unique_ptr<TfrmMain> main;
  const bool created = RunReported(nullptr, [&] {
    app = std::make_unique<Application>();
    main = std::make_unique<TfrmMain>(store, app->hwnd(), app->HelpFile());
    main->Create();
  });
  if (!created) return 0;
  app->Run();
  return 0;
}
