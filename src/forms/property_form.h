// The description of the profile editor TfrmProperty: five tab sheets (the
// personal, workplace and other fields, the memos, the phrase list) over
// OK, Cancel and Help.
#pragma once

#include "forms/form.h"
#include "store/catalogue.h"

namespace tabcard::forms {

const FormDesc& PropertyForm();

// In table order, which is the TAB order.
enum class PropertyControl : int {
  frmProperty = kFormItself,
  cmdOK = kModalOk,
  cmdCancel = kModalCancel,
  PageControl1 = kFirstControlId,
  TabKojin,
  lblUser1,
  cboUser1,
  lblKanji,
  lblKnjSei,
  txtKnjSei,
  lblKnjMei,
  txtKnjMei,
  lblKana,
  lblKnaSei,
  txtKnaSei,
  lblKnaMei,
  txtKnaMei,
  lblEMail1,
  txtEMail1,
  lblEMail2,
  txtEMail2,
  lblHPURL,
  txtHPURL,
  lblZip,
  txtZip,
  lblKenMei,
  txtKenMei,
  lblAddress1,
  txtAddress1,
  lblAddress2,
  txtAddress2,
  lblTEL,
  txtTEL,
  lblFAX,
  txtFAX,
  lblJob,
  txtJob,
  lblOlder,
  txtOlder,
  TabKinmusaki,
  lblUser2,
  cboUser2,
  lblKinmusaki,
  txtKinmusaki,
  lblSyozoku,
  txtSyozoku,
  lblKEMail,
  txtKEMail,
  lblKURL,
  txtKURL,
  lblKZip,
  txtKZip,
  lblKAddress1,
  txtKAddress1,
  lblKAddress2,
  txtKAddress2,
  lblKTEL,
  txtKTEL,
  lblKFAX,
  txtKFAX,
  TabEtc,
  lblUser3,
  cboUser3,
  lblEtc1,
  txtEtc1,
  lblEtc2,
  txtEtc2,
  lblEtc3,
  txtEtc3,
  lblEtc4,
  txtEtc4,
  lblEtc5,
  txtEtc5,
  TabMemo,
  SGrdMemo,
  cmdMemoRead,
  cmdMemoUpDate,
  cmdMemoClr,
  Memo,
  TabList,
  lblListMemo,
  txtListMemo,
  cmdCopy,
  lblListHint,
  txtListHint,
  cmdAddList,
  cmdDeList,
  cmdListUp,
  cmdListDown,
  ListBox1,
  cmdHelp,
};

// The edit box of each of the 29 profile fields, in storage order (the
// order of kFieldNames), and the name the editor gives the field in its
// messages.
struct PropertyField {
  const char* valueName;
  PropertyControl control;
  const char* label;
  ImeMode ime;
};
extern const PropertyField kPropertyFields[kFieldCount];

// The user list of each field page, in page order.
inline constexpr PropertyControl kUserLists[3] = {
    PropertyControl::cboUser1, PropertyControl::cboUser2, PropertyControl::cboUser3};

}  // namespace tabcard::forms
