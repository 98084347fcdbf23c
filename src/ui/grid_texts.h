// The string grid's cell texts, free of any window: only cells with a text
// are kept, so a large grid with few texts stays small.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "ui/grid_geometry.h"

namespace tabcard {

class GridTexts {
 public:
  // "" for a cell without a text.
  const std::wstring& At(GridCell c) const;
  // True when the cell's text changed; "" removes it.
  bool Set(GridCell c, std::wstring_view text);
  // True when there was a text to remove.
  bool Clear();
  // Drops the texts of cells beyond cols x rows, as a shrunk grid no longer
  // has them and a grown one shows its new cells empty.
  void KeepWithin(int cols, int rows);
  std::size_t Size() const { return texts_.size(); }

 private:
  std::unordered_map<std::uint32_t, std::wstring> texts_;
};

}  // namespace tabcard
