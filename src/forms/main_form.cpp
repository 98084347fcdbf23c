#include "forms/main_form.h"

namespace tabcard::forms {
namespace {

// What every palette grid shares; columns and the default column width
// differ per page. Rows, sizes and font are overwritten from the stored page
// configuration at creation.
constexpr GridDesc PaletteGrid(int cols, int colWidth) {
  GridDesc g{};
  g.colCount = cols;
  g.rowCount = 6;
  g.defaultColWidth = colWidth;
  g.defaultRowHeight = 15;
  g.gridLineWidth = 2;
  g.fixedCols = 0;
  g.fixedRows = 0;
  g.vertLines = true;
  g.horzLines = true;
  g.rangeSelect = false;
  g.editing = false;
  return g;
}

constexpr ControlDesc PageControl() {
  ControlDesc c{};
  c.name = "PageControl1";
  c.kind = ControlKind::PageControl;
  c.align = Align::Client;
  c.tabWidth = 27;
  c.activePage = "TabKjn2";
  return c;
}

constexpr ControlDesc Sheet(const char* name, const char* caption) {
  ControlDesc c{};
  c.name = name;
  c.kind = ControlKind::TabSheet;
  c.parent = "PageControl1";
  c.caption = caption;
  c.align = Align::Client;
  return c;
}

constexpr ControlDesc Grid(const char* name, const char* sheet, int cols, int colWidth,
                           const char* popup) {
  ControlDesc c{};
  c.name = name;
  c.kind = ControlKind::StringGrid;
  c.parent = sheet;
  c.align = Align::Client;
  c.grid = PaletteGrid(cols, colWidth);
  c.popupMenu = popup;
  return c;
}

constexpr ControlDesc Timer() {
  ControlDesc c{};
  c.name = "Timer1";
  c.kind = ControlKind::Timer;
  c.interval = 50;
  return c;
}

const ControlDesc kControls[] = {
    PageControl(),
    Sheet("TabKjn1", "個１"),
    Sheet("TabKjn2", "個２"),
    Sheet("TabMemo", "メモ"),
    Sheet("TabList", "ﾘｽﾄ"),
    Grid("SGrdKjn1", "TabKjn1", 2, 45, "KojinMenu"),
    Grid("SGrdKjn2", "TabKjn2", 2, 45, "KojinMenu"),
    Grid("SGrdMemo", "TabMemo", 2, 40, "MemoMenu"),
    Grid("SGrdList", "TabList", 1, 80, "ListMenu"),
    Timer(),
};

const Binding kBindings[] = {
    {nullptr, Event::Create, "FormCreate"},
    {nullptr, Event::Show, "FormShow"},
    {nullptr, Event::Activate, "FormActivate"},
    {nullptr, Event::Resize, "FormResize"},
    {nullptr, Event::Close, "FormClose"},
    {"PageControl1", Event::Change, "PageControl1Change"},
    {"SGrdKjn1", Event::MouseDown, "SGridMouseDown"},
    {"SGrdKjn1", Event::MouseMove, "SGridMouseMove"},
    {"SGrdKjn1", Event::MouseUp, "SGridMouseUp"},
    {"SGrdKjn1", Event::DblClick, "SGridDblClik"},
    {"SGrdKjn2", Event::MouseDown, "SGridMouseDown"},
    {"SGrdKjn2", Event::MouseMove, "SGridMouseMove"},
    {"SGrdKjn2", Event::MouseUp, "SGridMouseUp"},
    {"SGrdKjn2", Event::DblClick, "SGridDblClik"},
    {"SGrdMemo", Event::MouseDown, "SGridMouseDown"},
    {"SGrdMemo", Event::MouseMove, "SGridMouseMove"},
    {"SGrdMemo", Event::MouseUp, "SGridMouseUp"},
    {"SGrdMemo", Event::DblClick, "SGridDblClik"},
    {"SGrdList", Event::MouseDown, "SGridMouseDown"},
    {"SGrdList", Event::MouseMove, "SGridMouseMove"},
    {"SGrdList", Event::MouseUp, "SGridMouseUp"},
    {"SGrdList", Event::DblClick, "SGridDblClik"},
    {"Timer1", Event::Timer, "Timer1Timer"},
};

FormDesc MakeMainForm() {
  FormDesc f{};
  f.className = "TfrmMain";
  f.name = "frmMain";
  f.caption = "frmMain";
  f.borderStyle = BorderStyle::Sizeable;
  f.borderIcons = BorderIcons{true, false, false};
  f.stayOnTop = true;
  f.bounds = Bounds{0, 0, 126, 166};
  f.font = FontDesc{"ＭＳ Ｐゴシック", -12, kShiftJisCharset};
  f.controls = MakeTable(kControls);
  f.bindings = MakeTable(kBindings);
  return f;
}

}  // namespace

const char* const kMainSheetNames[kMainPageCount] = {"TabKjn1", "TabKjn2", "TabMemo", "TabList"};
const char* const kMainGridNames[kMainPageCount] = {"SGrdKjn1", "SGrdKjn2", "SGrdMemo",
                                                    "SGrdList"};

const FormDesc& MainForm() {
  static const FormDesc form = MakeMainForm();
  return form;
}

}  // namespace tabcard::forms
