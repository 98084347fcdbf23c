// The description of the options dialog TfrmOption: the page settings with
// their four preview grids and the item assignment of the personal pages,
// the behaviour check boxes, and OK, Cancel and Help below; also its popup
// menu.
#pragma once

#include <vector>

#include "forms/form.h"
#include "ui/menu.h"

namespace tabcard::forms {

const FormDesc& OptionForm();

// The dialog's caption and that of the "セルの設定" sheet, also the captions
// of the dialog's message boxes.
inline constexpr char kOptionCaption[] = "オプション";
inline constexpr char kCellSettingsCaption[] = "セルの設定";

inline constexpr char kOptionPageControl[] = "PageControl1";   // ページの設定, 起動／複写動作
inline constexpr char kPreviewPageControl[] = "PageControl2";  // 個１ 個２ メモ ﾘｽﾄ
inline constexpr char kSettingsPageControl[] = "PageControl3";  // 個人ページの設定, セルの設定

// The preview grids in page order (個１ 個２ メモ ﾘｽﾄ).
inline constexpr const char* kPreviewGridNames[4] = {"SGrdKjn1", "SGrdKjn2", "SGrdMemo",
                                                     "SGrdList"};
// The cell-settings boxes: columns, rows, width, height.
inline constexpr const char* kCellFieldNames[4] = {"txtColCnt", "txtRowCnt", "txtColWidth",
                                                   "txtRowHeight"};
// The two choices of rdoColWidthMode: computed, then fixed.
inline constexpr const char* kWidthModeNames[2] = {"rdoColWidthAuto", "rdoColWidthFixed"};
// BootInTaskTray, CloseInTaskTray, TabMode.
inline constexpr const char* kBehaviourBoxNames[3] = {"chkBootInTaskTray", "chkCloseInTaskTray",
                                                      "chkTabMode"};
inline constexpr char kItemListName[] = "lstKojinItem";
// What is enabled only while a personal page is previewed.
inline constexpr const char* kItemAssignNames[3] = {kItemListName, "cmdSet", "cmdDel"};

// PopupMenu1 and its one entry mnuDel, which Del also chooses while the
// focus is in the preview.
inline constexpr char kOptionPopupMenu[] = "PopupMenu1";
inline constexpr int kMnuDelItem = 0x1030;
std::vector<MenuNode> OptionPopupMenuLayout();

}  // namespace tabcard::forms
