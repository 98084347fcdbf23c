#include "app/palette_transfer_win.h"

#include "app/desktop_win.h"
#include "core/strconv_win.h"

namespace tabcard {

WindowId PaletteTransferView::GridWindow(int page) const { return ToWindowId(Grid(page).Handle()); }

void PaletteTransferView::SetCurrentCell(int page, GridCell cell) {
  Grid(page).SetCurrentCell(cell.col, cell.row);
}

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
