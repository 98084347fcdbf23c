// The description of the main window TfrmMain: the palette of four tab
// sheets, each filled by one string grid, and the timer.
#pragma once

#include "forms/form.h"
#include "store/layout.h"

namespace tabcard::forms {

const FormDesc& MainForm();

enum class MainControl : int {
  frmMain = kFormItself,
  PageControl1 = kFirstControlId,
  TabKjn1,
  TabKjn2,
  TabMemo,
  TabList,
  SGrdKjn1,
  SGrdKjn2,
  SGrdMemo,
  SGrdList,
  Timer1,
};

// The sheets and their grids in page order (個１ 個２ メモ ﾘｽﾄ).
inline constexpr MainControl kMainSheets[kPageCount] = {
    MainControl::TabKjn1, MainControl::TabKjn2, MainControl::TabMemo, MainControl::TabList};
inline constexpr MainControl kMainGrids[kPageCount] = {
    MainControl::SGrdKjn1, MainControl::SGrdKjn2, MainControl::SGrdMemo, MainControl::SGrdList};

// The page whose grid has this id, -1 for any other control.
int MainGridPage(int control);

// Timer1: the first tick after the window is created, then the period.
inline constexpr unsigned kFirstTickMs = 50;
inline constexpr unsigned kTickMs = 200;

}  // namespace tabcard::forms
