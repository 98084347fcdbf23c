#include "forms/dialog_forms.h"

namespace tabcard::forms {
namespace {

constexpr const char* kDialogFace = "ＭＳ Ｐゴシック";
constexpr FontDesc kDialogFont{kDialogFace, -12, kShiftJisCharset};

constexpr ControlDesc Control(const char* name, ControlKind kind, const char* parent,
                              const char* caption, Bounds bounds) {
  ControlDesc c{};
  c.name = name;
  c.kind = kind;
  c.parent = parent;
  c.caption = caption;
  c.bounds = bounds;
  return c;
}

constexpr ControlDesc Button(const char* name, const char* caption, Bounds bounds, int id,
                             bool isDefault) {
  ControlDesc c = Control(name, ControlKind::Button, nullptr, caption, bounds);
  c.id = id;
  c.modalResult = id;
  c.isDefault = isDefault;
  return c;
}

// In tab order: the labels stand before the boxes they name.
const ControlDesc kListDlgControls[] = {
    Control("GroupBox1", ControlKind::GroupBox, nullptr, nullptr, {8, 4, 297, 151}),
    Control("Label1", ControlKind::Label, "GroupBox1", "登録内容", {12, 16, 120, 14}),
    Control("txtListMemo", ControlKind::Edit, "GroupBox1", nullptr, {12, 32, 273, 21}),
    Control("cmdCopy", ControlKind::Button, "GroupBox1", "登録内容をコピー", {12, 60, 121, 25}),
    Control("Label2", ControlKind::Label, "GroupBox1", "ヒント", {12, 96, 120, 14}),
    Control("txtListHint", ControlKind::Edit, "GroupBox1", nullptr, {12, 112, 273, 21}),
    Button("cmdOK", "ＯＫ", {144, 164, 75, 25}, kModalOk, true),
    Button("cmdCancel", "ｷｬﾝｾﾙ", {230, 164, 75, 25}, kModalCancel, false),
};

const Binding kListDlgBindings[] = {
    {"cmdCopy", Event::Click, "cmdCopyClick"},
    {"cmdOK", Event::Click, "cmdOKClick"},
};

FormDesc MakeListDlgForm() {
  FormDesc f = DialogFrame("TfrmListDlg", "frmListDlg", "リスト登録", BorderStyle::Dialog,
                           313, 198, kDialogFont);
  f.controls = MakeTable(kListDlgControls);
  f.bindings = MakeTable(kListDlgBindings);
  return f;
}

constexpr ControlDesc Panel(const char* name, const char* parent, Bounds bounds, Bevel inner,
                            Bevel outer, bool bordered) {
  ControlDesc c = Control(name, ControlKind::Panel, parent, nullptr, bounds);
  c.bevelInner = inner;
  c.bevelOuter = outer;
  c.bordered = bordered;
  return c;
}

constexpr ControlDesc Text(const char* name, const char* caption, Bounds bounds, int height,
                           bool emphasised, int color) {
  ControlDesc c = Control(name, ControlKind::Label, "Panel2", caption, bounds);
  c.font = FontDesc{kDialogFace, -height, kShiftJisCharset, emphasised, emphasised, color};
  return c;
}

constexpr ControlDesc Icon() {
  ControlDesc c = Control("ProgramIcon", ControlKind::Image, "Panel2", nullptr, {24, 16, 49, 49});
  c.icon = kProgramIconId;
  return c;
}

constexpr int kBlue = 0xFF0000;  // 0x00BBGGRR
constexpr int kRed = 0x0000FF;
constexpr int kBlack = 0x000000;

const ControlDesc kAboutControls[] = {
    Panel("Panel1", nullptr, {8, 8, 305, 105}, Bevel::Raised, Bevel::Lowered, false),
    Panel("Panel2", "Panel1", {8, 8, 289, 89}, Bevel::None, Bevel::None, true),
    Icon(),
    Text("ProductName", "タブカード", {88, 8, 190, 24}, 21, true, kBlue),
    Text("Version", "Version 4.00A", {88, 32, 190, 22}, 19, true, kRed),
    Text("Comments", "いつもの入力を、ドラッグひとつで。", {88, 64, 196, 16}, 13, false,
         kBlack),
    Button("cmdOK", "OK", {118, 121, 81, 25}, kModalOk, true),
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
