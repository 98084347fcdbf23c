#include "options/about_box_win.h"

#include "forms/dialog_forms.h"

namespace tabcard {

TAboutBox::TAboutBox() : FormWindow(forms::AboutBoxForm()) {}

void TAboutBox::Execute(HWND owner) {
  CreateForm(owner);
  ShowModal(owner);
}

}  // namespace tabcard
