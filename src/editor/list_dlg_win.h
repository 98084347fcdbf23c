// TfrmListDlg: the window of ListDlgModel, built from ListDlgForm.
#pragma once

#include "editor/list_dlg.h"
#include "forms/event_router.h"
#include "ui/form_window_win.h"

namespace tabcard {

class TfrmListDlg : public FormWindow {
 public:
  explicit TfrmListDlg(ListDlgModel& model);

  // Shows the dialog modally over owner with the model's texts; true when
  // it closed with OK, the model then holding the texts as edited.
  bool Execute(HWND owner);

  void cmdCopyClick(const forms::EventArgs& e);
  void cmdOKClick(const forms::EventArgs& e);

 protected:
  bool Fire(const char* control, forms::Event event, const forms::EventArgs& args) override;

 private:
  void ReadControls();

  ListDlgModel& model_;
  forms::EventRouter<TfrmListDlg> router_;
};

}  // namespace tabcard
