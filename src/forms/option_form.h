// The description of the options dialog TfrmOption: the page settings with
// their four preview grids and the item assignment of the personal pages,
// the behaviour check boxes, and OK, Cancel and Help below; also its popup
// menu.
#pragma once

#include <vector>

#include "forms/form.h"
#include "forms/menu.h"
#include "store/layout.h"

namespace tabcard::forms {

const FormDesc& OptionForm();

enum class OptionControl : int {
  frmOption = kFormItself,
  cmdOK = kModalOk,
  cmdCancel = kModalCancel,
  PageControl1 = kFirstControlId,  // ページの設定, 起動／複写動作, ホットキー, 貼り付けキー
  TabSheet11,
  PageControl2,  // 個１ 個２ メモ ﾘｽﾄ
  TabKjn1,
  SGrdKjn1,
  TabKjn2,
  SGrdKjn2,
  TabMemo,
  SGrdMemo,
  TabList,
  SGrdList,
  PageControl3,  // 個人ページの設定, セルの設定
  TabSheet31,
  lstKojinItem,
  cmdSet,
  cmdDel,
  lblForm,
  cboForm,  // 形式: そのまま, then the formats in kValueForms order
  TabSheet32,
  lblColCnt,
  txtColCnt,
  lblRowCnt,
  txtRowCnt,
  rdoColWidthMode,
  rdoColWidthAuto,
  rdoColWidthFixed,
  txtColWidth,
  lblRowHeight,
  txtRowHeight,
  cmdUpDateKjn,
  cmdFont,
  Button1,
  TabSheet12,
  GroupBox1,
  chkBootInTaskTray,
  chkCloseInTaskTray,
  chkStartWithWindows,
  GroupBox2,
  chkTabMode,
  chkRestoreClipboard,
  TabSheet13,
  GroupBox3,
  lblHotKeyShow,
  hkyHotKeyShow,
  cmdClearShow,
  lblHotKeyStep,
  hkyHotKeyStep,
  cmdClearStep,
  lblHotKeyNote,
  TabSheet14,
  GroupBox4,
  lstPasteKeys,
  cmdSwitchPasteKey,
  cmdDelPasteKey,
  lblPasteKeyNote,
  cmdHelp,
};

// The dialog's caption and that of the "セルの設定" sheet, also the captions
// of the dialog's message boxes.
inline constexpr char kOptionCaption[] = "オプション";
inline constexpr char kCellSettingsCaption[] = "セルの設定";

// The preview sheets and grids in page order (個１ 個２ メモ ﾘｽﾄ).
inline constexpr OptionControl kPreviewSheets[kPageCount] = {
    OptionControl::TabKjn1, OptionControl::TabKjn2, OptionControl::TabMemo,
    OptionControl::TabList};
inline constexpr OptionControl kPreviewGrids[kPageCount] = {
    OptionControl::SGrdKjn1, OptionControl::SGrdKjn2, OptionControl::SGrdMemo,
    OptionControl::SGrdList};
// The cell-settings boxes: columns, rows, width, height.
inline constexpr OptionControl kCellFields[4] = {
    OptionControl::txtColCnt, OptionControl::txtRowCnt, OptionControl::txtColWidth,
    OptionControl::txtRowHeight};
// The two choices of rdoColWidthMode: computed, then fixed.
inline constexpr OptionControl kWidthModes[2] = {OptionControl::rdoColWidthAuto,
                                                 OptionControl::rdoColWidthFixed};
// BootInTaskTray, CloseInTaskTray, TabMode, RestoreClipboard, then the
// Startup shortcut's.
inline constexpr OptionControl kBehaviourBoxes[5] = {
    OptionControl::chkBootInTaskTray, OptionControl::chkCloseInTaskTray,
    OptionControl::chkTabMode, OptionControl::chkRestoreClipboard,
    OptionControl::chkStartWithWindows};
// The hot-key boxes: パレットを表示, 連続入力.
inline constexpr OptionControl kHotKeyBoxes[2] = {OptionControl::hkyHotKeyShow,
                                                  OptionControl::hkyHotKeyStep};
// What is enabled only while a personal page is previewed.
inline constexpr OptionControl kItemAssignControls[3] = {
    OptionControl::lstKojinItem, OptionControl::cmdSet, OptionControl::cmdDel};

// PopupMenu1 and its one entry mnuDel, which Del also chooses while the
// focus is in the preview.
inline constexpr int kMnuDelItem = 0x1030;
std::vector<MenuNode> OptionPopupMenuLayout();

}  // namespace tabcard::forms
