// Grid geometry, DPI scaling and window placement with extreme numbers.
// Input: little-endian 32-bit integers, read as needed (zeros past the end).
#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "fuzz_check.h"
#include "store/placement.h"
#include "ui/dpi_scale.h"
#include "ui/grid_geometry.h"

namespace tabcard {
namespace {

using fuzz::ByteReader;
using Wide = std::int64_t;

void CheckHit(const GridGeometry& g, int x, int y) {
  const GridCell c = g.CellAt(x, y);
  const bool inside = x >= 0 && y >= 0 && x < g.ContentWidth() && y < g.ContentHeight();
  FUZZ_CHECK(c.IsCell() == inside);
  if (!inside) {
    FUZZ_CHECK(c == kNoCell);
    return;
  }
  FUZZ_CHECK(g.Contains(c));
  const GridRect r = g.CellRect(c);
  FUZZ_CHECK(r.left <= x && Wide{x} < Wide{r.left} + g.ColPitch());
  FUZZ_CHECK(r.top <= y && Wide{y} < Wide{r.top} + g.RowPitch());
  FUZZ_CHECK(r.Width() == g.ColWidth() && r.Height() == g.RowHeight());
}

void CheckSpan(const GridGeometry& g, const GridRect& area) {
  const CellSpan span = g.CellsIn(area);
  if (span.IsEmpty()) {
    // Nothing of the area lies on the content.
    FUZZ_CHECK(std::min(area.right, g.ContentWidth()) <= std::max(area.left, 0) ||
               std::min(area.bottom, g.ContentHeight()) <= std::max(area.top, 0));
    return;
  }
  FUZZ_CHECK(span.firstCol >= 0 && span.lastCol < g.Cols() && span.firstRow >= 0 && span.lastRow < g.Rows());
  const GridCell first = g.CellAt(std::max(area.left, 0), std::max(area.top, 0));
  FUZZ_CHECK(first == (GridCell{span.firstCol, span.firstRow}));
  const GridCell last = g.CellAt(std::min(area.right - 1, g.ContentWidth() - 1),
                                 std::min(area.bottom - 1, g.ContentHeight() - 1));
  FUZZ_CHECK(last == (GridCell{span.lastCol, span.lastRow}));
}

void CheckScroll(const GridGeometry& g, ByteReader& in) {
  const int areaWidth = in.I32();
  const int areaHeight = in.I32();
  const int vBar = in.U16();
  const int hBar = in.U16();
  const ScrollLayout s =
      LayoutScrollBars(g.ContentWidth(), g.ContentHeight(), areaWidth, areaHeight, vBar, hBar);
  FUZZ_CHECK(s.clientWidth >= 0 && s.clientWidth <= std::max(areaWidth, 0));
  FUZZ_CHECK(s.clientHeight >= 0 && s.clientHeight <= std::max(areaHeight, 0));
  if (!s.hBar) FUZZ_CHECK(g.ContentWidth() <= s.clientWidth);
  if (!s.vBar) FUZZ_CHECK(g.ContentHeight() <= s.clientHeight);

  const int client = s.clientHeight;
  const int offset = ClampScrollOffset(in.I32(), g.ContentHeight(), client);
  FUZZ_CHECK(offset >= 0 && offset <= MaxScrollOffset(g.ContentHeight(), client));
  const GridCell cell{static_cast<int>(in.U16() % g.Cols()), static_cast<int>(in.U16() % g.Rows())};
  const GridRect r = g.CellRect(cell);
  const int shown = OffsetToShow(offset, r.top, r.bottom, client);
  if (r.Height() <= client) {
    FUZZ_CHECK(shown <= r.top && Wide{r.bottom} <= Wide{shown} + client);
  } else {
    FUZZ_CHECK(shown == r.top);
  }
}

void CheckMoves(const GridGeometry& g, ByteReader& in) {
  const GridCell from{in.I32(), in.I32()};
  const int pageRows = in.I32();
  for (int m = 0; m <= static_cast<int>(GridMove::kPrevious); ++m) {
    const GridCell to = MoveCell(from, static_cast<GridMove>(m), g.Cols(), g.Rows(), pageRows);
    FUZZ_CHECK(g.Contains(to));
  }
  FUZZ_CHECK(WholeRowsIn(in.I32(), g.RowPitch()) >= 1);
  // Wheel deltas are 16-bit; the carry stays below one notch.
  int carry = 0;
  const int lines = in.I32();
  for (int turn = 0; turn < 3; ++turn) {
    WheelPixels(static_cast<std::int16_t>(in.U16()), carry, lines, g.RowPitch());
    FUZZ_CHECK(carry > -120 && carry < 120);
  }
}

// Scaling keeps a size's sign and order; at 96 DPI or more never shrinks it.
void CheckScale(ByteReader& in) {
  const DpiScale scale(in.I32());
  const int a = in.I32();
  const int px = scale.Px(a);
  FUZZ_CHECK((a > 0 && px >= 0) || (a < 0 && px <= 0) || (a == 0 && px == 0));
  if (a < INT_MAX) FUZZ_CHECK(px <= scale.Px(a + 1));
  if (scale.dpi() >= kDesignDpi) FUZZ_CHECK(a >= 0 ? px >= a : px <= a);
  if (scale.dpi() == kDesignDpi) FUZZ_CHECK(px == a);
  const int points = in.I32();
  const int height = scale.FontHeight(points);
  FUZZ_CHECK(points >= 0 ? height <= 0 : height >= 0);
}

bool Inside(const WindowBounds& w, const MonitorRect& m) {
  return w.left >= m.left && w.top >= m.top && Wide{w.left} + w.width <= m.right &&
         Wide{w.top} + w.height <= m.bottom;
}

void CheckPlacement(ByteReader& in) {
  const std::int32_t screenWidth = in.I32();
  const std::int32_t screenHeight = in.I32();
  const WindowBounds d = DefaultWindowBounds(screenWidth, screenHeight);
  FUZZ_CHECK(d.width == 130 && d.height == 160);
  WindowBounds w;
  w.left = in.I32();
  w.top = in.I32();
  w.width = in.I32();
  w.height = in.I32();
  std::vector<MonitorRect> monitors(in.U8() % 4);
  for (MonitorRect& m : monitors) m = MonitorRect{in.I32(), in.I32(), in.I32(), in.I32()};
  const WindowBounds p = PlaceWindow(w, monitors);
  FUZZ_CHECK(p.width == w.width && p.height == w.height);
  if (monitors.size() != 1) return;
  const MonitorRect& m = monitors[0];
  const bool fits = m.left < m.right && m.top < m.bottom && w.width > 0 && w.height > 0 &&
                    w.width <= Wide{m.right} - m.left && w.height <= Wide{m.bottom} - m.top;
  if (!fits) return;
  if (Inside(w, m)) FUZZ_CHECK(p.left == w.left && p.top == w.top);
  // Pulled in at the right and bottom, and always reachable.
  FUZZ_CHECK(Wide{p.left} + p.width <= m.right && Wide{p.top} + p.height <= m.bottom);
  FUZZ_CHECK(Wide{p.left} + p.width > m.left && Wide{p.top} + p.height > m.top);
}

}  // namespace
}  // namespace tabcard

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tabcard;
  ByteReader in(data, size);
  const int cols = in.I32();
  const int rows = in.I32();
  const int colWidth = in.I32();
  const int rowHeight = in.I32();
  const int lineWidth = in.I32();
  const GridGeometry g(cols, rows, colWidth, rowHeight, lineWidth);
  FUZZ_CHECK(g.ContentWidth() == Wide{g.Cols()} * g.ColPitch() && g.ContentWidth() >= 0);
  FUZZ_CHECK(g.ContentHeight() == Wide{g.Rows()} * g.RowPitch() && g.ContentHeight() >= 0);
  const int x = in.I32();
  const int y = in.I32();
  CheckHit(g, x, y);
  CheckSpan(g, GridRect{in.I32(), in.I32(), in.I32(), in.I32()});
  CheckScroll(g, in);
  CheckMoves(g, in);
  CheckScale(in);
  CheckPlacement(in);
  return 0;
}
