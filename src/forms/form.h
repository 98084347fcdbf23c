// Form descriptions as data: a window's caption, frame, font and design size,
// its controls with their design values, and which handler each event runs.
// Sizes are pixels at 96 DPI; the builder scales them. Texts are CP932.
#pragma once

#include <cstddef>
#include <string_view>

namespace tabcard::forms {

template <class T>
struct Table {
  const T* data = nullptr;
  std::size_t size = 0;
  const T* begin() const { return data; }
  const T* end() const { return data + size; }
};

template <class T, std::size_t N>
constexpr Table<T> MakeTable(const T (&items)[N]) {
  return Table<T>{items, N};
}

enum class ControlKind { PageControl, TabSheet, StringGrid, Timer };

// Client: the control fills its parent's client area (for a tab sheet's
// content: the page control's display area).
enum class Align { None, Client };

enum class BorderStyle { Sizeable, Dialog };

enum class Event {
  Create,
  Show,
  Activate,
  Resize,
  Close,
  Change,
  Timer,
  MouseDown,
  MouseMove,
  MouseUp,
  DblClick,
};

struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct FontDesc {
  const char* name = nullptr;
  int height = 0;  // LOGFONT height at 96 DPI; negative: character height
  int charset = 0;
};

inline constexpr int kShiftJisCharset = 128;

struct BorderIcons {
  bool systemMenu = true;
  bool minimize = true;
  bool maximize = true;
};

struct GridDesc {
  int colCount = 5;
  int rowCount = 5;
  int defaultColWidth = 64;
  int defaultRowHeight = 24;
  int gridLineWidth = 1;
  int fixedCols = 0;
  int fixedRows = 0;
  bool vertLines = true;
  bool horzLines = true;
  bool rangeSelect = false;
  bool editing = false;
};

struct ControlDesc {
  const char* name = nullptr;
  ControlKind kind = ControlKind::PageControl;
  const char* parent = nullptr;  // nullptr: the form itself
  const char* caption = nullptr;
  Align align = Align::None;
  Bounds bounds{};
  // Page control: fixed tab width and the sheet active at creation.
  int tabWidth = 0;
  const char* activePage = nullptr;
  GridDesc grid{};
  const char* popupMenu = nullptr;
  int interval = 0;  // timer, milliseconds
};

// control nullptr: an event of the form itself.
struct Binding {
  const char* control = nullptr;
  Event event = Event::Create;
  const char* handler = nullptr;
};

struct FormDesc {
  const char* className = nullptr;  // the form class, also the window class
  const char* name = nullptr;
  const char* caption = nullptr;
  BorderStyle borderStyle = BorderStyle::Sizeable;
  BorderIcons borderIcons{};
  bool stayOnTop = false;
  Bounds bounds{};  // outer window size; position chosen at run time
  FontDesc font{};
  Table<ControlDesc> controls{};
  Table<Binding> bindings{};
};

const ControlDesc* FindControl(const FormDesc& form, std::string_view name);
// The id a control's window (or timer) gets: kFirstControlId + its index in
// the table; -1 for no such control. Tests of the running program find the
// controls by it.
inline constexpr int kFirstControlId = 1000;
int ControlId(const FormDesc& form, std::string_view name);
// Controls whose parent is `parent` (nullptr: the form), in table order.
std::size_t CountChildren(const FormDesc& form, const char* parent);
// The handler bound to an event, or nullptr.
const char* BoundHandler(const FormDesc& form, const char* control, Event event);

}  // namespace tabcard::forms
