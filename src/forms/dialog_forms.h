// The descriptions of the two small dialogs: the list-entry dialog
// TfrmListDlg and the version dialog TAboutBox.
#pragma once

#include "forms/form.h"
#include "res/app_res.h"

namespace tabcard::forms {

const FormDesc& ListDlgForm();
const FormDesc& AboutBoxForm();

enum class ListDlgControl : int {
  frmListDlg = kFormItself,
  cmdOK = kModalOk,
  cmdCancel = kModalCancel,
  GroupBox1 = kFirstControlId,
  Label1,
  txtListMemo,
  cmdCopy,
  Label2,
  txtListHint,
};

enum class AboutControl : int {
  AboutBox = kFormItself,
  cmdOK = kModalOk,
  Panel1 = kFirstControlId,
  Panel2,
  ProgramIcon,
  ProductName,
  Version,
  Comments,
};

// The program's icon in the resource script.
inline constexpr int kProgramIconId = IDI_TABCARD;

}  // namespace tabcard::forms
