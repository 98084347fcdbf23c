#include "ui/form_events.h"

namespace tabcard {
namespace {

using forms::ControlKind;
using forms::Event;

template <class Code>
struct Mapping {
  ControlKind kind;
  Code code;
  Event event;
};

template <class Code, std::size_t N>
std::optional<Event> Find(const Mapping<Code> (&table)[N], ControlKind kind, Code code) {
  for (const Mapping<Code>& m : table) {
    if (m.kind == kind && m.code == code) return m.event;
  }
  return std::nullopt;
}

// A push button's click is its own event, handled with its modal result.
const Mapping<int> kCommands[] = {
    {ControlKind::Button, notify::kButtonClicked, Event::Click},
    {ControlKind::CheckBox, notify::kButtonClicked, Event::Click},
    {ControlKind::RadioButton, notify::kButtonClicked, Event::Click},
    {ControlKind::Edit, notify::kEditChange, Event::Change},
    {ControlKind::ComboBox, notify::kComboSelChange, Event::Change},
    {ControlKind::ListBox, notify::kListSelChange, Event::Change},
    {ControlKind::ListBox, notify::kListDblClick, Event::DblClick},
};

// The user moved a grid's current cell, with the mouse or a key: Change.
const Mapping<unsigned> kNotifications[] = {
    {ControlKind::PageControl, notify::kTabSelChange, Event::Change},
    {ControlKind::StringGrid, notify::kGridSelChange, Event::Change},
    {ControlKind::StringGrid, notify::kGridMouseDown, Event::MouseDown},
    {ControlKind::StringGrid, notify::kGridMouseMove, Event::MouseMove},
    {ControlKind::StringGrid, notify::kGridMouseUp, Event::MouseUp},
    {ControlKind::StringGrid, notify::kGridDblClick, Event::DblClick},
};

}  // namespace

std::optional<Event> CommandEvent(ControlKind kind, int code) {
  return Find(kCommands, kind, code);
}

std::optional<Event> NotifyEvent(ControlKind kind, unsigned code) {
  return Find(kNotifications, kind, code);
}

}  // namespace tabcard
