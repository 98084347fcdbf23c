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
    {"KanjSei", PropertyControl::txtKnjSei, "漢字氏名（姓）", kHira},
    {"KanjMei", PropertyControl::txtKnjMei, "漢字氏名（名）", kHira},
    {"KanaSei", PropertyControl::txtKnaSei, "ふりがな（姓）", kHira},
    {"KanaMei", PropertyControl::txtKnaMei, "ふりがな（名）", kHira},
    {"EMail1", PropertyControl::txtEMail1, "E-Mail1", kHalf},
    {"EMail2", PropertyControl::txtEMail2, "E-Mail２", kHalf},
    {"HPURL", PropertyControl::txtHPURL, "HP ＵＲＬ", kHalf},
    {"ZIP", PropertyControl::txtZip, "郵便番号", kHalf},
    {"KenMei", PropertyControl::txtKenMei, "都道府県名", kHira},
    {"Jusyo1", PropertyControl::txtAddress1, "住所１", kHira},
    {"Jusyo2", PropertyControl::txtAddress2, "住所２", kHira},
    {"TEL", PropertyControl::txtTEL, "ＴＥＬ", kHalf},
    {"FAX", PropertyControl::txtFAX, "ＦＡＸ", kHalf},
    {"JOB", PropertyControl::txtJob, "職業", kHira},
    {"Older", PropertyControl::txtOlder, "年齢", kHalf},
    {"Kinmusaki", PropertyControl::txtKinmusaki, "勤務先", kHira},
    {"Syozoku", PropertyControl::txtSyozoku, "所属", kHira},
    {"K_EMail", PropertyControl::txtKEMail, "勤E-Mail", kHalf},
    {"K_URL", PropertyControl::txtKURL, "勤URL", kHalf},
    {"K_ZIP", PropertyControl::txtKZip, "勤〒", kHalf},
    {"K_Jusyo1", PropertyControl::txtKAddress1, "勤住所１", kHira},
    {"K_Jusyo2", PropertyControl::txtKAddress2, "勤住所２", kHira},
    {"K_TEL", PropertyControl::txtKTEL, "勤TEL", kHalf},
    {"K_FAX", PropertyControl::txtKFAX, "勤FAX", kHalf},
    {"etc1", PropertyControl::txtEtc1, "ｅｔｃ１", kAsIs},
    {"etc2", PropertyControl::txtEtc2, "ｅｔｃ２", kAsIs},
    {"etc3", PropertyControl::txtEtc3, "ｅｔｃ３", kAsIs},
    {"etc4", PropertyControl::txtEtc4, "ｅｔｃ４", kAsIs},
    {"etc5", PropertyControl::txtEtc5, "ｅｔｃ５", kAsIs},
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

using C = PropertyControl;

constexpr ControlDesc Control(C id, ControlKind kind, C parent, const char* caption,
                              Bounds bounds) {
  return MakeControl(id, kind, parent, caption, bounds, kPageFont);
}

constexpr ControlDesc Sheet(C id, const char* caption) {
  ControlDesc c{};
  c.id = IdOf(id);
  c.kind = ControlKind::TabSheet;
  c.parent = IdOf(C::PageControl1);
  c.caption = caption;
  c.align = Align::Client;
  return c;
}

constexpr ControlDesc Caption(C id, C sheet, const char* text, int left, int top,
                              int width = kCaptionWidth) {
  return Control(id, ControlKind::Label, sheet, text, {left, top + kCaptionDrop, width, 16});
}

ControlDesc Box(int field, C sheet, int left, int top, int right = kBoxRight) {
  ControlDesc c = Control(kPropertyFields[field].control, ControlKind::Edit, sheet, nullptr,
                          {left, top, right - left, kBoxHeight});
  c.edit.ime = kPropertyFields[field].ime;
  return c;
}

constexpr ControlDesc UserList(C id, C sheet) {
  return Control(id, ControlKind::ComboBox, sheet, nullptr, {kBoxLeft, 10, 200, kBoxHeight});
}

constexpr ControlDesc PageButton(C id, C sheet, const char* caption, Bounds bounds) {
  return Control(id, ControlKind::Button, sheet, caption, bounds);
}

constexpr ControlDesc FrameButton(C id, const char* caption, int left, int modalResult,
                                  bool isDefault, ButtonGlyph glyph) {
  ControlDesc c{};
  c.id = IdOf(id);
  c.kind = ControlKind::Button;
  c.caption = caption;
  c.bounds = {left, 423, 80, 28};
  c.modalResult = modalResult;
  c.isDefault = isDefault;
  c.glyph = glyph;
  return c;
}

// Where the two boxes of a shared row split.
constexpr int kPairLeft = 130, kPairMid = 292, kPairRight = 318;

// Tab order is table order: on each page the user list first, then the
// fields as they are stored, each caption just before its box.
const ControlDesc kControls[] = {
    [] {
      ControlDesc c{};
      c.id = IdOf(C::PageControl1);
      c.kind = ControlKind::PageControl;
      c.bounds = {1, 1, 505, 413};
      c.tabWidth = 100;
      c.activePage = IdOf(C::TabKojin);
      return c;
    }(),
    Sheet(C::TabKojin, "個人情報"),
    Caption(C::lblUser1, C::TabKojin, "ユーザ名", kCaptionLeft, 10),
    UserList(C::cboUser1, C::TabKojin),
    Caption(C::lblKanji, C::TabKojin, "漢字氏名", kCaptionLeft, 44),
    Caption(C::lblKnjSei, C::TabKojin, "姓", kBoxLeft, 44, 16),
    Box(0, C::TabKojin, kPairLeft, 44, kPairMid),
    Caption(C::lblKnjMei, C::TabKojin, "名", kPairMid + 8, 44, 16),
    Box(1, C::TabKojin, kPairRight, 44),
    Caption(C::lblKana, C::TabKojin, "ふりがな", kCaptionLeft, 72),
    Caption(C::lblKnaSei, C::TabKojin, "姓", kBoxLeft, 72, 16),
    Box(2, C::TabKojin, kPairLeft, 72, kPairMid),
    Caption(C::lblKnaMei, C::TabKojin, "名", kPairMid + 8, 72, 16),
    Box(3, C::TabKojin, kPairRight, 72),
    Caption(C::lblEMail1, C::TabKojin, "E-Mail1", kCaptionLeft, 104),
    Box(4, C::TabKojin, kBoxLeft, 104),
    Caption(C::lblEMail2, C::TabKojin, "E-Mail２", kCaptionLeft, 132),
    Box(5, C::TabKojin, kBoxLeft, 132),
    Caption(C::lblHPURL, C::TabKojin, "HP ＵＲＬ", kCaptionLeft, 160),
    Box(6, C::TabKojin, kBoxLeft, 160),
    Caption(C::lblZip, C::TabKojin, "郵便番号", kCaptionLeft, 192),
    Box(7, C::TabKojin, kBoxLeft, 192, 232),
    Caption(C::lblKenMei, C::TabKojin, "都道府県名", kCaptionLeft, 220),
    Box(8, C::TabKojin, kBoxLeft, 220, 292),
    Caption(C::lblAddress1, C::TabKojin, "住所１", kCaptionLeft, 248),
    Box(9, C::TabKojin, kBoxLeft, 248),
    Caption(C::lblAddress2, C::TabKojin, "住所２", kCaptionLeft, 276),
    Box(10, C::TabKojin, kBoxLeft, 276),
    Caption(C::lblTEL, C::TabKojin, "ＴＥＬ", kCaptionLeft, 308),
    Box(11, C::TabKojin, kBoxLeft, 308, 272),
    Caption(C::lblFAX, C::TabKojin, "ＦＡＸ", 282, 308, 40),
    Box(12, C::TabKojin, 327, 308),
    Caption(C::lblJob, C::TabKojin, "職業", kCaptionLeft, 336),
    Box(13, C::TabKojin, kBoxLeft, 336, 352),
    Caption(C::lblOlder, C::TabKojin, "年齢", 372, 336, 40),
    Box(14, C::TabKojin, 417, 336),

    Sheet(C::TabKinmusaki, "勤務先情報"),
    Caption(C::lblUser2, C::TabKinmusaki, "ユーザ名", kCaptionLeft, 10),
    UserList(C::cboUser2, C::TabKinmusaki),
    Caption(C::lblKinmusaki, C::TabKinmusaki, "勤務先", kCaptionLeft, 44),
    Box(15, C::TabKinmusaki, kBoxLeft, 44),
    Caption(C::lblSyozoku, C::TabKinmusaki, "所属", kCaptionLeft, 72),
    Box(16, C::TabKinmusaki, kBoxLeft, 72),
    Caption(C::lblKEMail, C::TabKinmusaki, "勤E-Mail", kCaptionLeft, 104),
    Box(17, C::TabKinmusaki, kBoxLeft, 104),
    Caption(C::lblKURL, C::TabKinmusaki, "勤URL", kCaptionLeft, 132),
    Box(18, C::TabKinmusaki, kBoxLeft, 132),
    Caption(C::lblKZip, C::TabKinmusaki, "勤〒", kCaptionLeft, 164),
    Box(19, C::TabKinmusaki, kBoxLeft, 164, 232),
    Caption(C::lblKAddress1, C::TabKinmusaki, "勤住所１", kCaptionLeft, 192),
    Box(20, C::TabKinmusaki, kBoxLeft, 192),
    Caption(C::lblKAddress2, C::TabKinmusaki, "勤住所２", kCaptionLeft, 220),
    Box(21, C::TabKinmusaki, kBoxLeft, 220),
    Caption(C::lblKTEL, C::TabKinmusaki, "勤TEL", kCaptionLeft, 252),
    Box(22, C::TabKinmusaki, kBoxLeft, 252, 272),
    Caption(C::lblKFAX, C::TabKinmusaki, "勤FAX", 280, 252, 50),
    Box(23, C::TabKinmusaki, 332, 252),

    Sheet(C::TabEtc, "その他"),
    Caption(C::lblUser3, C::TabEtc, "ユーザ名", kCaptionLeft, 10),
    UserList(C::cboUser3, C::TabEtc),
    Caption(C::lblEtc1, C::TabEtc, "ｅｔｃ１", kCaptionLeft, 44),
    Box(24, C::TabEtc, kBoxLeft, 44),
    Caption(C::lblEtc2, C::TabEtc, "ｅｔｃ２", kCaptionLeft, 72),
    Box(25, C::TabEtc, kBoxLeft, 72),
    Caption(C::lblEtc3, C::TabEtc, "ｅｔｃ３", kCaptionLeft, 100),
    Box(26, C::TabEtc, kBoxLeft, 100),
    Caption(C::lblEtc4, C::TabEtc, "ｅｔｃ４", kCaptionLeft, 128),
    Box(27, C::TabEtc, kBoxLeft, 128),
    Caption(C::lblEtc5, C::TabEtc, "ｅｔｃ５", kCaptionLeft, 156),
    Box(28, C::TabEtc, kBoxLeft, 156),

    Sheet(C::TabMemo, "メモ"),
    [] {
      ControlDesc c = Control(C::SGrdMemo, ControlKind::StringGrid, C::TabMemo, nullptr,
                              {16, 12, 112, 350});
      c.grid = GridDesc{1, 10, 91, 20, 1, 0, 0, true, true, false, false};
      c.bordered = true;
      return c;
    }(),
    PageButton(C::cmdMemoRead, C::TabMemo, "読込", {144, 12, 75, kButtonHeight}),
    PageButton(C::cmdMemoUpDate, C::TabMemo, "更新", {225, 12, 75, kButtonHeight}),
    PageButton(C::cmdMemoClr, C::TabMemo, "クリア", {306, 12, 75, kButtonHeight}),
    [] {
      ControlDesc c = Control(C::Memo, ControlKind::Edit, C::TabMemo, nullptr, {144, 44, 333, 318});
      c.edit = EditDesc{true, true, true, 4096, ImeMode::AsIs};
      return c;
    }(),

    Sheet(C::TabList, "リスト"),
    Caption(C::lblListMemo, C::TabList, "登録内容", kCaptionLeft, 6, 120),
    Control(C::txtListMemo, ControlKind::Edit, C::TabList, nullptr, {kCaptionLeft, 28, 365, 23}),
    PageButton(C::cmdCopy, C::TabList, "登録内容をヒントにする",
               {kCaptionLeft, 56, 190, kButtonHeight}),
    Caption(C::lblListHint, C::TabList, "ヒント", kCaptionLeft, 86, 120),
    Control(C::txtListHint, ControlKind::Edit, C::TabList, nullptr, {kCaptionLeft, 108, 365, 23}),
    PageButton(C::cmdAddList, C::TabList, "追加", {392, 28, 88, kButtonHeight}),
    PageButton(C::cmdDeList, C::TabList, "削除", {392, 60, 88, kButtonHeight}),
    PageButton(C::cmdListUp, C::TabList, "上へ移動", {392, 140, 88, kButtonHeight}),
    PageButton(C::cmdListDown, C::TabList, "下へ移動", {392, 172, 88, kButtonHeight}),
    Control(C::ListBox1, ControlKind::ListBox, C::TabList, nullptr, {kCaptionLeft, 140, 365, 222}),

    FrameButton(C::cmdOK, "OK", 245, kModalOk, true, ButtonGlyph::Check),
    FrameButton(C::cmdCancel, "ｷｬﾝｾﾙ", 333, kModalCancel, false, ButtonGlyph::Cross),
    FrameButton(C::cmdHelp, "ﾍﾙﾌﾟ(&H)", 421, kModalNone, false, ButtonGlyph::Question),
};

FormDesc MakePropertyForm() {
  FormDesc f = DialogFrame("TfrmProperty", "frmProperty", "プロパティ", BorderStyle::ToolWindow,
                           507, 460, kFrameFont);
  f.controls = MakeTable(kControls);
  return f;
}

}  // namespace

const FormDesc& PropertyForm() {
  static const FormDesc form = MakePropertyForm();
  return form;
}

}  // namespace tabcard::forms
