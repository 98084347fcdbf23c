// A form's events as values, and their dispatch to the form class's
// handlers through a table the compiler checks: each row names a control
// by its enumerator and a handler by its member, so neither can be misspelt.
#pragma once

#include <cstddef>

#include "forms/form.h"
#include "forms/input.h"

namespace tabcard::forms {

struct FormEvent {
  int control = kFormItself;  // the control's id, or kFormItself
  Event event = Event::Show;
  // Mouse events: the button, the point in the control's client area and,
  // on a grid, the cell under it (kNoCell off the cells).
  MouseButton button = MouseButton::None;
  int x = 0;
  int y = 0;
  GridCell cell = kNoCell;
  // Close: set to false to refuse it. Click: set to false to keep a modal
  // form open although the button has a modal result.
  bool* accept = nullptr;

  template <class Id>
  bool Is(Id id) const {
    return control == IdOf(id);
  }
  void Refuse() const {
    if (accept) *accept = false;
  }
};

template <class Owner, class Id>
struct Handler {
  Id control;
  Event event;
  void (Owner::*run)(const FormEvent&);
};

// Runs the handler of (control, event); false when the table has none.
template <class Owner, class Id, std::size_t N>
bool Dispatch(Owner& owner, const Handler<Owner, Id> (&handlers)[N], const FormEvent& e) {
  for (const Handler<Owner, Id>& h : handlers) {
    if (IdOf(h.control) == e.control && h.event == e.event) {
      (owner.*h.run)(e);
      return true;
    }
  }
  return false;
}

}  // namespace tabcard::forms
