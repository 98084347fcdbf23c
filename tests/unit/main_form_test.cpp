#include "forms/main_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/event_router.h"

namespace tabcard::forms {
namespace {

TEST(MainFormTest, WindowDesignValues) {
  const FormDesc& f = MainForm();
  EXPECT_STREQ(f.className, "TfrmMain");
  EXPECT_STREQ(f.caption, "frmMain");
  EXPECT_EQ(f.borderStyle, BorderStyle::Sizeable);
  EXPECT_TRUE(f.borderIcons.systemMenu);
  EXPECT_FALSE(f.borderIcons.minimize);
  EXPECT_FALSE(f.borderIcons.maximize);
  EXPECT_TRUE(f.stayOnTop);
  EXPECT_EQ(f.bounds.width, 126);
  EXPECT_EQ(f.bounds.height, 166);
  EXPECT_EQ(std::string(f.font.name), "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e");
  EXPECT_EQ(f.font.height, -12);
  EXPECT_EQ(f.font.charset, 128);
}

TEST(MainFormTest, PageControlFillsTheFormAndStartsOnSecondSheet) {
  const ControlDesc* pc = FindControl(MainForm(), "PageControl1");
  ASSERT_NE(pc, nullptr);
  EXPECT_EQ(pc->kind, ControlKind::PageControl);
  EXPECT_EQ(pc->parent, nullptr);
  EXPECT_EQ(pc->align, Align::Client);
  EXPECT_EQ(pc->tabWidth, 27);
  EXPECT_STREQ(pc->activePage, "TabKjn2");
  EXPECT_EQ(CountChildren(MainForm(), "PageControl1"), 4u);
}

struct PageCase {
  const char* sheet;
  const char* caption;  // CP932 bytes
  const char* grid;
  int cols;
  int colWidth;
  const char* popup;
};

TEST(MainFormTest, SheetsAndGridsInPageOrder) {
  const PageCase cases[] = {
      {"TabKjn1", "\x8c\xc2\x82\x50", "SGrdKjn1", 2, 45, "KojinMenu"},
      {"TabKjn2", "\x8c\xc2\x82\x51", "SGrdKjn2", 2, 45, "KojinMenu"},
      {"TabMemo", "\x83\x81\x83\x82", "SGrdMemo", 2, 40, "MemoMenu"},
      {"TabList", "\xd8\xbd\xc4", "SGrdList", 1, 80, "ListMenu"},
  };
  // Sheets appear in the table in tab order.
  int sheetIndex = 0;
  for (const ControlDesc& c : MainForm().controls) {
    if (c.kind != ControlKind::TabSheet) continue;
    ASSERT_LT(sheetIndex, 4);
    EXPECT_STREQ(c.name, cases[sheetIndex].sheet);
    EXPECT_STREQ(kMainSheetNames[sheetIndex], cases[sheetIndex].sheet);
    ++sheetIndex;
  }
  EXPECT_EQ(sheetIndex, 4);
  for (int i = 0; i < 4; ++i) {
    const PageCase& p = cases[i];
    SCOPED_TRACE(p.grid);
    const ControlDesc* sheet = FindControl(MainForm(), p.sheet);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(std::string(sheet->caption), p.caption);
    const ControlDesc* grid = FindControl(MainForm(), p.grid);
    ASSERT_NE(grid, nullptr);
    EXPECT_STREQ(kMainGridNames[i], p.grid);
    EXPECT_EQ(grid->kind, ControlKind::StringGrid);
    EXPECT_STREQ(grid->parent, p.sheet);
    EXPECT_EQ(grid->align, Align::Client);
    EXPECT_EQ(grid->grid.colCount, p.cols);
    EXPECT_EQ(grid->grid.defaultColWidth, p.colWidth);
    EXPECT_EQ(grid->grid.rowCount, 6);
    EXPECT_EQ(grid->grid.defaultRowHeight, 15);
    EXPECT_EQ(grid->grid.gridLineWidth, 2);
    EXPECT_EQ(grid->grid.fixedCols, 0);
    EXPECT_EQ(grid->grid.fixedRows, 0);
    EXPECT_TRUE(grid->grid.vertLines && grid->grid.horzLines);
    EXPECT_FALSE(grid->grid.rangeSelect);
    EXPECT_FALSE(grid->grid.editing);
    EXPECT_STREQ(grid->popupMenu, p.popup);
  }
}

TEST(MainFormTest, TimerFiresFirstAfter50ms) {
  const ControlDesc* t = FindControl(MainForm(), "Timer1");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->kind, ControlKind::Timer);
  EXPECT_EQ(t->interval, 50);
  EXPECT_STREQ(BoundHandler(MainForm(), "Timer1", Event::Timer), "Timer1Timer");
}

TEST(MainFormTest, HandlerBindings) {
  struct Case {
    const char* control;
    Event event;
    const char* handler;
  };
  const Case cases[] = {
      {nullptr, Event::Create, "FormCreate"},     {nullptr, Event::Show, "FormShow"},
      {nullptr, Event::Activate, "FormActivate"}, {nullptr, Event::Resize, "FormResize"},
      {nullptr, Event::Close, "FormClose"},       {"PageControl1", Event::Change, "PageControl1Change"},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(BoundHandler(MainForm(), c.control, c.event), c.handler) << c.handler;
  }
  // The four grids share one set of mouse handlers.
  for (const char* grid : kMainGridNames) {
    SCOPED_TRACE(grid);
    EXPECT_STREQ(BoundHandler(MainForm(), grid, Event::MouseDown), "SGridMouseDown");
    EXPECT_STREQ(BoundHandler(MainForm(), grid, Event::MouseMove), "SGridMouseMove");
    EXPECT_STREQ(BoundHandler(MainForm(), grid, Event::MouseUp), "SGridMouseUp");
    EXPECT_STREQ(BoundHandler(MainForm(), grid, Event::DblClick), "SGridDblClik");
  }
  // Every binding names an existing control.
  for (const Binding& b : MainForm().bindings) {
    if (b.control) {
      EXPECT_NE(FindControl(MainForm(), b.control), nullptr) << b.control;
    }
  }
}

TEST(MainFormTest, ControlIdsAreDistinctAndFollowTheTable) {
  EXPECT_EQ(ControlId(MainForm(), "PageControl1"), kFirstControlId);
  EXPECT_EQ(ControlId(MainForm(), "NoSuchControl"), -1);
  std::vector<int> ids;
  for (const ControlDesc& c : MainForm().controls) {
    const int id = ControlId(MainForm(), c.name);
    for (int other : ids) EXPECT_NE(id, other) << c.name;
    ids.push_back(id);
  }
}

class Recorder {
 public:
  void A(const EventArgs& e) { log += std::string("A:") + (e.sender ? e.sender : "-") + ";"; }
  void B(const EventArgs& e) { log += "B:" + std::to_string(e.x) + ";"; }
  std::string log;
};

TEST(EventRouterTest, FiresTheBoundHandlerWithTheSender) {
  const Binding bindings[] = {{nullptr, Event::Create, "A"}, {"g1", Event::MouseDown, "B"},
                              {"g2", Event::MouseDown, "A"}};
  FormDesc form{};
  form.bindings = MakeTable(bindings);
  using Router = EventRouter<Recorder>;
  const Router::NamedHandler handlers[] = {{"A", &Recorder::A}, {"B", &Recorder::B}};
  Router router(form, MakeTable(handlers));
  Recorder r;
  EventArgs args;
  args.x = 7;
  EXPECT_TRUE(router.Fire(r, nullptr, Event::Create));
  EXPECT_TRUE(router.Fire(r, "g1", Event::MouseDown, args));
  EXPECT_TRUE(router.Fire(r, "g2", Event::MouseDown));
  EXPECT_FALSE(router.Fire(r, "g1", Event::MouseUp));
  EXPECT_FALSE(router.Fire(r, "g3", Event::MouseDown));
  EXPECT_EQ(r.log, "A:-;B:7;A:g2;");
}

TEST(EventRouterTest, RefusesAnUnknownHandlerName) {
  const Binding bindings[] = {{nullptr, Event::Create, "Missing"}};
  FormDesc form{};
  form.bindings = MakeTable(bindings);
  using Router = EventRouter<Recorder>;
  const Router::NamedHandler handlers[] = {{"A", &Recorder::A}};
  EXPECT_THROW(Router(form, MakeTable(handlers)), std::logic_error);
}

}  // namespace
}  // namespace tabcard::forms
