// The form descriptions and the tree queries the builder relies on.
#include "forms/form.h"

#include <gtest/gtest.h>

#include <string>

#include "forms/dialog_forms.h"
#include "forms/main_form.h"
#include "forms/option_form.h"
#include "forms/property_form.h"

namespace tabcard::forms {
namespace {

const FormDesc* const kForms[] = {&MainForm(), &ListDlgForm(), &AboutBoxForm(), &PropertyForm(),
                                  &OptionForm()};

// A tab sheet's room: its page control less the tabs and the frame.
constexpr int kTabRowHeight = 28, kSheetFrame = 8;

bool Overlap(const Bounds& a, const Bounds& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

// Every control that is not aligned lies wholly inside its container's
// design area (the form's client area for controls on the form) and clear
// of its siblings.
TEST(FormDescTest, EveryFormBuildsAndItsControlsFitTheirContainers) {
  for (const FormDesc* f : kForms) {
    SCOPED_TRACE(f->className);
    EXPECT_EQ(FormError(*f), "");
    for (const ControlDesc& c : f->controls) {
      if (c.align == Align::Client || c.kind == ControlKind::Timer) continue;
      const ControlDesc* container = ContainerOf(*f, c);
      Bounds area = container ? container->bounds : f->bounds;
      if (container && container->kind == ControlKind::TabSheet) {
        const Bounds& pc = FindControl(*f, container->parent)->bounds;
        area = Bounds{0, 0, pc.width - kSheetFrame, pc.height - kTabRowHeight - kSheetFrame};
      } else if (container && container->align == Align::Client) {
        continue;
      }
      const Bounds& b = c.bounds;
      EXPECT_GE(b.left, 0) << c.name;
      EXPECT_GE(b.top, 0) << c.name;
      EXPECT_LE(b.left + b.width, area.width) << c.name;
      EXPECT_LE(b.top + b.height, area.height) << c.name;
      for (const ControlDesc& other : f->controls) {
        if (&other == &c || ContainerOf(*f, other) != container || other.align == Align::Client ||
            other.kind == ControlKind::Timer) {
          continue;
        }
        EXPECT_FALSE(Overlap(b, other.bounds)) << c.name << " and " << other.name;
      }
    }
  }
}

TEST(FormDescTest, DialogButtonsAreTheWindowsOkAndCancel) {
  struct Case {
    const FormDesc* form;
    const char* ok;
    const char* cancel;  // nullptr: the close box and Esc cancel
  };
  const Case cases[] = {{&ListDlgForm(), "cmdOK", "cmdCancel"},
                        {&AboutBoxForm(), "cmdOK", nullptr},
                        {&PropertyForm(), "cmdOK", "cmdCancel"},
                        {&OptionForm(), "cmdOK", "cmdCancel"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.form->className);
    EXPECT_EQ(ControlId(*c.form, c.ok), kModalOk);
    EXPECT_EQ(DefaultButtonId(*c.form), kModalOk);
    EXPECT_EQ(FindControl(*c.form, c.ok)->modalResult, kModalOk);
    if (c.cancel) {
      EXPECT_EQ(ControlId(*c.form, c.cancel), kModalCancel);
    }
  }
  EXPECT_EQ(DefaultButtonId(MainForm()), 0);
}

constexpr ControlDesc Desc(const char* name, ControlKind kind, const char* parent,
                           Bounds bounds = {}) {
  ControlDesc c{};
  c.name = name;
  c.kind = kind;
  c.parent = parent;
  c.bounds = bounds;
  return c;
}

constexpr ControlDesc Pages() {
  ControlDesc c = Desc("Pages", ControlKind::PageControl, nullptr);
  c.activePage = "Sheet2";
  return c;
}

// A panel holding a group box holding an edit; a page control with two
// sheets, on the second of which another page control.
const ControlDesc kTree[] = {
    Desc("Panel", ControlKind::Panel, nullptr, {10, 20, 200, 100}),
    Desc("Group", ControlKind::GroupBox, "Panel", {5, 6, 150, 80}),
    Desc("Edit", ControlKind::Edit, "Group", {7, 8, 50, 20}),
    Pages(),
    Desc("Sheet1", ControlKind::TabSheet, "Pages"),
    Desc("Sheet2", ControlKind::TabSheet, "Pages"),
    Desc("Inner", ControlKind::PageControl, "Sheet2", {4, 4, 100, 80}),
    Desc("Sheet3", ControlKind::TabSheet, "Inner"),
};

TEST(FormDescTest, TreeQueries) {
  FormDesc f{};
  f.name = "tree";
  f.controls = MakeTable(kTree);
  EXPECT_EQ(FormError(f), "");
  const ControlDesc& edit = *FindControl(f, "Edit");
  EXPECT_EQ(ContainerOf(f, edit), FindControl(f, "Group"));
  EXPECT_EQ(ContainerOf(f, *FindControl(f, "Group")), FindControl(f, "Panel"));
  EXPECT_EQ(ContainerOf(f, *FindControl(f, "Panel")), nullptr);
  EXPECT_EQ(SheetIndex(f, *FindControl(f, "Sheet2")), 1);
  EXPECT_EQ(ContainerOf(f, *FindControl(f, "Sheet2")), nullptr);
  EXPECT_EQ(ContainerOf(f, *FindControl(f, "Sheet3")), FindControl(f, "Sheet2"));
  EXPECT_EQ(SheetIndex(f, *FindControl(f, "Sheet3")), 0);
  EXPECT_EQ(SheetIndex(f, edit), -1);
  EXPECT_EQ(InitialSheetIndex(f, *FindControl(f, "Pages")), 1);
}

TEST(FormDescTest, ADescriptionTheBuilderCannotBuildIsRefused) {
  struct Case {
    const char* what;
    void (*spoil)(ControlDesc* controls);
  };
  const Case cases[] = {
      {"a field of another kind", [](ControlDesc* c) { c[2].tabWidth = 27; }},
      {"an interval on an edit", [](ControlDesc* c) { c[2].interval = 50; }},
      {"a bevel on a group box", [](ControlDesc* c) { c[1].bordered = true; }},
      {"a parent that comes later", [](ControlDesc* c) { c[0].parent = "Group"; }},
      {"a missing parent", [](ControlDesc* c) { c[2].parent = "Nowhere"; }},
      {"a sheet outside a page control", [](ControlDesc* c) { c[4].parent = "Panel"; }},
      {"an edit on a page control", [](ControlDesc* c) { c[5].kind = ControlKind::Edit; }},
      {"a control on an edit", [](ControlDesc* c) { c[1].kind = ControlKind::Edit; }},
      {"a doubled id", [](ControlDesc* c) { c[0].id = c[1].id = 1; }},
      {"a doubled name", [](ControlDesc* c) { c[5].name = "Sheet1"; }},
      {"a caption on a grid", [](ControlDesc* c) {
         c[2].kind = ControlKind::StringGrid;
         c[2].caption = "x";
       }},
      {"a popup menu on an edit", [](ControlDesc* c) { c[2].popupMenu = "Menu"; }},
      {"a line height on an edit", [](ControlDesc* c) { c[2].itemHeight = 15; }},
      {"a radio button outside a group box", [](ControlDesc* c) {
         c[1].kind = ControlKind::Panel;
         c[2].kind = ControlKind::RadioButton;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ControlDesc controls[std::size(kTree)];
    std::copy(std::begin(kTree), std::end(kTree), controls);
    c.spoil(controls);
    FormDesc f{};
    f.name = "spoilt";
    f.controls = MakeTable(controls);
    EXPECT_NE(FormError(f), "");
  }
}

}  // namespace
}  // namespace tabcard::forms
