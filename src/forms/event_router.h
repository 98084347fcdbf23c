// Connects a form's bindings to the handler methods of its class: the form
// table names a handler per event, the class lists its handlers by name, and
// the router resolves every binding once, refusing a name it does not know.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "forms/form.h"

namespace tabcard::forms {

enum class MouseButton { None, Left, Right, Middle };

struct EventArgs {
  const char* sender = nullptr;  // control name; nullptr for the form
  MouseButton button = MouseButton::None;
  int x = 0;
  int y = 0;
  // Close: set to false to refuse it. Click: set to false to keep a modal
  // form open although the button has a modal result.
  bool* accept = nullptr;
};

template <class Owner>
class EventRouter {
 public:
  using Handler = void (Owner::*)(const EventArgs&);
  struct NamedHandler {
    const char* name;
    Handler handler;
  };

  EventRouter(const FormDesc& form, Table<NamedHandler> handlers) {
    for (const Binding& b : form.bindings) {
      Handler h = Lookup(handlers, b.handler);
      if (!h) throw std::logic_error(std::string("no handler ") + (b.handler ? b.handler : ""));
      routes_.push_back(Route{b.control, b.event, h});
    }
  }

  // Runs the handler bound to (control, event); false when none is bound.
  bool Fire(Owner& owner, const char* control, Event event, EventArgs args = {}) const {
    for (const Route& r : routes_) {
      if (r.event == event && Same(r.control, control)) {
        args.sender = r.control;
        (owner.*r.handler)(args);
        return true;
      }
    }
    return false;
  }

 private:
  struct Route {
    const char* control;
    Event event;
    Handler handler;
  };

  static bool Same(const char* a, const char* b) {
    if (!a || !b) return a == b;
    return std::string_view(a) == b;
  }

  static Handler Lookup(Table<NamedHandler> handlers, const char* name) {
    if (!name) return nullptr;
    for (const NamedHandler& n : handlers) {
      if (std::string_view(n.name) == name) return n.handler;
    }
    return nullptr;
  }

  std::vector<Route> routes_;
};

}  // namespace tabcard::forms
