#include "app/palette_transfer_win.h"

#include "app/desktop_win.h"
#include "store/memo.h"
#include "core/strconv_win.h"

namespace tabcard {

WindowId PaletteTransferView::GridWindow(int page) const { return ToWindowId(Grid(page).Handle()); }

GridShape PaletteTransferView::Shape(int page) const {
  return GridShape{Grid(page).ColCount(), Grid(page).RowCount()};
}

GridCell PaletteTransferView::CurrentCell(int page) const { return Grid(page).CurrentCell(); }

void PaletteTransferView::SetCurrentCell(int page, GridCell cell) {
  Grid(page).SetCurrentCell(cell.col, cell.row);
}

std::optional<GridCell> PaletteTransferView::CellAtScreen(int page, ScreenPoint p) const {
  POINT pt{p.x, p.y};
  ScreenToClient(Grid(page).Handle(), &pt);
  const GridCell cell = Grid(page).MouseToCell(pt.x, pt.y);
  if (!cell.IsCell()) return std::nullopt;
  return cell;
}

std::string PaletteTransferView::CellText(int page, GridCell cell) const {
  return Grid(page).Cell(cell.col, cell.row);
}

const ItemValues& PaletteTransferView::CurrentItemValues() const { return model_.profile().values; }

std::string PaletteTransferView::MemoHead(int slot) const {
  return ReadMemoHead(slot, kMemoTextCapacity);
}

std::size_t PaletteTransferView::PhraseCount() const { return model_.list().ListPhrases.size(); }

std::string PaletteTransferView::ListHint(std::size_t phrase) const {
  const auto& hints = model_.list().ListHints;
  return phrase < hints.size() ? hints[phrase] : std::string();
}

bool PaletteTransferView::TabMode() const { return model_.TabMode; }

void PaletteTransferView::SetHint(int page, std::string_view text) { Grid(page).SetHint(text); }

void PaletteTransferView::ShowHint(int page, bool on) { Grid(page).SetShowHint(on); }

void PaletteTransferView::SetCaption(std::string_view text) {
  SetWindowTextW(main_, Widen(text).c_str());
}

void PaletteTransferView::ShowNotice(std::string_view text) {
  RECT r{};
  GetWindowRect(main_, &r);
  notice_.Show(Widen(text), POINT{r.left + (r.right - r.left) / 2, r.bottom});
}

}  // namespace tabcard
