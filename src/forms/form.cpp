#include "forms/form.h"

#include <set>

namespace tabcard::forms {
namespace {

std::size_t IndexOf(const FormDesc& form, const ControlDesc& c) {
  return static_cast<std::size_t>(&c - form.controls.begin());
}

const ControlDesc* ParentOf(const FormDesc& form, const ControlDesc& c) {
  return c.parent != kFormItself ? FindControl(form, c.parent) : nullptr;
}

// The first field that is set although the control's kind does not use it.
const char* UnusedField(const ControlDesc& c) {
  using K = ControlKind;
  const K k = c.kind;
  if ((c.tabWidth || c.activePage != kFormItself) && k != K::PageControl) return "tabWidth/activePage";
  if (!(c.grid == GridDesc{}) && k != K::StringGrid) return "grid";
  if (c.popupMenu && k != K::StringGrid && k != K::PageControl) return "popupMenu";
  if (c.interval && k != K::Timer) return "interval";
  if (!(c.edit == EditDesc{}) && k != K::Edit) return "edit";
  if ((c.isDefault || c.modalResult || c.glyph != ButtonGlyph::None) && k != K::Button) {
    return "isDefault/modalResult/glyph";
  }
  if ((c.bevelInner != Bevel::None || c.bevelOuter != Bevel::None) && k != K::Panel) {
    return "bevel";
  }
  if (c.bordered && k != K::Panel && k != K::StringGrid) return "bordered";
  if (c.icon && k != K::Image) return "icon";
  if (c.itemHeight && k != K::ListBox) return "itemHeight";
  if (c.caption && (k == K::Timer || k == K::StringGrid || k == K::Image || k == K::HotKey)) {
    return "caption";
  }
  if (c.align == Align::Client && !(k == K::PageControl || k == K::TabSheet || k == K::Panel ||
                                    k == K::StringGrid || k == K::Edit)) {
    return "align";
  }
  if ((c.font.name || c.font.height || c.font.bold || c.font.italic ||
       c.font.color != kNoColor) &&
      k == K::Timer) {
    return "font";
  }
  return nullptr;
}

std::string Named(const ControlDesc& c) { return "control " + std::to_string(c.id); }

std::string ParentError(const FormDesc& form, const ControlDesc& c) {
  const ControlDesc* parent = ParentOf(form, c);
  if (c.parent != kFormItself && (!parent || IndexOf(form, *parent) >= IndexOf(form, c))) {
    return "the parent of " + Named(c) + " must come before it";
  }
  const bool onPageControl = parent && parent->kind == ControlKind::PageControl;
  if ((c.kind == ControlKind::TabSheet) != onPageControl) {
    return Named(c) + ": tab sheets, and only they, lie on a page control";
  }
  if (parent && !IsContainer(parent->kind) && !onPageControl) {
    return Named(c) + " cannot lie on " + Named(*parent);
  }
  // The group box is what makes the choices one group.
  if (c.kind == ControlKind::RadioButton && !(parent && parent->kind == ControlKind::GroupBox)) {
    return Named(c) + ": a radio button lies in a group box";
  }
  return {};
}

}  // namespace

bool operator==(const GridDesc& a, const GridDesc& b) {
  return a.colCount == b.colCount && a.rowCount == b.rowCount &&
         a.defaultColWidth == b.defaultColWidth && a.defaultRowHeight == b.defaultRowHeight &&
         a.gridLineWidth == b.gridLineWidth && a.fixedCols == b.fixedCols &&
         a.fixedRows == b.fixedRows && a.vertLines == b.vertLines && a.horzLines == b.horzLines &&
         a.rangeSelect == b.rangeSelect && a.editing == b.editing && a.tabs == b.tabs &&
         a.ownerKeys == b.ownerKeys;
}

bool operator==(const EditDesc& a, const EditDesc& b) {
  return a.multiLine == b.multiLine && a.vertScroll == b.vertScroll &&
         a.horzScroll == b.horzScroll && a.maxLength == b.maxLength && a.ime == b.ime;
}

const ControlDesc* FindControl(const FormDesc& form, int id) {
  if (id == kFormItself) return nullptr;
  for (const ControlDesc& c : form.controls) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

bool IsContainer(ControlKind kind) {
  return kind == ControlKind::TabSheet || kind == ControlKind::Panel ||
         kind == ControlKind::GroupBox;
}

const ControlDesc* ContainerOf(const FormDesc& form, const ControlDesc& c) {
  const ControlDesc* p = ParentOf(form, c);
  // A sheet lies over its page control, in the page control's container.
  if (p && p->kind == ControlKind::PageControl) return ContainerOf(form, *p);
  return p && IsContainer(p->kind) ? p : nullptr;
}

const char* AccessibleName(const FormDesc& form, const ControlDesc& c) {
  for (const ControlDesc* p = ParentOf(form, c); p; p = ParentOf(form, *p)) {
    if ((p->kind == ControlKind::TabSheet || p->kind == ControlKind::GroupBox) && p->caption) {
      return p->caption;
    }
  }
  return "";
}

int SheetIndex(const FormDesc& form, const ControlDesc& sheet) {
  if (sheet.kind != ControlKind::TabSheet) return -1;
  int index = 0;
  for (const ControlDesc& c : form.controls) {
    if (&c == &sheet) return index;
    if (c.kind == ControlKind::TabSheet && c.parent == sheet.parent) ++index;
  }
  return -1;
}

int InitialSheetIndex(const FormDesc& form, const ControlDesc& pageControl) {
  const ControlDesc* sheet = FindControl(form, pageControl.activePage);
  const int index = sheet && sheet->parent == pageControl.id ? SheetIndex(form, *sheet) : -1;
  return index < 0 ? 0 : index;
}

bool StartsGroup(const FormDesc& form, const ControlDesc& c) {
  const ControlDesc* previous = nullptr;
  for (const ControlDesc& other : form.controls) {
    if (&other == &c) break;
    if (other.parent == c.parent) previous = &other;
  }
  const bool radio = c.kind == ControlKind::RadioButton;
  const bool afterRadio = previous && previous->kind == ControlKind::RadioButton;
  return radio != afterRadio;
}

int DefaultButtonId(const FormDesc& form) {
  for (const ControlDesc& c : form.controls) {
    if (c.kind == ControlKind::Button && c.isDefault) return c.id;
  }
  return 0;
}

std::string FormError(const FormDesc& form) {
  std::set<int> ids;
  for (const ControlDesc& c : form.controls) {
    if (c.id == kFormItself) return "a control without an id";
    if (!ids.insert(c.id).second) return Named(c) + ": its id is taken";
    if (const char* field = UnusedField(c)) {
      return Named(c) + ": " + field + " is not built for this kind";
    }
    std::string parentError = ParentError(form, c);
    if (!parentError.empty()) return parentError;
    if (c.kind == ControlKind::Timer && c.interval <= 0) return Named(c) + ": no interval";
  }
  return {};
}

FormDesc DialogFrame(const char* className, const char* name, const char* caption,
                     BorderStyle border, int clientWidth, int clientHeight, FontDesc font) {
  FormDesc f{};
  f.className = className;
  f.name = name;
  f.caption = caption;
  f.borderStyle = border;
  f.borderIcons = BorderIcons{true, false, false};
  f.bounds = Bounds{0, 0, clientWidth, clientHeight};
  f.clientSize = true;
  f.position = Position::OwnerMonitorCenter;
  f.font = font;
  return f;
}

}  // namespace tabcard::forms
