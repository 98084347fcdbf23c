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
  // OK ends it by its modal result; there is nothing else to handle.
  bool OnEvent(const forms::FormEvent&) override { return false; }
};

}  // namespace tabcard
