// The palette as the item transfer sees it: the four grids of TfrmMain and
// the model's profile, phrase list and TAB mode.
#pragma once

#include <windows.h>

#include <array>

#include "app/palette_model.h"
#include "app/transfer.h"
#include "ui/notice_tip_win.h"
#include "ui/string_grid_win.h"

namespace tabcard {

class PaletteTransferView : public PaletteView {
 public:
  PaletteTransferView(HWND mainWindow, std::array<StringGrid, kPageCount>& grids,
                      const PaletteModel& model)
      : main_(mainWindow), grids_(grids), model_(model), notice_(mainWindow) {}

  WindowId GridWindow(int page) const override;
  GridShape Shape(int page) const override;
  GridCell CurrentCell(int page) const override;
  void SetCurrentCell(int page, GridCell cell) override;
  std::optional<GridCell> CellAtScreen(int page, ScreenPoint p) const override;
  std::string CellText(int page, GridCell cell) const override;
  const ItemValues& CurrentItemValues() const override;
  std::string MemoHead(int slot) const override;
  std::size_t PhraseCount() const override;
  std::string ListHint(std::size_t phrase) const override;
  bool TabMode() const override;
  void SetHint(int page, std::string_view text) override;
  void ShowHint(int page, bool on) override;
  void SetCaption(std::string_view text) override;
  // Below the middle of the palette's lower edge.
  void ShowNotice(std::string_view text) override;

 private:
  StringGrid& Grid(int page) const { return grids_.at(static_cast<std::size_t>(page)); }

  HWND main_;
  std::array<StringGrid, kPageCount>& grids_;
  const PaletteModel& model_;
  NoticeTip notice_;
};

}  // namespace tabcard
