#include "forms/form.h"

namespace tabcard::forms {
namespace {

bool SameName(const char* a, const char* b) {
  if (!a || !b) return a == b;
  return std::string_view(a) == std::string_view(b);
}

}  // namespace

const ControlDesc* FindControl(const FormDesc& form, std::string_view name) {
  for (const ControlDesc& c : form.controls) {
    if (c.name && name == c.name) return &c;
  }
  return nullptr;
}

int ControlId(const FormDesc& form, std::string_view name) {
  int id = kFirstControlId;
  for (const ControlDesc& c : form.controls) {
    if (c.name && name == c.name) return id;
    ++id;
  }
  return -1;
}

std::size_t CountChildren(const FormDesc& form, const char* parent) {
  std::size_t n = 0;
  for (const ControlDesc& c : form.controls) {
    if (SameName(c.parent, parent)) ++n;
  }
  return n;
}

const char* BoundHandler(const FormDesc& form, const char* control, Event event) {
  for (const Binding& b : form.bindings) {
    if (b.event == event && SameName(b.control, control)) return b.handler;
  }
  return nullptr;
}

}  // namespace tabcard::forms
