#include "forms/palette.h"

#include <algorithm>
#include <utility>

#include "core/text.h"
#include "store/catalogue.h"
#include "store/memo.h"

namespace tabcard {

namespace {

GridShape Normalized(GridShape shape) {
  return {std::max(shape.cols, 1), std::max(shape.rows, 1)};
}

bool Inside(GridShape shape, int col, int row) {
  return col >= 0 && row >= 0 && col < shape.cols && row < shape.rows;
}

// Wide enough that no configured size overflows the product.
long long RowMajor(GridShape shape, int col, int row) {
  return static_cast<long long>(row) * shape.cols + col;
}

}  // namespace

CellTexts::CellTexts(GridShape shape)
    : cols_(Normalized(shape).cols),
      rows_(Normalized(shape).rows),
      cells_(static_cast<std::size_t>(cols_) * static_cast<std::size_t>(rows_)) {}

const std::string& CellTexts::At(int col, int row) const {
  return cells_.at(static_cast<std::size_t>(RowMajor({cols_, rows_}, col, row)));
}

void CellTexts::Set(int col, int row, std::string text) {
  cells_.at(static_cast<std::size_t>(RowMajor({cols_, rows_}, col, row))) = std::move(text);
}

int AutoColumnWidth(int clientWidth, int colCount) {
  const long long cols = std::max(colCount, 1);
  return static_cast<int>(std::max((clientWidth - kGridLineWidth * cols) / cols, 0LL));
}

int TabWidth(int pageControlWidth) {
  return std::max((pageControlWidth - kTabMargin) / kPageCount, 0);
}

int PersonalSlot(GridShape shape, int col, int row) {
  shape = Normalized(shape);
  if (!Inside(shape, col, row)) return -1;
  const long long slot = static_cast<long long>(col) * shape.rows + row;
  return slot < kSlotCount ? static_cast<int>(slot) : -1;
}

int MemoSlot(GridShape shape, int memoCount, int col, int row) {
  shape = Normalized(shape);
  if (!Inside(shape, col, row)) return -1;
  const long long slot = RowMajor(shape, col, row);
  return slot < memoCount ? static_cast<int>(slot) : -1;
}

int PhraseIndex(GridShape shape, std::size_t phraseCount, int col, int row) {
  shape = Normalized(shape);
  if (!Inside(shape, col, row)) return -1;
  const long long index = RowMajor(shape, col, row);
  return static_cast<unsigned long long>(index) < phraseCount ? static_cast<int>(index) : -1;
}

int PersonalCellItem(GridShape shape, const PageItems& items, int col, int row) {
  const int slot = PersonalSlot(shape, col, row);
  return slot < 0 ? -1 : FindItem(items[static_cast<std::size_t>(slot)]);
}

CellTexts PersonalCells(GridShape shape, const PageItems& items) {
  CellTexts cells(shape);
  for (int c = 0; c < cells.Cols(); ++c) {
    for (int r = 0; r < cells.Rows(); ++r) {
      const int slot = PersonalSlot(shape, c, r);
      if (slot >= 0) cells.Set(c, r, items[static_cast<std::size_t>(slot)]);
    }
  }
  return cells;
}

std::string FormMark(ValueForm form) {
  if (form == ValueForm::kAsStored) return {};
  return std::string("形式：") + ValueFormName(form);
}

CellTexts PersonalMarks(GridShape shape, const PageForms& forms) {
  CellTexts marks(shape);
  for (int c = 0; c < marks.Cols(); ++c) {
    for (int r = 0; r < marks.Rows(); ++r) {
      const int slot = PersonalSlot(shape, c, r);
      if (slot >= 0) marks.Set(c, r, FormMark(forms[static_cast<std::size_t>(slot)]));
    }
  }
  return marks;
}

CellTexts MemoCells(GridShape shape, int memoCount,
                    const std::function<std::string(int)>& title) {
  CellTexts cells(shape);
  for (int r = 0; r < cells.Rows(); ++r) {
    for (int c = 0; c < cells.Cols(); ++c) {
      const int slot = MemoSlot(shape, memoCount, c, r);
      if (slot >= 0) cells.Set(c, r, title(slot));
    }
  }
  return cells;
}

CellTexts MemoCells(GridShape shape, int memoCount) {
  return MemoCells(shape, memoCount, [](int slot) { return MemoTitle(slot); });
}

CellTexts ListCells(GridShape shape, const std::vector<std::string>& phrases) {
  CellTexts cells(shape);
  for (int r = 0; r < cells.Rows(); ++r) {
    for (int c = 0; c < cells.Cols(); ++c) {
      const int index = PhraseIndex(shape, phrases.size(), c, r);
      if (index >= 0) cells.Set(c, r, phrases[static_cast<std::size_t>(index)]);
    }
  }
  return cells;
}

GridFont FontOf(const PageConfig& c) {
  return GridFont{GridFontFace(c.FontName, ""), c.FontSize, c.FontBold, c.FontItalic};
}

std::string GridFontFace(std::string_view fontName, std::string_view currentFace) {
  if (fontName.empty()) return std::string(currentFace);
  return std::string(CutDoubleByte(fontName, kFontFaceBytes));
}

}  // namespace tabcard
