// Where the main window goes on the screen: the default rectangle of a first
// start, and pulling a restored window back in at the right and bottom edges.
// Pure: the window code passes the monitor rectangles it got from the system.
#pragma once

#include <cstdint>
#include <vector>

namespace tabcard {

struct WindowBounds {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// A monitor's full rectangle (not its work area), right and bottom exclusive.
struct MonitorRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// 130 x 160 centred on the primary screen, halves truncated toward zero.
WindowBounds DefaultWindowBounds(std::int32_t screenWidth, std::int32_t screenHeight);

// Against the monitor the window overlaps most (or, overlapping none, the
// nearest; ties go to the earlier, the primary first): a window whose bottom
// reaches the monitor's bottom (top + height >= bottom) ends flush with it,
// likewise at the right. A window beyond the left or top edge stays, unless
// it overlaps no monitor at all: then it is first moved onto the nearest one.
// With one monitor at (0, 0) that is the single-screen rule for every window
// that shows on the screen at all. No monitors: the bounds are unchanged.
WindowBounds PlaceWindow(const WindowBounds& window, const std::vector<MonitorRect>& monitors);

// The show hotkey brings the window to the pointer: on the monitor whose work
// area holds the point (nearest when none does). A window that lies mostly on
// that monitor stays; otherwise it goes there, its size kept, centred on the
// point as far as the work area allows.
WindowBounds OntoMonitorAt(const WindowBounds& window, const std::vector<MonitorRect>& workAreas,
                           std::int32_t x, std::int32_t y);

}  // namespace tabcard
