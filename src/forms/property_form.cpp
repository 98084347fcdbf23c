#include "forms/property_form.h"

namespace tabcard::forms {
namespace {

constexpr const char* kFace = "ＭＳ Ｐゴシック";
constexpr FontDesc kFrameFont{kFace, -12, kShiftJisCharset};
constexpr FontDesc kPageFont{kFace, -15, kShiftJisCharset};

constexpr ImeMode kHira = ImeMode::Hiragana;
constexpr ImeMode kHalf = ImeMode::HalfWidth;
constexpr ImeMode kAsIs = ImeMode::AsIs;

}  // namespace

const PropertyField kPropertyFields[kFieldCount] = {
    {"KanjSei", "txtKnjSei", "漢字氏名（姓）", kHira},
    {"KanjMei", "txtKnjMei", "漢字氏名（名）", kHira},
    {"KanaSei", "txtKnaSei", "ふりがな（姓）", kHira},
    {"KanaMei", "txtKnaMei", "ふりがな（名）", kHira},
    {"EMail1", "txtEMail1", "E-Mail1", kHalf},
    {"EMail2", "txtEMail2", "E-Mail２", kHalf},
    {"HPURL", "txtHPURL", "HP ＵＲＬ", kHalf},
    {"ZIP", "txtZip", "郵便番号", kHalf},
    {"KenMei", "txtKenMei", "都道府県名", kHira},
    {"Jusyo1", "txtAddress1", "住所１", kHira},
    {"Jusyo2", "txtAddress2", "住所２", kHira},
    {"TEL", "txtTEL", "ＴＥＬ", kHalf},
    {"FAX", "txtFAX", "ＦＡＸ", kHalf},
    {"JOB", "txtJob", "職業", kHira},
    {"Older", "txtOlder", "年齢", kHalf},
    {"Kinmusaki", "txtKinmusaki", "勤務先", kHira},
    {"Syozoku", "txtSyozoku", "所属", kHira},
    {"K_EMail", "txtKEMail", "勤E-Mail", kHalf},
    {"K_URL", "txtKURL", "勤URL", kHalf},
    {"K_ZIP", "txtKZip", "勤〒", kHalf},
    {"K_Jusyo1", "txtKAddress1", "勤住所１", kHira},
    {"K_Jusyo2", "txtKAddress2", "勤住所２", kHira},
    {"K_TEL", "txtKTEL", "勤TEL", kHalf},
    {"K_FAX", "txtKFAX", "勤FAX", kHalf},
    {"etc1", "txtEtc1", "ｅｔｃ１", kAsIs},
    {"etc2", "txtEtc2", "ｅｔｃ２", kAsIs},
    {"etc3", "txtEtc3", "ｅｔｃ３", kAsIs},
    {"etc4", "txtEtc4", "ｅｔｃ４", kAsIs},
    {"etc5", "txtEtc5", "ｅｔｃ５", kAsIs},
};

namespace {

// Columns of the field pages: captions at the left, boxes from kBoxLeft to
// kBoxRight; a row that holds two fields splits the box column.
constexpr int kCaptionLeft = 16;
constexpr int kCaptionWidth = 92;
constexpr int kBoxLeft = 112;
constexpr int kBoxRight = 477;
constexpr int kBoxHeight = 23;
constexpr int kCaptionDrop = 4;  // a caption's top below its box's
constexpr int kButtonHeight = 25;

constexpr ControlDesc Control(const char* name, ControlKind kind, const char* parent,
                              const char* caption, Bounds bounds) {
  ControlDesc c{};
  c.name = name;
  c.kind = kind;
  c.parent = parent;
  c.caption = caption;
  c.bounds = bounds;
  c.font = kPageFont;
  return c;
}

constexpr ControlDesc Sheet(const char* name, const char* caption) {
  ControlDesc c{};
  c.name = name;
  c.kind = ControlKind::TabSheet;
  c.parent = kPropertyPageControl;
  c.caption = caption;
  c.align = Align::Client;
  return c;
}

constexpr ControlDesc Caption(const char* name, const char* sheet, const char* text, int left,
                              int top, int width = kCaptionWidth) {
  return Control(name, ControlKind::Label, sheet, text, {left, top + kCaptionDrop, width, 16});
}

ControlDesc Box(int field, const char* sheet, int left, int top, int right = kBoxRight) {
  ControlDesc c = Control(kPropertyFields[field].control, ControlKind::Edit, sheet, nullptr,
                          {left, top, right - left, kBoxHeight});
  c.edit.ime = kPropertyFields[field].ime;
  return c;
}

constexpr ControlDesc UserList(const char* name, const char* sheet) {
  return Control(name, ControlKind::ComboBox, sheet, nullptr, {kBoxLeft, 10, 200, kBoxHeight});
}

constexpr ControlDesc PageButton(const char* name, const char* sheet, const char* caption,
                                 Bounds bounds) {
  return Control(name, ControlKind::Button, sheet, caption, bounds);
}

constexpr ControlDesc FrameButton(const char* name, const char* caption, int left, int id,
                                  bool isDefault) {
  ControlDesc c{};
  c.name = name;
  c.kind = ControlKind::Button;
  c.caption = caption;
  c.bounds = {left, 423, 80, 28};
  c.id = id;
  c.modalResult = id;
  c.isDefault = isDefault;
  return c;
}

// Where the two boxes of a shared row split.
constexpr int kPairLeft = 130, kPairMid = 292, kPairRight = 318;

// Tab order is table order: on each page the user list first, then the
// fields as they are stored, each caption just before its box.
const ControlDesc kControls[] = {
    [] {
      ControlDesc c{};
      c.name = kPropertyPageControl;
      c.kind = ControlKind::PageControl;
      c.bounds = {1, 1, 505, 413};
      c.tabWidth = 100;
      c.activePage = "TabKojin";
      return c;
    }(),
    Sheet("TabKojin", "個人情報"),
    Caption("lblUser1", "TabKojin", "ユーザ名", kCaptionLeft, 10),
    UserList("cboUser1", "TabKojin"),
    Caption("lblKanji", "TabKojin", "漢字氏名", kCaptionLeft, 44),
    Caption("lblKnjSei", "TabKojin", "姓", kBoxLeft, 44, 16),
    Box(0, "TabKojin", kPairLeft, 44, kPairMid),
    Caption("lblKnjMei", "TabKojin", "名", kPairMid + 8, 44, 16),
    Box(1, "TabKojin", kPairRight, 44),
    Caption("lblKana", "TabKojin", "ふりがな", kCaptionLeft, 72),
    Caption("lblKnaSei", "TabKojin", "姓", kBoxLeft, 72, 16),
    Box(2, "TabKojin", kPairLeft, 72, kPairMid),
    Caption("lblKnaMei", "TabKojin", "名", kPairMid + 8, 72, 16),
    Box(3, "TabKojin", kPairRight, 72),
    Caption("lblEMail1", "TabKojin", "E-Mail1", kCaptionLeft, 104),
    Box(4, "TabKojin", kBoxLeft, 104),
    Caption("lblEMail2", "TabKojin", "E-Mail２", kCaptionLeft, 132),
    Box(5, "TabKojin", kBoxLeft, 132),
    Caption("lblHPURL", "TabKojin", "HP ＵＲＬ", kCaptionLeft, 160),
    Box(6, "TabKojin", kBoxLeft, 160),
    Caption("lblZip", "TabKojin", "郵便番号", kCaptionLeft, 192),
    Box(7, "TabKojin", kBoxLeft, 192, 232),
    Caption("lblKenMei", "TabKojin", "都道府県名", kCaptionLeft, 220),
    Box(8, "TabKojin", kBoxLeft, 220, 292),
    Caption("lblAddress1", "TabKojin", "住所１", kCaptionLeft, 248),
    Box(9, "TabKojin", kBoxLeft, 248),
    Caption("lblAddress2", "TabKojin", "住所２", kCaptionLeft, 276),
    Box(10, "TabKojin", kBoxLeft, 276),
    Caption("lblTEL", "TabKojin", "ＴＥＬ", kCaptionLeft, 308),
    Box(11, "TabKojin", kBoxLeft, 308, 272),
    Caption("lblFAX", "TabKojin", "ＦＡＸ", 282, 308, 40),
    Box(12, "TabKojin", 327, 308),
    Caption("lblJob", "TabKojin", "職業", kCaptionLeft, 336),
    Box(13, "TabKojin", kBoxLeft, 336, 352),
    Caption("lblOlder", "TabKojin", "年齢", 372, 336, 40),
    Box(14, "TabKojin", 417, 336),

    Sheet("TabKinmusaki", "勤務先情報"),
    Caption("lblUser2", "TabKinmusaki", "ユーザ名", kCaptionLeft, 10),
    UserList("cboUser2", "TabKinmusaki"),
    Caption("lblKinmusaki", "TabKinmusaki", "勤務先", kCaptionLeft, 44),
    Box(15, "TabKinmusaki", kBoxLeft, 44),
    Caption("lblSyozoku", "TabKinmusaki", "所属", kCaptionLeft, 72),
    Box(16, "TabKinmusaki", kBoxLeft, 72),
    Caption("lblKEMail", "TabKinmusaki", "勤E-Mail", kCaptionLeft, 104),
    Box(17, "TabKinmusaki", kBoxLeft, 104),
    Caption("lblKURL", "TabKinmusaki", "勤URL", kCaptionLeft, 132),
    Box(18, "TabKinmusaki", kBoxLeft, 132),
    Caption("lblKZip", "TabKinmusaki", "勤〒", kCaptionLeft, 164),
    Box(19, "TabKinmusaki", kBoxLeft, 164, 232),
    Caption("lblKAddress1", "TabKinmusaki", "勤住所１", kCaptionLeft, 192),
    Box(20, "TabKinmusaki", kBoxLeft, 192),
    Caption("lblKAddress2", "TabKinmusaki", "勤住所２", kCaptionLeft, 220),
    Box(21, "TabKinmusaki", kBoxLeft, 220),
    Caption("lblKTEL", "TabKinmusaki", "勤TEL", kCaptionLeft, 252),
    Box(22, "TabKinmusaki", kBoxLeft, 252, 272),
    Caption("lblKFAX", "TabKinmusaki", "勤FAX", 280, 252, 50),
    Box(23, "TabKinmusaki", 332, 252),

    Sheet("TabEtc", "その他"),
    Caption("lblUser3", "TabEtc", "ユーザ名", kCaptionLeft, 10),
    UserList("cboUser3", "TabEtc"),
    Caption("lblEtc1", "TabEtc", "ｅｔｃ１", kCaptionLeft, 44),
    Box(24, "TabEtc", kBoxLeft, 44),
    Caption("lblEtc2", "TabEtc", "ｅｔｃ２", kCaptionLeft, 72),
    Box(25, "TabEtc", kBoxLeft, 72),
    Caption("lblEtc3", "TabEtc", "ｅｔｃ３", kCaptionLeft, 100),
    Box(26, "TabEtc", kBoxLeft, 100),
    Caption("lblEtc4", "TabEtc", "ｅｔｃ４", kCaptionLeft, 128),
    Box(27, "TabEtc", kBoxLeft, 128),
    Caption("lblEtc5", "TabEtc", "ｅｔｃ５", kCaptionLeft, 156),
    Box(28, "TabEtc", kBoxLeft, 156),

    Sheet("TabMemo", "メモ"),
    [] {
      ControlDesc c = Control("SGrdMemo", ControlKind::StringGrid, "TabMemo", nullptr,
                              {16, 12, 112, 350});
      c.grid = GridDesc{1, 10, 91, 20, 1, 0, 0, true, true, false, false};
      c.bordered = true;
      return c;
    }(),
    PageButton("cmdMemoRead", "TabMemo", "読込", {144, 12, 75, kButtonHeight}),
    PageButton("cmdMemoUpDate", "TabMemo", "更新", {225, 12, 75, kButtonHeight}),
    PageButton("cmdMemoClr", "TabMemo", "クリア", {306, 12, 75, kButtonHeight}),
    [] {
      ControlDesc c = Control("Memo", ControlKind::Edit, "TabMemo", nullptr, {144, 44, 333, 318});
      c.edit = EditDesc{true, true, true, 4096, ImeMode::AsIs};
      return c;
    }(),

    Sheet("TabList", "リスト"),
    Caption("lblListMemo", "TabList", "登録内容", kCaptionLeft, 6, 120),
    Control("txtListMemo", ControlKind::Edit, "TabList", nullptr, {kCaptionLeft, 28, 365, 23}),
    PageButton("cmdCopy", "TabList", "登録内容をヒントにする",
               {kCaptionLeft, 56, 190, kButtonHeight}),
    Caption("lblListHint", "TabList", "ヒント", kCaptionLeft, 86, 120),
    Control("txtListHint", ControlKind::Edit, "TabList", nullptr, {kCaptionLeft, 108, 365, 23}),
    PageButton("cmdAddList", "TabList", "追加", {392, 28, 88, kButtonHeight}),
    PageButton("cmdDeList", "TabList", "削除", {392, 60, 88, kButtonHeight}),
    PageButton("cmdListUp", "TabList", "上へ移動", {392, 140, 88, kButtonHeight}),
    PageButton("cmdListDown", "TabList", "下へ移動", {392, 172, 88, kButtonHeight}),
    Control("ListBox1", ControlKind::ListBox, "TabList", nullptr, {kCaptionLeft, 140, 365, 222}),

    FrameButton("cmdOK", "OK", 245, kModalOk, true),
    FrameButton("cmdCancel", "ｷｬﾝｾﾙ", 333, kModalCancel, false),
    FrameButton("cmdHelp", "ﾍﾙﾌﾟ(&H)", 421, 0, false),
};

const Binding kBindings[] = {
    {kPropertyPageControl, Event::Change, "PageControl1Change"},
    {"cboUser1", Event::Change, "cboUser1Change"},
    {"cboUser2", Event::Change, "cboUser2Change"},
    {"cboUser3", Event::Change, "cboUser3Change"},
    {"cmdOK", Event::Click, "cmdOKClick"},
    {"cmdCancel", Event::Click, "cmdCancelClick"},
    {"cmdHelp", Event::Click, "cmdHelpClick"},
    // A click selects on the button's release, also of the row already
    // selected; a key that moves the selection selects too. A double-click
    // reads on its release, once the grid has let go of the mouse.
    {"SGrdMemo", Event::MouseUp, "SGrdMemoMouseUp"},
    {"SGrdMemo", Event::Change, "SGrdMemoClick"},
    {"SGrdMemo", Event::DblClick, "SGrdMemoDblClick"},
    {"cmdMemoRead", Event::Click, "cmdMemoReadClick"},
    {"cmdMemoUpDate", Event::Click, "cmdMemoUpDateClick"},
    {"cmdMemoClr", Event::Click, "cmdMemoClrClick"},
    {"Memo", Event::Change, "MemoChange"},
    {"cmdCopy", Event::Click, "cmdCopyClick"},
    {"cmdAddList", Event::Click, "cmdAddListClick"},
    {"cmdDeList", Event::Click, "cmdDeListClick"},
    {"cmdListUp", Event::Click, "cmdListUpClick"},
    {"cmdListDown", Event::Click, "cmdListDownClick"},
    {"ListBox1", Event::DblClick, "ListBox1DblClick"},
};

FormDesc MakePropertyForm() {
  FormDesc f = DialogFrame("TfrmProperty", "frmProperty", "プロパティ", BorderStyle::ToolWindow,
                           507, 460, kFrameFont);
  f.controls = MakeTable(kControls);
  f.bindings = MakeTable(kBindings);
  return f;
}

}  // namespace

const FormDesc& PropertyForm() {
  static const FormDesc form = MakePropertyForm();
  return form;
}

}  // namespace tabcard::forms
