// The words of user input that every layer above the forms shares: a mouse
// button, and a cell of a grid. No window is needed to speak of them.
#pragma once

namespace tabcard {

enum class MouseButton { None, Left, Right, Middle };

// A grid cell as (column, row); kNoCell is none.
struct GridCell {
  int col = -1;
  int row = -1;
  bool IsCell() const { return col >= 0 && row >= 0; }
  friend bool operator==(GridCell a, GridCell b) { return a.col == b.col && a.row == b.row; }
  friend bool operator!=(GridCell a, GridCell b) { return !(a == b); }
};

inline constexpr GridCell kNoCell{-1, -1};

}  // namespace tabcard
