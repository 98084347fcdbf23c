#include "forms/option_form.h"

#include "forms/palette.h"

namespace tabcard::forms {
namespace {

constexpr const char* kFace = "ＭＳ Ｐゴシック";
constexpr FontDesc kDialogFont{kFace, -12, kShiftJisCharset};
constexpr FontDesc kPanelFont{kFace, -15, kShiftJisCharset};
constexpr FontDesc kBehaviourFont{kFace, -13, kShiftJisCharset};

using C = OptionControl;

constexpr ControlDesc Control(C id, ControlKind kind, C parent, const char* caption,
                              Bounds bounds, FontDesc font = {}) {
  return MakeControl(id, kind, parent, caption, bounds, font);
}

constexpr ControlDesc Pages(C id, C parent, Bounds bounds, C activePage, int tabWidth = 0) {
  ControlDesc c = Control(id, ControlKind::PageControl, parent, nullptr, bounds);
  c.activePage = IdOf(activePage);
  c.tabWidth = tabWidth;
  return c;
}

constexpr ControlDesc Sheet(C id, C pageControl, const char* caption) {
  ControlDesc c = Control(id, ControlKind::TabSheet, pageControl, caption, {});
  c.align = Align::Client;
  return c;
}

// The previews start in the standard shape; the configuration loaded at
// creation sets their counts, sizes and fonts. The grids open the popup
// menu themselves: here a control does not fall back on its parent's.
constexpr ControlDesc Preview(int page) {
  const bool personal = IsPersonal(page);
  ControlDesc c = Control(kPreviewGrids[page], ControlKind::StringGrid, kPreviewSheets[page],
                          nullptr, {});
  c.align = Align::Client;
  c.grid.colCount = personal ? 2 : 1;
  c.grid.rowCount = personal ? 6 : 10;
  c.grid.defaultColWidth = personal ? 50 : 90;
  c.grid.defaultRowHeight = 14;
  c.grid.gridLineWidth = kGridLineWidth;
  c.grid.tabs = personal;
  c.popupMenu = true;
  return c;
}

constexpr ControlDesc PanelControl(C id, ControlKind kind, C parent, const char* caption,
                                   Bounds bounds) {
  return Control(id, kind, parent, caption, bounds, kPanelFont);
}

// A caption beside its box on "セルの設定": the box at kBoxLeft, the caption
// a little lower so that their texts line up.
constexpr int kBoxLeft = 104, kBoxWidth = 64, kBoxHeight = 23;
constexpr ControlDesc CellCaption(C id, const char* text, int boxTop) {
  return PanelControl(id, ControlKind::Label, C::TabSheet32, text, {16, boxTop + 3, 84, 18});
}
constexpr ControlDesc CellBox(C id, C parent, int left, int top) {
  return PanelControl(id, ControlKind::Edit, parent, nullptr, {left, top, kBoxWidth, kBoxHeight});
}

constexpr ControlDesc Behaviour(C id, C parent, const char* caption, int top) {
  return Control(id, ControlKind::CheckBox, parent, caption, {20, top, 360, 20}, kBehaviourFont);
}

// A row of 「ホットキー」: its caption, the box, and なし, which empties it.
constexpr ControlDesc HotKeyCaption(C id, const char* text, int top) {
  return Control(id, ControlKind::Label, C::GroupBox3, text, {16, top + 3, 160, 18},
                 kBehaviourFont);
}
constexpr ControlDesc HotKeyBox(C id, int top) {
  return Control(id, ControlKind::HotKey, C::GroupBox3, nullptr, {180, top, 150, 23},
                 kBehaviourFont);
}
constexpr ControlDesc HotKeyClear(C id, int top) {
  return Control(id, ControlKind::Button, C::GroupBox3, "なし", {338, top - 1, 46, 25},
                 kBehaviourFont);
}

constexpr ControlDesc FrameButton(C id, const char* caption, int left, int modalResult,
                                  bool isDefault, ButtonGlyph glyph) {
  ControlDesc c = Control(id, ControlKind::Button, C::frmOption, caption, {left, 370, 105, 29});
  c.modalResult = modalResult;
  c.isDefault = isDefault;
  c.glyph = glyph;
  return c;
}

// Tab order is table order.
const ControlDesc kControls[] = {
    Pages(C::PageControl1, C::frmOption, {0, 0, 421, 365}, C::TabSheet11, 100),
    Sheet(C::TabSheet11, C::PageControl1, "ページの設定"),
    [] {
      ControlDesc c = Pages(C::PageControl2, C::TabSheet11, {4, 6, 115, 317}, C::TabKjn1, 27);
      c.popupMenu = true;
      return c;
    }(),
    Sheet(C::TabKjn1, C::PageControl2, kPageCaptions[kPageKojin1]),
    Preview(kPageKojin1),
    Sheet(C::TabKjn2, C::PageControl2, kPageCaptions[kPageKojin2]),
    Preview(kPageKojin2),
    Sheet(C::TabMemo, C::PageControl2, kPageCaptions[kPageMemo]),
    Preview(kPageMemo),
    Sheet(C::TabList, C::PageControl2, kPageCaptions[kPageList]),
    Preview(kPageList),
    Pages(C::PageControl3, C::TabSheet11, {126, 6, 283, 316}, C::TabSheet31, 112),

    Sheet(C::TabSheet31, C::PageControl3, "個人ページの設定"),
    [] {
      // 17 whole lines of 15 pixels inside the frame.
      ControlDesc c = PanelControl(C::lstKojinItem, ControlKind::ListBox, C::TabSheet31, nullptr,
                                   {8, 12, 149, 259});
      c.itemHeight = 15;
      return c;
    }(),
    PanelControl(C::cmdSet, ControlKind::Button, C::TabSheet31, "設定", {180, 24, 77, 25}),
    PanelControl(C::cmdDel, ControlKind::Button, C::TabSheet31, "削除", {180, 56, 77, 25}),
    PanelControl(C::lblForm, ControlKind::Label, C::TabSheet31, "形式", {180, 100, 77, 18}),
    PanelControl(C::cboForm, ControlKind::ComboBox, C::TabSheet31, nullptr, {180, 120, 89, 23}),

    Sheet(C::TabSheet32, C::PageControl3, kCellSettingsCaption),
    CellCaption(C::lblColCnt, "列数", 16),
    CellBox(C::txtColCnt, C::TabSheet32, kBoxLeft, 16),
    CellCaption(C::lblRowCnt, "行数", 48),
    CellBox(C::txtRowCnt, C::TabSheet32, kBoxLeft, 48),
    PanelControl(C::rdoColWidthMode, ControlKind::GroupBox, C::TabSheet32, "セルの幅",
                 {16, 84, 243, 88}),
    PanelControl(C::rdoColWidthAuto, ControlKind::RadioButton, C::rdoColWidthMode, "自動計算する",
                 {12, 24, 200, 22}),
    PanelControl(C::rdoColWidthFixed, ControlKind::RadioButton, C::rdoColWidthMode,
                 "設定値で固定する", {12, 54, 144, 22}),
    CellBox(C::txtColWidth, C::rdoColWidthMode, 160, 53),
    CellCaption(C::lblRowHeight, "セルの高さ", 184),
    CellBox(C::txtRowHeight, C::TabSheet32, kBoxLeft, 184),
    PanelControl(C::cmdUpDateKjn, ControlKind::Button, C::TabSheet32, "更新", {16, 236, 76, 25}),
    PanelControl(C::cmdFont, ControlKind::Button, C::TabSheet32, "フォント", {100, 236, 76, 25}),
    PanelControl(C::Button1, ControlKind::Button, C::TabSheet32, "標準に戻す", {184, 236, 86, 25}),

    Sheet(C::TabSheet12, C::PageControl1, "起動／複写動作"),
    Control(C::GroupBox1, ControlKind::GroupBox, C::TabSheet12, "起動", {8, 16, 393, 129},
            kBehaviourFont),
    Behaviour(C::chkBootInTaskTray, C::GroupBox1, "起動直後はタスクトレイに入れる", 20),
    Behaviour(C::chkCloseInTaskTray, C::GroupBox1, "タスクトレイに常駐する", 56),
    Behaviour(C::chkStartWithWindows, C::GroupBox1, "Windows の起動時に起動する", 92),
    Control(C::GroupBox2, ControlKind::GroupBox, C::TabSheet12, "複写動作", {8, 160, 393, 101},
            kBehaviourFont),
    Behaviour(C::chkTabMode, C::GroupBox2, "複写後にTABを挿入する（次項目へ移動）", 24),
    Behaviour(C::chkRestoreClipboard, C::GroupBox2, "貼り付けた後、クリップボードを元に戻す", 60),

    Sheet(C::TabSheet13, C::PageControl1, "ホットキー"),
    Control(C::GroupBox3, ControlKind::GroupBox, C::TabSheet13, "キーの組み合わせ",
            {8, 16, 393, 161}, kBehaviourFont),
    HotKeyCaption(C::lblHotKeyShow, "パレットを表示", 28),
    HotKeyBox(C::hkyHotKeyShow, 28),
    HotKeyClear(C::cmdClearShow, 28),
    HotKeyCaption(C::lblHotKeyStep, "連続入力（次のセルを送る）", 64),
    HotKeyBox(C::hkyHotKeyStep, 64),
    HotKeyClear(C::cmdClearStep, 64),
    Control(C::lblHotKeyNote, ControlKind::Label, C::GroupBox3,
            "欄をクリックしてキーを押すと設定されます。修飾キー（Ctrl・Alt・Shift）"
            "が一つ以下のときは、Ctrl+Alt との組み合わせになります。",
            {16, 104, 364, 48}, kBehaviourFont),

    Sheet(C::TabSheet14, C::PageControl1, "貼り付けキー"),
    Control(C::GroupBox4, ControlKind::GroupBox, C::TabSheet14, "プログラムごとの貼り付けキー",
            {8, 16, 393, 297}, kBehaviourFont),
    [] {
      // The keys line up in a column after the program names.
      ControlDesc d = Control(C::lstPasteKeys, ControlKind::ListBox, C::GroupBox4, nullptr,
                              {16, 28, 240, 190}, kBehaviourFont);
      d.tabStop = 64;
      return d;
    }(),
    Control(C::cmdSwitchPasteKey, ControlKind::Button, C::GroupBox4, "キーを切り替え",
            {268, 28, 112, 25}, kBehaviourFont),
    Control(C::cmdDelPasteKey, ControlKind::Button, C::GroupBox4, "削除", {268, 60, 112, 25},
            kBehaviourFont),
    Control(C::lblPasteKeyNote, ControlKind::Label, C::GroupBox4,
            "Shift+Insert で貼り付けないプログラムには Ctrl+V を送り、そのプログラムの"
            "キーとしてここに覚えます。一覧にないプログラムには Shift+Insert を送ります。",
            {16, 228, 364, 60}, kBehaviourFont),

    FrameButton(C::cmdOK, "OK", 79, kModalOk, true, ButtonGlyph::Check),
    FrameButton(C::cmdCancel, "ｷｬﾝｾﾙ", 196, kModalCancel, false, ButtonGlyph::Cross),
    FrameButton(C::cmdHelp, "ﾍﾙﾌﾟ(&H)", 312, kModalNone, false, ButtonGlyph::Question),
};

FormDesc MakeOptionForm() {
  FormDesc f = DialogFrame("TfrmOption", "frmOption", kOptionCaption, BorderStyle::Dialog,
                           422, 404, kDialogFont);
  f.controls = MakeTable(kControls);
  return f;
}

}  // namespace

std::vector<MenuNode> OptionPopupMenuLayout() {
  MenuNode del;
  del.caption = "削除\tDel";
  del.command = kMnuDelItem;
  return {del};
}

const FormDesc& OptionForm() {
  static const FormDesc form = MakeOptionForm();
  return form;
}

}  // namespace tabcard::forms
