#include "forms/option_form.h"

#include "store/layout.h"
#include "store/palette.h"

namespace tabcard::forms {
namespace {

constexpr const char* kFace = "ＭＳ Ｐゴシック";
constexpr FontDesc kDialogFont{kFace, -12, kShiftJisCharset};
constexpr FontDesc kPanelFont{kFace, -15, kShiftJisCharset};
constexpr FontDesc kBehaviourFont{kFace, -13, kShiftJisCharset};

constexpr const char* kPreviewSheetNames[kPageCount] = {"TabKjn1", "TabKjn2", "TabMemo",
                                                       "TabList"};

constexpr ControlDesc Control(const char* name, ControlKind kind, const char* parent,
                              const char* caption, Bounds bounds, FontDesc font = {}) {
  ControlDesc c{};
  c.name = name;
  c.kind = kind;
  c.parent = parent;
  c.caption = caption;
  c.bounds = bounds;
  c.font = font;
  return c;
}

constexpr ControlDesc Pages(const char* name, const char* parent, Bounds bounds,
                            const char* activePage, int tabWidth = 0) {
  ControlDesc c = Control(name, ControlKind::PageControl, parent, nullptr, bounds);
  c.activePage = activePage;
  c.tabWidth = tabWidth;
  return c;
}

constexpr ControlDesc Sheet(const char* name, const char* pageControl, const char* caption) {
  ControlDesc c = Control(name, ControlKind::TabSheet, pageControl, caption, {});
  c.align = Align::Client;
  return c;
}

// The previews start in the standard shape; the configuration loaded at
// creation sets their counts, sizes and fonts. The grids name the popup menu
// themselves: here a control does not fall back on its parent's.
ControlDesc Preview(int page) {
  const bool personal = page < kPersonalPageCount;
  ControlDesc c = Control(kPreviewGridNames[page], ControlKind::StringGrid,
                          kPreviewSheetNames[page], nullptr, {});
  c.align = Align::Client;
  c.grid.colCount = personal ? 2 : 1;
  c.grid.rowCount = personal ? 6 : 10;
  c.grid.defaultColWidth = personal ? 50 : 90;
  c.grid.defaultRowHeight = 14;
  c.grid.gridLineWidth = kGridLineWidth;
  c.grid.tabs = personal;
  c.popupMenu = kOptionPopupMenu;
  return c;
}

constexpr ControlDesc PanelControl(const char* name, ControlKind kind, const char* parent,
                                   const char* caption, Bounds bounds) {
  return Control(name, kind, parent, caption, bounds, kPanelFont);
}

// A caption beside its box on "セルの設定": the box at kBoxLeft, the caption
// a little lower so that their texts line up.
constexpr int kBoxLeft = 104, kBoxWidth = 64, kBoxHeight = 23;
constexpr ControlDesc CellCaption(const char* name, const char* text, int boxTop) {
  return PanelControl(name, ControlKind::Label, "TabSheet32", text, {16, boxTop + 3, 84, 18});
}
constexpr ControlDesc CellBox(const char* name, const char* parent, int left, int top) {
  return PanelControl(name, ControlKind::Edit, parent, nullptr, {left, top, kBoxWidth, kBoxHeight});
}

constexpr ControlDesc Behaviour(const char* name, const char* parent, const char* caption,
                                int top) {
  return Control(name, ControlKind::CheckBox, parent, caption, {20, top, 360, 20},
                 kBehaviourFont);
}

constexpr ControlDesc FrameButton(const char* name, const char* caption, int left, int id,
                                  bool isDefault) {
  ControlDesc c = Control(name, ControlKind::Button, nullptr, caption, {left, 370, 105, 29});
  c.id = id;
  c.modalResult = id;
  c.isDefault = isDefault;
  return c;
}

// Tab order is table order.
const ControlDesc kControls[] = {
    Pages(kOptionPageControl, nullptr, {0, 0, 421, 365}, "TabSheet11", 100),
    Sheet("TabSheet11", kOptionPageControl, "ページの設定"),
    [] {
      ControlDesc c = Pages(kPreviewPageControl, "TabSheet11", {4, 6, 115, 317},
                            kPreviewSheetNames[kPageKojin1], 27);
      c.popupMenu = kOptionPopupMenu;
      return c;
    }(),
    Sheet(kPreviewSheetNames[kPageKojin1], kPreviewPageControl, kPageCaptions[kPageKojin1]),
    Preview(kPageKojin1),
    Sheet(kPreviewSheetNames[kPageKojin2], kPreviewPageControl, kPageCaptions[kPageKojin2]),
    Preview(kPageKojin2),
    Sheet(kPreviewSheetNames[kPageMemo], kPreviewPageControl, kPageCaptions[kPageMemo]),
    Preview(kPageMemo),
    Sheet(kPreviewSheetNames[kPageList], kPreviewPageControl, kPageCaptions[kPageList]),
    Preview(kPageList),
    Pages(kSettingsPageControl, "TabSheet11", {126, 6, 283, 316}, "TabSheet31", 112),

    Sheet("TabSheet31", kSettingsPageControl, "個人ページの設定"),
    [] {
      // 17 whole lines of 15 pixels inside the frame.
      ControlDesc c = PanelControl(kItemListName, ControlKind::ListBox, "TabSheet31", nullptr,
                                   {8, 12, 149, 259});
      c.itemHeight = 15;
      return c;
    }(),
    PanelControl("cmdSet", ControlKind::Button, "TabSheet31", "設定", {180, 24, 77, 25}),
    PanelControl("cmdDel", ControlKind::Button, "TabSheet31", "削除", {180, 56, 77, 25}),

    Sheet("TabSheet32", kSettingsPageControl, kCellSettingsCaption),
    CellCaption("lblColCnt", "列数", 16),
    CellBox(kCellFieldNames[0], "TabSheet32", kBoxLeft, 16),
    CellCaption("lblRowCnt", "行数", 48),
    CellBox(kCellFieldNames[1], "TabSheet32", kBoxLeft, 48),
    PanelControl("rdoColWidthMode", ControlKind::GroupBox, "TabSheet32", "セルの幅",
                 {16, 84, 243, 88}),
    PanelControl(kWidthModeNames[0], ControlKind::RadioButton, "rdoColWidthMode", "自動計算する",
                 {12, 24, 200, 22}),
    PanelControl(kWidthModeNames[1], ControlKind::RadioButton, "rdoColWidthMode",
                 "設定値で固定する", {12, 54, 144, 22}),
    CellBox(kCellFieldNames[2], "rdoColWidthMode", 160, 53),
    CellCaption("lblRowHeight", "セルの高さ", 184),
    CellBox(kCellFieldNames[3], "TabSheet32", kBoxLeft, 184),
    PanelControl("cmdUpDateKjn", ControlKind::Button, "TabSheet32", "更新", {16, 236, 76, 25}),
    PanelControl("cmdFont", ControlKind::Button, "TabSheet32", "フォント", {100, 236, 76, 25}),
    PanelControl("Button1", ControlKind::Button, "TabSheet32", "標準に戻す", {184, 236, 86, 25}),

    Sheet("TabSheet12", kOptionPageControl, "起動／複写動作"),
    Control("GroupBox1", ControlKind::GroupBox, "TabSheet12", "起動", {8, 16, 393, 105},
            kBehaviourFont),
    Behaviour(kBehaviourBoxNames[0], "GroupBox1", "起動直後はタスクトレイに入れる", 20),
    Behaviour(kBehaviourBoxNames[1], "GroupBox1", "タスクトレイに常駐する", 56),
    Control("GroupBox2", ControlKind::GroupBox, "TabSheet12", "複写動作", {8, 136, 393, 73},
            kBehaviourFont),
    Behaviour(kBehaviourBoxNames[2], "GroupBox2", "複写後にTABを挿入する（次項目へ移動）", 24),

    FrameButton("cmdOK", "OK", 79, kModalOk, true),
    FrameButton("cmdCancel", "ｷｬﾝｾﾙ", 196, kModalCancel, false),
    FrameButton("cmdHelp", "ﾍﾙﾌﾟ(&H)", 312, 0, false),
};

const Binding kBindings[] = {
    {"cmdOK", Event::Click, "cmdOKClick"},
    {"cmdHelp", Event::Click, "cmdHelpClick"},
    {kPreviewPageControl, Event::Change, "PageControl2Change"},
    {kSettingsPageControl, Event::Change, "PageControl2Change"},
    {kWidthModeNames[0], Event::Click, "rdoColWidthModeClick"},
    {kWidthModeNames[1], Event::Click, "rdoColWidthModeClick"},
    {"cmdUpDateKjn", Event::Click, "cmdUpDateKjnClick"},
    {"Button1", Event::Click, "Button1Click"},
    {"cmdFont", Event::Click, "cmdFontClick"},
    {"cmdSet", Event::Click, "cmdSetClick"},
    {kItemListName, Event::DblClick, "cmdSetClick"},
    {"cmdDel", Event::Click, "cmdDelClick"},
    {kItemListName, Event::MouseDown, "lstKojinItemMouseDown"},
    {kItemListName, Event::MouseMove, "lstKojinItemMouseMove"},
    {kItemListName, Event::MouseUp, "lstKojinItemMouseUp"},
    {kPreviewGridNames[kPageKojin1], Event::MouseDown, "SGrdKjn1MouseDown"},
    {kPreviewGridNames[kPageKojin1], Event::MouseUp, "SGrdKjn1MouseUp"},
    {kPreviewGridNames[kPageKojin2], Event::MouseDown, "SGrdKjn2MouseDown"},
    {kPreviewGridNames[kPageKojin2], Event::MouseUp, "SGrdKjn2MouseUp"},
};

FormDesc MakeOptionForm() {
  FormDesc f = DialogFrame("TfrmOption", "frmOption", kOptionCaption, BorderStyle::Dialog,
                           422, 404, kDialogFont);
  f.controls = MakeTable(kControls);
  f.bindings = MakeTable(kBindings);
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
