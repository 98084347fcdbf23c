// The DPI the system gives a window or a monitor. The per-monitor functions
// are looked up at run time, since older systems lack them; the scaling
// itself is DpiScale.
#pragma once

#include <windows.h>

#include "ui/dpi_scale.h"

namespace tabcard {

// Asks for per-monitor v2 awareness when the manifest was not honoured;
// harmless when it was.
void EnablePerMonitorDpi();

// The DPI of the window's monitor, or of the system when the per-monitor
// functions are missing.
int WindowDpi(HWND hwnd);

// System metric at a given DPI (GetSystemMetricsForDpi when present).
int SystemMetricForDpi(int index, int dpi);

}  // namespace tabcard
