// The description of the main window TfrmMain: the palette of four tab
// sheets, each filled by one string grid, and the timer.
#pragma once

#include "forms/form.h"

namespace tabcard::forms {

const FormDesc& MainForm();

// The four sheets and their grids in page order (個１ 個２ メモ ﾘｽﾄ).
inline constexpr int kMainPageCount = 4;
extern const char* const kMainSheetNames[kMainPageCount];
extern const char* const kMainGridNames[kMainPageCount];

}  // namespace tabcard::forms
