// The description of the profile editor TfrmProperty: five tab sheets (the
// personal, workplace and other fields, the memos, the phrase list) over
// OK, Cancel and Help.
#pragma once

#include "forms/form.h"
#include "store/catalogue.h"

namespace tabcard::forms {

const FormDesc& PropertyForm();

// The edit box of each of the 29 profile fields, in storage order (the
// order of kFieldNames), and the name the editor gives the field in its
// messages.
struct PropertyField {
  const char* valueName;
  const char* control;
  const char* label;
  ImeMode ime;
};
extern const PropertyField kPropertyFields[kFieldCount];

inline constexpr char kPropertyPageControl[] = "PageControl1";
// The user list of each field page, in page order.
inline constexpr const char* kUserListNames[3] = {"cboUser1", "cboUser2", "cboUser3"};

}  // namespace tabcard::forms
