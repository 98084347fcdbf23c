#include "store/placement.h"

#include <algorithm>
#include <limits>

namespace tabcard {
namespace {

// Stored bounds are not trusted: sums are taken in 64 bits.
using Wide = std::int64_t;

struct Span {
  Wide low;
  Wide high;  // exclusive
};

Wide Overlap(Span a, Span b) { return std::max<Wide>(0, std::min(a.high, b.high) - std::max(a.low, b.low)); }

// Distance from a span to another along one axis; 0 when they overlap.
Wide Gap(Span a, Span b) {
  if (a.high <= b.low) return b.low - a.high;
  if (b.high <= a.low) return a.low - b.high;
  return 0;
}

std::int32_t ToInt32(Wide v) {
  return static_cast<std::int32_t>(
      std::clamp<Wide>(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

Span Horizontal(const WindowBounds& w) { return {w.left, Wide{w.left} + std::max<Wide>(w.width, 0)}; }
Span Vertical(const WindowBounds& w) { return {w.top, Wide{w.top} + std::max<Wide>(w.height, 0)}; }
Span Horizontal(const MonitorRect& m) { return {m.left, m.right}; }
Span Vertical(const MonitorRect& m) { return {m.top, m.bottom}; }

// Index of the monitor with the largest overlap, or -1 when none overlaps.
int MostOverlapped(const WindowBounds& window, const std::vector<MonitorRect>& monitors) {
  int best = -1;
  Wide bestArea = 0;
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    const Wide area = Overlap(Horizontal(window), Horizontal(monitors[i])) *
                      Overlap(Vertical(window), Vertical(monitors[i]));
    if (area > bestArea) {
      best = static_cast<int>(i);
      bestArea = area;
    }
  }
  return best;
}

int Nearest(const WindowBounds& window, const std::vector<MonitorRect>& monitors) {
  int best = 0;
  double bestDistance = std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    const double dx = static_cast<double>(Gap(Horizontal(window), Horizontal(monitors[i])));
    const double dy = static_cast<double>(Gap(Vertical(window), Vertical(monitors[i])));
    const double distance = dx * dx + dy * dy;
    if (distance < bestDistance) {
      best = static_cast<int>(i);
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace

WindowBounds DefaultWindowBounds(std::int32_t screenWidth, std::int32_t screenHeight) {
  WindowBounds b;
  b.height = 160;
  b.width = 130;
  b.top = ToInt32((Wide{screenHeight} - 160) / 2);
  b.left = ToInt32((Wide{screenWidth} - 130) / 2);
  return b;
}

WindowBounds PlaceWindow(const WindowBounds& window, const std::vector<MonitorRect>& monitors) {
  if (monitors.empty()) return window;
  WindowBounds placed = window;
  int index = MostOverlapped(window, monitors);
  if (index < 0) {
    // Wholly off every monitor (one that was unplugged, say): an unreachable
    // window is of no use, so it is first brought onto the nearest one.
    index = Nearest(window, monitors);
    const MonitorRect& m = monitors[static_cast<std::size_t>(index)];
    placed.left = std::max(placed.left, m.left);
    placed.top = std::max(placed.top, m.top);
  }
  const MonitorRect& m = monitors[static_cast<std::size_t>(index)];
  if (Wide{placed.top} + placed.height >= m.bottom) placed.top = ToInt32(Wide{m.bottom} - placed.height);
  if (Wide{placed.left} + placed.width >= m.right) placed.left = ToInt32(Wide{m.right} - placed.width);
  return placed;
}

WindowBounds OntoMonitorAt(const WindowBounds& window, const std::vector<MonitorRect>& workAreas,
                           std::int32_t x, std::int32_t y) {
  if (workAreas.empty()) return window;
  const int target = Nearest(WindowBounds{x, y, 1, 1}, workAreas);
  if (MostOverlapped(window, workAreas) == target) return window;
  const MonitorRect& m = workAreas[static_cast<std::size_t>(target)];
  const auto place = [](Wide low, Wide high, Wide size, Wide centre) {
    // A window larger than the area keeps its start at the area's.
    return ToInt32(std::max(low, std::min(centre - size / 2, high - size)));
  };
  WindowBounds moved = window;
  moved.left = place(m.left, m.right, std::max<Wide>(window.width, 0), x);
  moved.top = place(m.top, m.bottom, std::max<Wide>(window.height, 0), y);
  return moved;
}

}  // namespace tabcard
