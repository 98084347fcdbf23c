// DPI: the one scaling point for every design size (pixels at 96 DPI) and
// every configured pixel or point size. The per-monitor functions are looked
// up at run time, since older systems lack them.
#pragma once

#include <windows.h>

namespace tabcard {

inline constexpr int kDesignDpi = 96;

class DpiScale {
 public:
  explicit DpiScale(int dpi = kDesignDpi) : dpi_(dpi > 0 ? dpi : kDesignDpi) {}
  int dpi() const { return dpi_; }
  // Design pixels to device pixels; exact at 96 DPI.
  int Px(int designPixels) const { return MulDiv(designPixels, dpi_, kDesignDpi); }
  // Device pixels back to design pixels (for sizes the user gave the window).
  int Design(int devicePixels) const { return MulDiv(devicePixels, kDesignDpi, dpi_); }
  // A font size in points as a LOGFONT height (negative: character height).
  int FontHeight(int points) const { return -MulDiv(points, dpi_, 72); }
  // A LOGFONT height given at 96 DPI.
  int ScaleFontHeight(int designHeight) const { return MulDiv(designHeight, dpi_, kDesignDpi); }

 private:
  int dpi_;
};

// Asks for per-monitor v2 awareness when the manifest was not honoured;
// harmless when it was.
void EnablePerMonitorDpi();

// The DPI of the window's monitor, or of the system when the per-monitor
// functions are missing.
int WindowDpi(HWND hwnd);

// The DPI of the monitor nearest to a screen point.
int DpiAtPoint(POINT p);

// System metric at a given DPI (GetSystemMetricsForDpi when present).
int SystemMetricForDpi(int index, int dpi);

}  // namespace tabcard
