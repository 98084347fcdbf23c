#include "editor/list_dlg_win.h"

#include "core/strconv_win.h"
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

// Text the store cannot hold would be kept as "?" and the phrase silently
// changed: the dialog says which character it is and stays open.
void TfrmListDlg::cmdOKClick(const forms::EventArgs& e) {
  struct Field {
    const char* control;
    const wchar_t* label;
  };
  for (const Field& f : {Field{"txtListMemo", L"登録内容"}, Field{"txtListHint", L"ヒント"}}) {
    HWND edit = ControlWindow(f.control);
    const std::wstring text = WindowRef(edit).Text();
    const auto bad = FirstUnstorable(text);
    if (!bad) continue;
    const std::wstring message = std::wstring(L"「") + f.label + L"」の「" +
                                 text.substr(bad->offset, bad->length) +
                                 L"」は保存できない文字です。別の文字に置き換えてください。";
    MessageBoxW(hwnd(), message.c_str(), L"リスト登録", MB_OK | MB_ICONEXCLAMATION);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, bad->offset, bad->offset + bad->length);
    if (e.accept) *e.accept = false;
    return;
  }
  ReadControls();
}

}  // namespace tabcard
