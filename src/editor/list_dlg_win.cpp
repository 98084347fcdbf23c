#include "editor/list_dlg_win.h"

#include "core/strconv_win.h"
#include "forms/dialog_forms.h"
#include "ui/storable_win.h"

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

// Text the store cannot hold would be kept as "?" and the phrase silently
// changed: the dialog says which character it is and stays open.
void TfrmListDlg::cmdOKClick(const forms::EventArgs& e) {
  struct Field {
    const char* control;
    const wchar_t* label;
  };
  for (const Field& f : {Field{"txtListMemo", L"登録内容"}, Field{"txtListHint", L"ヒント"}}) {
    if (CheckStorable(hwnd(), ControlWindow(f.control), f.label, L"リスト登録")) continue;
    if (e.accept) *e.accept = false;
    return;
  }
  ReadControls();
}

}  // namespace tabcard
