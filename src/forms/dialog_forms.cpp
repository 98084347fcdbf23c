#include "forms/dialog_forms.h"

namespace tabcard::forms {
namespace {

constexpr const char* kDialogFace = "ＭＳ Ｐゴシック";
constexpr FontDesc kDialogFont{kDialogFace, -12, kShiftJisCharset};

template <class Id>
constexpr ControlDesc Control(Id id, ControlKind kind, Id parent, const char* caption,
                              Bounds bounds) {
  return MakeControl(id, kind, parent, caption, bounds);
}

template <class Id>
constexpr ControlDesc Button(Id id, const char* caption, Bounds bounds, bool isDefault) {
  ControlDesc c = Control(id, ControlKind::Button, Id{}, caption, bounds);
  c.modalResult = IdOf(id);
  c.isDefault = isDefault;
  return c;
}

using L = ListDlgControl;

// In tab order: the labels stand before the boxes they name.
const ControlDesc kListDlgControls[] = {
    Control(L::GroupBox1, ControlKind::GroupBox, L::frmListDlg, nullptr, {8, 4, 297, 151}),
    Control(L::Label1, ControlKind::Label, L::GroupBox1, "登録内容", {12, 16, 120, 14}),
    Control(L::txtListMemo, ControlKind::Edit, L::GroupBox1, nullptr, {12, 32, 273, 21}),
    Control(L::cmdCopy, ControlKind::Button, L::GroupBox1, "登録内容をコピー", {12, 60, 121, 25}),
    Control(L::Label2, ControlKind::Label, L::GroupBox1, "ヒント", {12, 96, 120, 14}),
    Control(L::txtListHint, ControlKind::Edit, L::GroupBox1, nullptr, {12, 112, 273, 21}),
    Button(L::cmdOK, "ＯＫ", {144, 164, 75, 25}, true),
    Button(L::cmdCancel, "ｷｬﾝｾﾙ", {230, 164, 75, 25}, false),
};

FormDesc MakeListDlgForm() {
  FormDesc f = DialogFrame("TfrmListDlg", "frmListDlg", "リスト登録", BorderStyle::Dialog,
                           313, 198, kDialogFont);
  f.controls = MakeTable(kListDlgControls);
  return f;
}

using A = AboutControl;

constexpr ControlDesc Panel(A id, A parent, Bounds bounds, Bevel inner, Bevel outer,
                            bool bordered) {
  ControlDesc c = Control(id, ControlKind::Panel, parent, nullptr, bounds);
  c.bevelInner = inner;
  c.bevelOuter = outer;
  c.bordered = bordered;
  return c;
}

constexpr ControlDesc Text(A id, const char* caption, Bounds bounds, int height, bool emphasised,
                           int color) {
  ControlDesc c = Control(id, ControlKind::Label, A::Panel2, caption, bounds);
  c.font = FontDesc{kDialogFace, -height, kShiftJisCharset, emphasised, emphasised, color};
  return c;
}

constexpr ControlDesc Icon() {
  ControlDesc c = Control(A::ProgramIcon, ControlKind::Image, A::Panel2, nullptr, {24, 16, 49, 49});
  c.icon = kProgramIconId;
  return c;
}

constexpr int kBlue = 0xFF0000;  // 0x00BBGGRR
constexpr int kRed = 0x0000FF;
constexpr int kBlack = 0x000000;

const ControlDesc kAboutControls[] = {
    Panel(A::Panel1, A::AboutBox, {8, 8, 305, 105}, Bevel::Raised, Bevel::Lowered, false),
    Panel(A::Panel2, A::Panel1, {8, 8, 289, 89}, Bevel::None, Bevel::None, true),
    Icon(),
    Text(A::ProductName, "タブカード", {88, 8, 190, 24}, 21, true, kBlue),
    Text(A::Version, "Version 4.00A", {88, 32, 190, 22}, 19, true, kRed),
    Text(A::Comments, "いつもの入力を、ドラッグひとつで。", {88, 64, 196, 16}, 13, false, kBlack),
    Button(A::cmdOK, "OK", {118, 121, 81, 25}, true),
};

FormDesc MakeAboutBoxForm() {
  FormDesc f = DialogFrame("TAboutBox", "AboutBox", "バージョン情報", BorderStyle::Dialog,
                           317, 154, kDialogFont);
  f.stayOnTop = true;
  f.controls = MakeTable(kAboutControls);
  return f;
}

}  // namespace

const FormDesc& ListDlgForm() {
  static const FormDesc form = MakeListDlgForm();
  return form;
}

const FormDesc& AboutBoxForm() {
  static const FormDesc form = MakeAboutBoxForm();
  return form;
}

}  // namespace tabcard::forms
