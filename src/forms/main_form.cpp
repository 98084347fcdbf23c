#include "forms/main_form.h"

#include "forms/palette.h"

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

using C = MainControl;

constexpr ControlDesc PageControl() {
  ControlDesc c{};
  c.id = IdOf(C::PageControl1);
  c.kind = ControlKind::PageControl;
  c.align = Align::Client;
  c.tabWidth = 27;
  c.activePage = IdOf(kMainSheets[kPageKojin2]);
  return c;
}

constexpr ControlDesc Sheet(int page) {
  ControlDesc c{};
  c.id = IdOf(kMainSheets[page]);
  c.kind = ControlKind::TabSheet;
  c.parent = IdOf(C::PageControl1);
  c.caption = kPageCaptions[page];
  c.align = Align::Client;
  return c;
}

// Each grid's right click opens its page's menu: the item menu on the
// personal pages, the memo and list menus on the others.
constexpr ControlDesc Grid(int page, int cols, int colWidth) {
  ControlDesc c{};
  c.id = IdOf(kMainGrids[page]);
  c.kind = ControlKind::StringGrid;
  c.parent = IdOf(kMainSheets[page]);
  c.align = Align::Client;
  c.grid = PaletteGrid(cols, colWidth);
  c.popupMenu = true;
  return c;
}

constexpr ControlDesc Timer() {
  ControlDesc c{};
  c.id = IdOf(C::Timer1);
  c.kind = ControlKind::Timer;
  c.interval = kFirstTickMs;
  return c;
}

const ControlDesc kControls[] = {
    PageControl(),
    Sheet(kPageKojin1),
    Sheet(kPageKojin2),
    Sheet(kPageMemo),
    Sheet(kPageList),
    Grid(kPageKojin1, 2, 45),
    Grid(kPageKojin2, 2, 45),
    Grid(kPageMemo, 2, 40),
    Grid(kPageList, 1, 80),
    Timer(),
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
  return f;
}

}  // namespace

int MainGridPage(int control) {
  for (int page = 0; page < kPageCount; ++page) {
    if (IdOf(kMainGrids[page]) == control) return page;
  }
  return -1;
}

const FormDesc& MainForm() {
  static const FormDesc form = MakeMainForm();
  return form;
}

}  // namespace tabcard::forms
