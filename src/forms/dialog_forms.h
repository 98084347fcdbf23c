// The descriptions of the two small dialogs: the list-entry dialog
// TfrmListDlg and the version dialog TAboutBox.
#pragma once

#include "forms/form.h"
#include "res/app_res.h"

namespace tabcard::forms {

const FormDesc& ListDlgForm();
const FormDesc& AboutBoxForm();

// The program's icon in the resource script.
inline constexpr int kProgramIconId = IDI_TABCARD;

}  // namespace tabcard::forms
