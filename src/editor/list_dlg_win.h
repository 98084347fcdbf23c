// TfrmListDlg: the window of ListDlgModel, built from ListDlgForm.
#pragma once

#include "editor/list_dlg.h"
#include "ui/form_window_win.h"

namespace tabcard {

class TfrmListDlg : public FormWindow {
 public:
  explicit TfrmListDlg(ListDlgModel& model);

  // Shows the dialog modally over owner with the model's texts; true when
  // it closed with OK, the model then holding the texts as edited.
  bool Execute(HWND owner);

 protected:
  bool OnEvent(const forms::FormEvent& e) override;

 private:
  void cmdCopyClick(const forms::FormEvent& e);
  void cmdOKClick(const forms::FormEvent& e);
  void ReadControls();

  ListDlgModel& model_;
};

}  // namespace tabcard
