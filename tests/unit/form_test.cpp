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
      EXPECT_GE(b.left, 0) << c.id;
      EXPECT_GE(b.top, 0) << c.id;
      EXPECT_LE(b.left + b.width, area.width) << c.id;
      EXPECT_LE(b.top + b.height, area.height) << c.id;
      for (const ControlDesc& other : f->controls) {
        if (&other == &c || ContainerOf(*f, other) != container || other.align == Align::Client ||
            other.kind == ControlKind::Timer) {
          continue;
        }
        EXPECT_FALSE(Overlap(b, other.bounds)) << c.id << " and " << other.id;
      }
    }
  }
}

// Enter and Esc reach OK and Cancel through the dialog manager by the ids
// IDOK and IDCANCEL.
TEST(FormDescTest, DialogButtonsAreTheWindowsOkAndCancel) {
  struct Case {
    const FormDesc* form;
    bool cancel;  // false: the close box and Esc cancel
  };
  const Case cases[] = {
      {&ListDlgForm(), true}, {&AboutBoxForm(), false}, {&PropertyForm(), true}, {&OptionForm(), true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.form->className);
    EXPECT_EQ(DefaultButtonId(*c.form), kModalOk);
    EXPECT_EQ(FindControl(*c.form, kModalOk)->modalResult, kModalOk);
    if (c.cancel) {
      EXPECT_EQ(FindControl(*c.form, kModalCancel)->modalResult, kModalCancel);
    }
  }
  EXPECT_EQ(DefaultButtonId(MainForm()), 0);
}

// A panel holding a group box holding an edit; a page control with two
// sheets, on the second of which another page control.
enum class T : int { Form = kFormItself, Panel = 10, Group, Edit, Pages, Sheet1, Sheet2, Inner, Sheet3 };

constexpr ControlDesc Desc(T id, ControlKind kind, T parent, Bounds bounds = {}) {
  ControlDesc c{};
  c.id = IdOf(id);
  c.kind = kind;
  c.parent = IdOf(parent);
  c.bounds = bounds;
  return c;
}

constexpr ControlDesc Pages() {
  ControlDesc c = Desc(T::Pages, ControlKind::PageControl, T::Form);
  c.activePage = IdOf(T::Sheet2);
  return c;
}

const ControlDesc kTree[] = {
    Desc(T::Panel, ControlKind::Panel, T::Form, {10, 20, 200, 100}),
    Desc(T::Group, ControlKind::GroupBox, T::Panel, {5, 6, 150, 80}),
    Desc(T::Edit, ControlKind::Edit, T::Group, {7, 8, 50, 20}),
    Pages(),
    Desc(T::Sheet1, ControlKind::TabSheet, T::Pages),
    Desc(T::Sheet2, ControlKind::TabSheet, T::Pages),
    Desc(T::Inner, ControlKind::PageControl, T::Sheet2, {4, 4, 100, 80}),
    Desc(T::Sheet3, ControlKind::TabSheet, T::Inner),
};

const ControlDesc& Of(const FormDesc& f, T id) { return *FindControl(f, IdOf(id)); }

TEST(FormDescTest, TreeQueries) {
  FormDesc f{};
  f.name = "tree";
  f.controls = MakeTable(kTree);
  EXPECT_EQ(FormError(f), "");
  EXPECT_EQ(ContainerOf(f, Of(f, T::Edit)), &Of(f, T::Group));
  EXPECT_EQ(ContainerOf(f, Of(f, T::Group)), &Of(f, T::Panel));
  EXPECT_EQ(ContainerOf(f, Of(f, T::Panel)), nullptr);
  EXPECT_EQ(SheetIndex(f, Of(f, T::Sheet2)), 1);
  EXPECT_EQ(ContainerOf(f, Of(f, T::Sheet2)), nullptr);
  EXPECT_EQ(ContainerOf(f, Of(f, T::Sheet3)), &Of(f, T::Sheet2));
  EXPECT_EQ(SheetIndex(f, Of(f, T::Sheet3)), 0);
  EXPECT_EQ(SheetIndex(f, Of(f, T::Edit)), -1);
  EXPECT_EQ(InitialSheetIndex(f, Of(f, T::Pages)), 1);
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
      {"a parent that comes later", [](ControlDesc* c) { c[0].parent = IdOf(T::Group); }},
      {"a missing parent", [](ControlDesc* c) { c[2].parent = 99; }},
      {"a sheet outside a page control", [](ControlDesc* c) { c[4].parent = IdOf(T::Panel); }},
      {"an edit on a page control", [](ControlDesc* c) { c[5].kind = ControlKind::Edit; }},
      {"a control on an edit", [](ControlDesc* c) { c[1].kind = ControlKind::Edit; }},
      {"a doubled id", [](ControlDesc* c) { c[0].id = c[1].id = 1; }},
      {"a control without an id", [](ControlDesc* c) { c[6].id = kFormItself; }},
      {"a caption on a grid", [](ControlDesc* c) {
         c[2].kind = ControlKind::StringGrid;
         c[2].caption = "x";
       }},
      {"a caption on a hot-key box", [](ControlDesc* c) {
         c[2].kind = ControlKind::HotKey;
         c[2].caption = "x";
       }},
      {"a popup menu on an edit", [](ControlDesc* c) { c[2].popupMenu = true; }},
      {"a line height on an edit", [](ControlDesc* c) { c[2].itemHeight = 15; }},
      {"a glyph on an edit", [](ControlDesc* c) { c[2].glyph = ButtonGlyph::Check; }},
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
