#include "editor/list_dlg_win.h"

#include "forms/dialog_forms.h"

namespace tabcard {
namespace {

using Router = forms::EventRouter<TfrmListDlg>;

const Router::NamedHandler kHandlers[] = {
    {"cmdCopyClick", &TfrmListDlg::cmdCopyClick},
    {"cmdOKClick", &TfrmListDlg::cmdOKClick},
};

}  // namespace

TfrmListDlg::TfrmListDlg(ListDlgModel& model)
    : FormWindow(forms::ListDlgForm()),
      model_(model),
      router_(forms::ListDlgForm(), forms::MakeTable(kHandlers)) {}

bool TfrmListDlg::Execute(HWND owner) {
  CreateForm(owner);
  SetControlText("txtListMemo", model_.txtListMemo);
  SetControlText("txtListHint", model_.txtListHint);
  return ShowModal(owner) == forms::kModalOk;
}

bool TfrmListDlg::Fire(const char* control, forms::Event event, const forms::EventArgs& args) {
  return router_.Fire(*this, control, event, args);
}

void TfrmListDlg::ReadControls() {
  model_.txtListMemo = ControlText("txtListMemo");
  model_.txtListHint = ControlText("txtListHint");
}

void TfrmListDlg::cmdCopyClick(const forms::EventArgs&) {
  ReadControls();
  model_.cmdCopyClick();
  SetControlText("txtListHint", model_.txtListHint);
}

void TfrmListDlg::cmdOKClick(const forms::EventArgs&) { ReadControls(); }

}  // namespace tabcard
