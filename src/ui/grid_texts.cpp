#include "ui/grid_texts.h"

#include <iterator>

namespace tabcard {
namespace {

// Row and column each fit 16 bits (kMaxGridCount).
std::uint32_t Key(GridCell c) {
  return (static_cast<std::uint32_t>(c.row) << 16) | (static_cast<std::uint32_t>(c.col) & 0xFFFF);
}

GridCell CellOf(std::uint32_t key) {
  return GridCell{static_cast<int>(key & 0xFFFF), static_cast<int>(key >> 16)};
}

}  // namespace

const std::wstring& GridTexts::At(GridCell c) const {
  static const std::wstring kEmpty;
  const auto it = texts_.find(Key(c));
  return it == texts_.end() ? kEmpty : it->second;
}

bool GridTexts::Set(GridCell c, std::wstring_view text) {
  const auto it = texts_.find(Key(c));
  if (it == texts_.end()) {
    if (text.empty()) return false;
    texts_.emplace(Key(c), std::wstring(text));
    return true;
  }
  if (it->second == text) return false;
  if (text.empty()) {
    texts_.erase(it);
  } else {
    it->second.assign(text);
  }
  return true;
}

bool GridTexts::Clear() {
  if (texts_.empty()) return false;
  texts_.clear();
  return true;
}

void GridTexts::KeepWithin(int cols, int rows) {
  for (auto it = texts_.begin(); it != texts_.end();) {
    const GridCell c = CellOf(it->first);
    it = c.col < cols && c.row < rows ? std::next(it) : texts_.erase(it);
  }
}

}  // namespace tabcard
