#include "forms/main_form.h"

#include "store/layout.h"
#include "store/palette.h"

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
  g.gridLineWidth = kGridLineWidth;
  g.fixedCols = 0;
  g.fixedRows = 0;
  g.vertLines = true;
  g.horzLines = true;
  g.rangeSelect = false;
  g.editing = false;
  g.ownerKeys = true;  // Enter sends the cell, Ctrl+TAB turns the page
  return g;
}

constexpr ControlDesc PageControl() {
  ControlDesc c{};
  c.name = kMainPageControl;
  c.kind = ControlKind::PageControl;
  c.align = Align::Client;
  c.tabWidth = 27;
  c.activePage = kMainSheetNames[kPageKojin2];
  return c;
}

constexpr ControlDesc Sheet(const char* name, const char* caption) {
  ControlDesc c{};
  c.name = name;
  c.kind = ControlKind::TabSheet;
  c.parent = kMainPageControl;
  c.caption = caption;
  c.align = Align::Client;
  return c;
}

constexpr ControlDesc Grid(int page, int cols, int colWidth, const char* popup) {
  ControlDesc c{};
  c.name = kMainGridNames[page];
  c.kind = ControlKind::StringGrid;
  c.parent = kMainSheetNames[page];
  c.align = Align::Client;
  c.grid = PaletteGrid(cols, colWidth);
  c.popupMenu = popup;
  return c;
}

constexpr ControlDesc Timer() {
  ControlDesc c{};
  c.name = kMainTimer;
  c.kind = ControlKind::Timer;
  c.interval = kFirstTickMs;
  return c;
}

const ControlDesc kControls[] = {
    PageControl(),
    Sheet(kMainSheetNames[kPageKojin1], kPageCaptions[kPageKojin1]),
    Sheet(kMainSheetNames[kPageKojin2], kPageCaptions[kPageKojin2]),
    Sheet(kMainSheetNames[kPageMemo], kPageCaptions[kPageMemo]),
    Sheet(kMainSheetNames[kPageList], kPageCaptions[kPageList]),
    Grid(kPageKojin1, 2, 45, "KojinMenu"),
    Grid(kPageKojin2, 2, 45, "KojinMenu"),
    Grid(kPageMemo, 2, 40, "MemoMenu"),
    Grid(kPageList, 1, 80, "ListMenu"),
    Timer(),
};

const Binding kBindings[] = {
    {nullptr, Event::Create, "FormCreate"},
    {nullptr, Event::Show, "FormShow"},
    {nullptr, Event::Activate, "FormActivate"},
    {nullptr, Event::Resize, "FormResize"},
    {nullptr, Event::Close, "FormClose"},
    {kMainPageControl, Event::Change, "PageControl1Change"},
    {kMainGridNames[kPageKojin1], Event::MouseDown, "SGridMouseDown"},
    {kMainGridNames[kPageKojin1], Event::MouseMove, "SGridMouseMove"},
    {kMainGridNames[kPageKojin1], Event::MouseUp, "SGridMouseUp"},
    {kMainGridNames[kPageKojin1], Event::DblClick, "SGridDblClik"},
    {kMainGridNames[kPageKojin2], Event::MouseDown, "SGridMouseDown"},
    {kMainGridNames[kPageKojin2], Event::MouseMove, "SGridMouseMove"},
    {kMainGridNames[kPageKojin2], Event::MouseUp, "SGridMouseUp"},
    {kMainGridNames[kPageKojin2], Event::DblClick, "SGridDblClik"},
    {kMainGridNames[kPageMemo], Event::MouseDown, "SGridMouseDown"},
    {kMainGridNames[kPageMemo], Event::MouseMove, "SGridMouseMove"},
    {kMainGridNames[kPageMemo], Event::MouseUp, "SGridMouseUp"},
    {kMainGridNames[kPageMemo], Event::DblClick, "SGridDblClik"},
    {kMainGridNames[kPageList], Event::MouseDown, "SGridMouseDown"},
    {kMainGridNames[kPageList], Event::MouseMove, "SGridMouseMove"},
    {kMainGridNames[kPageList], Event::MouseUp, "SGridMouseUp"},
    {kMainGridNames[kPageList], Event::DblClick, "SGridDblClik"},
    {kMainTimer, Event::Timer, "Timer1Timer"},
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

const FormDesc& MainForm() {
  static const FormDesc form = MakeMainForm();
  return form;
}

}  // namespace tabcard::forms
