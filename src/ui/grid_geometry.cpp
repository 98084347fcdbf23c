#include "ui/grid_geometry.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "ui/dpi_scale.h"

namespace tabcard {

namespace {

int Clamp(int n, int lo, int hi) { return std::min(std::max(n, lo), hi); }

// Index of the pitch-wide band holding position p, or -1 outside 0..count-1.
int BandAt(int p, int pitch, int count) {
  if (p < 0 || pitch <= 0) return -1;
  const int band = p / pitch;
  return band < count ? band : -1;
}

// Bands touched by [from, to), clamped to the existing ones.
void BandsIn(int from, int to, int pitch, int count, int& first, int& last) {
  first = 0;
  last = -1;
  if (pitch <= 0 || to <= from || to <= 0) return;
  first = std::max(from, 0) / pitch;
  last = std::min((to - 1) / pitch, count - 1);
}

}  // namespace

int ClampGridCount(int n) { return Clamp(n, 1, kMaxGridCount); }
int ClampGridCellSize(int n) { return Clamp(n, 0, kMaxGridCellSize); }
int ClampGridLineWidth(int n) { return Clamp(n, 0, kMaxGridLineWidth); }

GridGeometry::GridGeometry(int cols, int rows, int colWidth, int rowHeight, int lineWidth) {
  SetCounts(cols, rows);
  SetCellSize(colWidth, rowHeight);
  SetLineWidth(lineWidth);
}

void GridGeometry::SetCounts(int cols, int rows) {
  cols_ = ClampGridCount(cols);
  rows_ = ClampGridCount(rows);
}

void GridGeometry::SetCellSize(int colWidth, int rowHeight) {
  colWidth_ = ClampGridCellSize(colWidth);
  rowHeight_ = ClampGridCellSize(rowHeight);
}

void GridGeometry::SetLineWidth(int lineWidth) { lineWidth_ = ClampGridLineWidth(lineWidth); }

// At most 32767 * (32767 + 255), below INT_MAX.
int GridGeometry::ContentWidth() const { return cols_ * ColPitch(); }
int GridGeometry::ContentHeight() const { return rows_ * RowPitch(); }

GridCell GridGeometry::CellAt(int x, int y) const {
  const int col = BandAt(x, ColPitch(), cols_);
  const int row = BandAt(y, RowPitch(), rows_);
  if (col < 0 || row < 0) return kNoCell;
  return GridCell{col, row};
}

GridRect GridGeometry::CellRect(GridCell c) const {
  if (!Contains(c)) return GridRect{};
  const int left = c.col * ColPitch();
  const int top = c.row * RowPitch();
  return GridRect{left, top, left + colWidth_, top + rowHeight_};
}

CellSpan GridGeometry::CellsIn(const GridRect& content) const {
  CellSpan span;
  BandsIn(content.left, content.right, ColPitch(), cols_, span.firstCol, span.lastCol);
  BandsIn(content.top, content.bottom, RowPitch(), rows_, span.firstRow, span.lastRow);
  if (span.IsEmpty()) return CellSpan{};
  return span;
}

ScrollLayout LayoutScrollBars(int contentWidth, int contentHeight, int areaWidth, int areaHeight,
                              int vBarWidth, int hBarHeight) {
  ScrollLayout out;
  areaWidth = std::max(areaWidth, 0);
  areaHeight = std::max(areaHeight, 0);
  out.hBar = contentWidth > areaWidth;
  out.vBar = contentHeight > areaHeight;
  // Each bar narrows the other direction; two rounds settle it, since a bar
  // once needed stays needed.
  for (int round = 0; round < 2; ++round) {
    const int w = areaWidth - (out.vBar ? vBarWidth : 0);
    const int h = areaHeight - (out.hBar ? hBarHeight : 0);
    out.hBar = out.hBar || contentWidth > w;
    out.vBar = out.vBar || contentHeight > h;
  }
  out.clientWidth = std::max(areaWidth - (out.vBar ? vBarWidth : 0), 0);
  out.clientHeight = std::max(areaHeight - (out.hBar ? hBarHeight : 0), 0);
  return out;
}

int MaxScrollOffset(int content, int client) { return std::max(content - std::max(client, 0), 0); }

int ClampScrollOffset(int offset, int content, int client) {
  return Clamp(offset, 0, MaxScrollOffset(content, client));
}

int OffsetToShow(int offset, int start, int end, int client) {
  client = std::max(client, 0);
  if (start < offset || end - start > client) return start;
  if (end > offset + client) return end - client;
  return offset;
}

namespace {

GridCell Step(GridCell c, int cols, int rows, int by) {
  // Row-major index, wrapped into 0..cols*rows-1.
  const std::int64_t total = static_cast<std::int64_t>(cols) * rows;
  std::int64_t i = static_cast<std::int64_t>(c.row) * cols + c.col + by;
  i = ((i % total) + total) % total;
  return GridCell{static_cast<int>(i % cols), static_cast<int>(i / cols)};
}

}  // namespace

GridCell MoveCell(GridCell from, GridMove move, int cols, int rows, int pageRows) {
  cols = ClampGridCount(cols);
  rows = ClampGridCount(rows);
  pageRows = std::max(pageRows, 1);
  GridCell c{Clamp(from.col, 0, cols - 1), Clamp(from.row, 0, rows - 1)};
  switch (move) {
    case GridMove::kLeft: c.col = std::max(c.col - 1, 0); break;
    case GridMove::kRight: c.col = std::min(c.col + 1, cols - 1); break;
    case GridMove::kUp: c.row = std::max(c.row - 1, 0); break;
    case GridMove::kDown: c.row = std::min(c.row + 1, rows - 1); break;
    case GridMove::kRowStart: c.col = 0; break;
    case GridMove::kRowEnd: c.col = cols - 1; break;
    case GridMove::kFirstCell: c = GridCell{0, 0}; break;
    case GridMove::kLastCell: c = GridCell{cols - 1, rows - 1}; break;
    case GridMove::kPageUp: c.row = std::max(c.row - pageRows, 0); break;
    case GridMove::kPageDown: c.row = static_cast<int>(
        std::min<std::int64_t>(static_cast<std::int64_t>(c.row) + pageRows, rows - 1)); break;
    case GridMove::kNext: c = Step(c, cols, rows, 1); break;
    case GridMove::kPrevious: c = Step(c, cols, rows, -1); break;
  }
  return c;
}

std::optional<GridMove> MoveForKey(unsigned vkey, bool ctrl, bool shift, bool tabs) {
  // Win32 virtual-key codes.
  constexpr unsigned kVkTab = 0x09, kVkPrior = 0x21, kVkNext = 0x22, kVkEnd = 0x23,
                     kVkHome = 0x24, kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27,
                     kVkDown = 0x28;
  switch (vkey) {
    case kVkLeft: return GridMove::kLeft;
    case kVkRight: return GridMove::kRight;
    case kVkUp: return GridMove::kUp;
    case kVkDown: return GridMove::kDown;
    case kVkHome: return ctrl ? GridMove::kFirstCell : GridMove::kRowStart;
    case kVkEnd: return ctrl ? GridMove::kLastCell : GridMove::kRowEnd;
    case kVkPrior: return GridMove::kPageUp;
    case kVkNext: return GridMove::kPageDown;
    case kVkTab:
      if (!tabs) return std::nullopt;
      return shift ? GridMove::kPrevious : GridMove::kNext;
    default: return std::nullopt;
  }
}

int WholeRowsIn(int clientHeight, int rowPitch) {
  if (rowPitch <= 0) return 1;
  return std::max(clientHeight / rowPitch, 1);
}

int CornerMarkSide(int dpi, int cellWidth, int cellHeight) {
  const int room = std::max(std::min(cellWidth, cellHeight), 0) / 2;
  return std::min(DpiScale(dpi).Px(kCornerMarkPx), room);
}

int WheelPixels(int delta, int& carry, int linesPerNotch, int linePixels) {
  constexpr int kWheelDelta = 120;
  const std::int64_t total = static_cast<std::int64_t>(carry) + delta;
  const std::int64_t notches = total / kWheelDelta;  // truncates toward zero
  carry = static_cast<int>(total - notches * kWheelDelta);
  // Wheel forward (positive delta) scrolls towards the start.
  const std::int64_t pixels = -notches * std::max(linesPerNotch, 0) * std::max(linePixels, 0);
  return static_cast<int>(std::clamp<std::int64_t>(pixels, INT_MIN / 2, INT_MAX / 2));
}

}  // namespace tabcard
