// TAboutBox, the version dialog: product name, version and icon from
// AboutBoxForm. It reads and writes nothing.
#pragma once

#include "ui/form_window_win.h"

namespace tabcard {

class TAboutBox : public FormWindow {
 public:
  TAboutBox();

  // Shows the dialog modally over owner until OK, Esc or the close box.
  void Execute(HWND owner);

 protected:
  bool Fire(const char*, forms::Event, const forms::EventArgs&) override { return false; }
};

}  // namespace tabcard
