#include "editor/list_dlg_win.h"

#include "core/strconv_win.h"
#include "forms/dialog_forms.h"
#include "ui/storable_win.h"

namespace tabcard {

using forms::Event;
using forms::FormEvent;
using C = forms::ListDlgControl;

TfrmListDlg::TfrmListDlg(ListDlgModel& model) : FormWindow(forms::ListDlgForm()), model_(model) {}

bool TfrmListDlg::Execute(HWND owner) {
  CreateForm(owner);
  SetControlText(C::txtListMemo, model_.txtListMemo);
  SetControlText(C::txtListHint, model_.txtListHint);
  return ShowModal(owner) == forms::kModalOk;
}

bool TfrmListDlg::OnEvent(const FormEvent& e) {
  static constexpr forms::Handler<TfrmListDlg, C> kHandlers[] = {
      {C::cmdCopy, Event::Click, &TfrmListDlg::cmdCopyClick},
      {C::cmdOK, Event::Click, &TfrmListDlg::cmdOKClick},
  };
  return forms::Dispatch(*this, kHandlers, e);
}

void TfrmListDlg::ReadControls() {
  model_.txtListMemo = ControlText(C::txtListMemo);
  model_.txtListHint = ControlText(C::txtListHint);
}

void TfrmListDlg::cmdCopyClick(const FormEvent&) {
  ReadControls();
  model_.CopyPhraseToHint();
  SetControlText(C::txtListHint, model_.txtListHint);
}

// Text the store cannot hold would be kept as "?" and the phrase silently
// changed: the dialog says which character it is and stays open.
void TfrmListDlg::cmdOKClick(const FormEvent& e) {
  struct Field {
    C control;
    const wchar_t* label;
  };
  for (const Field& f : {Field{C::txtListMemo, L"登録内容"}, Field{C::txtListHint, L"ヒント"}}) {
    if (CheckStorable(hwnd(), ControlWindow(f.control), f.label, L"リスト登録")) continue;
    e.Refuse();
    return;
  }
  ReadControls();
}

}  // namespace tabcard
