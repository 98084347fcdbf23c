// Arithmetic of the string grid, free of any window: where each cell lies,
// which cell a point hits, how far the content can scroll, where a key moves
// the current cell. Positions are in content coordinates (0,0 = top-left of
// cell (0,0), before scrolling); the window layer adds the scroll offset.
//
// Layout: every cell is followed by a grid line, to its right and below it,
// so a column takes colWidth + lineWidth pixels and the content is
// cols * (colWidth + lineWidth) wide. A point on a line belongs to the cell
// before it, so moving across a line never passes through "no cell".
#pragma once

#include <cstdint>
#include <optional>

#include "forms/input.h"

namespace tabcard {

inline constexpr int kMaxGridCount = 32767;  // fits the 16-bit halves of a packed cell
inline constexpr int kMaxGridCellSize = 32767;
inline constexpr int kMaxGridLineWidth = 255;

struct GridRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// Counts are at least 1 and at most kMaxGridCount; sizes 0..kMaxGridCellSize;
// the line 0..kMaxGridLineWidth. Out-of-range values are clamped, never refused.
int ClampGridCount(int n);
int ClampGridCellSize(int n);
int ClampGridLineWidth(int n);

// First and last column and row (inclusive) touched by a content rectangle;
// empty (last < first) when it misses every cell.
struct CellSpan {
  int firstCol = 0;
  int lastCol = -1;
  int firstRow = 0;
  int lastRow = -1;
  bool IsEmpty() const { return lastCol < firstCol || lastRow < firstRow; }
};

class GridGeometry {
 public:
  GridGeometry() = default;
  GridGeometry(int cols, int rows, int colWidth, int rowHeight, int lineWidth);

  void SetCounts(int cols, int rows);
  void SetCellSize(int colWidth, int rowHeight);
  void SetLineWidth(int lineWidth);

  int Cols() const { return cols_; }
  int Rows() const { return rows_; }
  int ColWidth() const { return colWidth_; }
  int RowHeight() const { return rowHeight_; }
  int LineWidth() const { return lineWidth_; }
  int ColPitch() const { return colWidth_ + lineWidth_; }
  int RowPitch() const { return rowHeight_ + lineWidth_; }
  // Whole content, grid lines included; below 2^31 for every clamped input.
  int ContentWidth() const;
  int ContentHeight() const;

  bool Contains(GridCell c) const {
    return c.col >= 0 && c.row >= 0 && c.col < cols_ && c.row < rows_;
  }
  // The cell under a content point, kNoCell beyond the last column or row
  // (or before the first).
  GridCell CellAt(int x, int y) const;
  // The cell's own area, without the lines after it; empty for no cell.
  GridRect CellRect(GridCell c) const;
  CellSpan CellsIn(const GridRect& content) const;

 private:
  int cols_ = 1;
  int rows_ = 1;
  int colWidth_ = 64;
  int rowHeight_ = 24;
  int lineWidth_ = 2;
};

// Scroll bars for a content size inside a window area (client area with
// every bar removed). A bar takes room from the other direction, so showing
// one may call for the other.
struct ScrollLayout {
  bool hBar = false;
  bool vBar = false;
  int clientWidth = 0;
  int clientHeight = 0;
};
ScrollLayout LayoutScrollBars(int contentWidth, int contentHeight, int areaWidth, int areaHeight,
                              int vBarWidth, int hBarHeight);

// Largest offset that still fills the client: content - client, at least 0.
int MaxScrollOffset(int content, int client);
int ClampScrollOffset(int offset, int content, int client);
// The smallest change of offset that brings [start, end) into [offset,
// offset + client); the start wins when the span is larger than the client.
int OffsetToShow(int offset, int start, int end, int client);

// Keyboard moves of the current cell. The plain moves stop at the edges;
// kNext and kPrevious (TAB, Shift+TAB) run row by row and wrap around.
enum class GridMove {
  kLeft,
  kRight,
  kUp,
  kDown,
  kRowStart,
  kRowEnd,
  kFirstCell,
  kLastCell,
  kPageUp,
  kPageDown,
  kNext,
  kPrevious,
};
// pageRows: rows a page key moves, at least 1.
GridCell MoveCell(GridCell from, GridMove move, int cols, int rows, int pageRows);

// The move a Win32 virtual key asks for: the arrows, Home and End (with
// Ctrl the first and last cell), Page Up and Down, and TAB (with Shift
// backwards) only for a grid that takes TAB. Nothing for any other key.
std::optional<GridMove> MoveForKey(unsigned vkey, bool ctrl, bool shift, bool tabs);

// Rows that fit wholly in a client height (at least 1).
int WholeRowsIn(int clientHeight, int rowPitch);

// The side of the triangle that marks a cell in its top right corner:
// kCornerMarkPx at 96 DPI, scaled, but no more than half the cell's smaller
// side, so the text keeps room (0 for a cell without pixels).
inline constexpr int kCornerMarkPx = 6;
int CornerMarkSide(int dpi, int cellWidth, int cellHeight);

// Wheel: accumulated delta (WHEEL_DELTA = 120 per notch) to a pixel scroll.
// Returns the pixels to scroll (positive: towards the end) and leaves the
// unused remainder in `carry`.
int WheelPixels(int delta, int& carry, int linesPerNotch, int linePixels);

}  // namespace tabcard
