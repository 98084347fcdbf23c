#include "ui/dpi_win.h"

namespace tabcard {
namespace {

template <class Fn>
Fn Resolve(const wchar_t* module, const char* name) {
  HMODULE m = GetModuleHandleW(module);
  if (!m) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, name)));
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using SetProcessDpiAwarenessContextFn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);

int SystemDpi() {
  if (auto fn = Resolve<GetDpiForSystemFn>(L"user32.dll", "GetDpiForSystem")) {
    return static_cast<int>(fn());
  }
  HDC dc = GetDC(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : kDesignDpi;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi;
}

}  // namespace

void EnablePerMonitorDpi() {
  if (auto fn = Resolve<SetProcessDpiAwarenessContextFn>(L"user32.dll",
                                                         "SetProcessDpiAwarenessContext")) {
    fn(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  }
}

int WindowDpi(HWND hwnd) {
  if (auto fn = Resolve<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow")) {
    const UINT dpi = fn(hwnd);
    if (dpi) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) {
  if (auto fn = Resolve<GetSystemMetricsForDpiFn>(L"user32.dll", "GetSystemMetricsForDpi")) {
    return fn(index, static_cast<UINT>(dpi));
  }
  return GetSystemMetrics(index);
}

}  // namespace tabcard
