// The palette as the item transfer sees it: the four grids of TfrmMain,
// its caption, and the refusal's balloon.
#pragma once

#include <windows.h>

#include <array>

#include "app/transfer.h"
#include "ui/notice_tip_win.h"
#include "ui/string_grid_win.h"

namespace tabcard {

class PaletteTransferView : public PaletteView {
 public:
  PaletteTransferView(HWND mainWindow, std::array<StringGrid, kPageCount>& grids)
      : main_(mainWindow), grids_(grids), notice_(mainWindow) {}

  WindowId GridWindow(int page) const override;
  void SetCurrentCell(int page, GridCell cell) override;
  void SetHint(int page, std::string_view text) override;
  void ShowHint(int page, bool on) override;
  void SetCaption(std::string_view text) override;
  // Below the middle of the palette's lower edge.
  void ShowNotice(std::string_view text) override;

 private:
  StringGrid& Grid(int page) const { return grids_.at(static_cast<std::size_t>(page)); }

  HWND main_;
  std::array<StringGrid, kPageCount>& grids_;
  NoticeTip notice_;
};

}  // namespace tabcard
