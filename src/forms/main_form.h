// The description of the main window TfrmMain: the palette of four tab
// sheets, each filled by one string grid, and the timer.
#pragma once

#include "forms/form.h"

namespace tabcard::forms {

const FormDesc& MainForm();

// The four sheets and their grids in page order (個１ 個２ メモ ﾘｽﾄ).
inline constexpr int kMainPageCount = 4;
inline constexpr const char* kMainSheetNames[kMainPageCount] = {"TabKjn1", "TabKjn2", "TabMemo",
                                                                "TabList"};
inline constexpr const char* kMainGridNames[kMainPageCount] = {"SGrdKjn1", "SGrdKjn2", "SGrdMemo",
                                                               "SGrdList"};
inline constexpr char kMainPageControl[] = "PageControl1";
inline constexpr char kMainTimer[] = "Timer1";

// Timer1: the first tick after the window is created, then the period.
inline constexpr unsigned kFirstTickMs = 50;
inline constexpr unsigned kTickMs = 200;

}  // namespace tabcard::forms
