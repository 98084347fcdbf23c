// Form descriptions as data: a window's caption, frame, font and design size,
// and its controls with their design values. Each form names its controls
// in an enum of ids (main_form.h, ...), so a misspelt name does not compile.
// Sizes are pixels at 96 DPI; the builder scales them. Texts are CP932.
// The tree queries here are what the builder and the windows share, so
// they are tested without a window.
#pragma once

#include <cstddef>
#include <string>
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

enum class ControlKind {
  PageControl,  // a tab control; its sheets follow it in the table
  TabSheet,     // a container window over the page control's display area
  Panel,        // a container window with bevels
  GroupBox,     // a container window with an etched frame and a caption
  Label,
  Edit,
  Button,
  Image,  // the program's icon, stretched to the bounds
  StringGrid,
  Timer,
  ComboBox,  // a drop-down list: picking only, no typing
  ListBox,   // single selection, in the order given (not sorted)
  CheckBox,  // two states, toggled by a click
  // One choice of a radio group: the radio buttons that follow each other in
  // a group box are one group, in which the arrows move and exactly one is
  // chosen; the control after the last of them starts a new group.
  RadioButton,
  // The standard hot-key box: shows the chord pressed in it. It takes a
  // chord of two or more of Ctrl, Alt and Shift; with one or none it makes
  // the key Ctrl+Alt's, since a global chord of Ctrl, Alt or Shift alone
  // would take a shortcut or a mnemonic from every other program.
  HotKey,
};

// Client: the control fills its parent's client area (for a tab sheet: the
// page control's display area).
enum class Align { None, Client };

// ToolWindow: a fixed frame with the small caption and only the close box.
enum class BorderStyle { Sizeable, Dialog, ToolWindow };

// Where the window opens: where the program puts it, or centred on the
// monitor of its owner.
enum class Position { Designed, OwnerMonitorCenter };

enum class Bevel { None, Raised, Lowered };

// What a button's click ends a modal run with (the Win32 IDOK and IDCANCEL).
inline constexpr int kModalNone = 0;
inline constexpr int kModalOk = 1;
inline constexpr int kModalCancel = 2;

enum class Event {
  Show,
  Resize,
  Close,
  Change,
  Click,
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

inline constexpr int kNoColor = -1;

// A small picture beside a button's caption, drawn for the window's DPI.
enum class ButtonGlyph { None, Check, Cross, Question };

struct FontDesc {
  const char* name = nullptr;  // nullptr: the form's
  int height = 0;  // LOGFONT height at 96 DPI; negative: character height; 0: the form's
  int charset = 0;
  bool bold = false;
  bool italic = false;
  int color = kNoColor;  // 0x00BBGGRR
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
  bool tabs = false;  // TAB and Shift+TAB move between the cells
  // Enter and Ctrl+TAB reach the grid's owner (SGN_KEYDOWN) rather than
  // the dialog manager's default button and focus moves.
  bool ownerKeys = false;
};
bool operator==(const GridDesc& a, const GridDesc& b);

// What an edit box does to the input method when it gets the focus.
enum class ImeMode {
  AsIs,       // leaves it alone
  Hiragana,   // opens it, full-width hiragana
  HalfWidth,  // opens it, half-width alphanumerics
};

struct EditDesc {
  bool multiLine = false;
  bool vertScroll = false;
  bool horzScroll = false;
  int maxLength = 0;  // CP932 bytes (what is stored); 0: no limit of ours
  ImeMode ime = ImeMode::AsIs;
};
bool operator==(const EditDesc& a, const EditDesc& b);

// The id of the form itself, where an id names a control or the form.
inline constexpr int kFormItself = 0;

// A form's enum of control ids as the int the window system uses.
template <class Id>
constexpr int IdOf(Id id) {
  return static_cast<int>(id);
}

struct ControlDesc {
  int id = kFormItself;  // the window's control id (or the timer's), from the form's enum
  ControlKind kind = ControlKind::PageControl;
  int parent = kFormItself;
  const char* caption = nullptr;
  Align align = Align::None;
  Bounds bounds{};  // relative to the parent
  FontDesc font{};  // unset fields: the form's font
  // Page control: fixed tab width and the sheet active at creation.
  int tabWidth = 0;
  int activePage = kFormItself;
  GridDesc grid{};
  // Grid or page control: its right click opens a popup menu (the window
  // builds the menu and handles its commands).
  bool popupMenu = false;
  int interval = 0;  // timer, milliseconds
  EditDesc edit{};
  // Button: Enter presses the default one; a click ends a modal run with
  // modalResult when it is not kModalNone; a glyph goes before the caption.
  bool isDefault = false;
  int modalResult = kModalNone;
  ButtonGlyph glyph = ButtonGlyph::None;
  // Panel; a bordered panel or grid has a frame line.
  Bevel bevelInner = Bevel::None;
  Bevel bevelOuter = Bevel::None;
  bool bordered = false;
  int icon = 0;  // image: resource id
  int itemHeight = 0;  // list box: pixels per line; 0: the font's
  int tabStop = 0;     // list box: where a tab in a line goes, in dialog units
};

struct FormDesc {
  const char* className = nullptr;  // the form class, also the window class
  const char* name = nullptr;
  const char* caption = nullptr;
  BorderStyle borderStyle = BorderStyle::Sizeable;
  BorderIcons borderIcons{};
  bool stayOnTop = false;
  Bounds bounds{};  // the outer window size, or the client size with clientSize
  bool clientSize = false;
  Position position = Position::Designed;
  FontDesc font{};
  Table<ControlDesc> controls{};
};

// A control named by an enumerator of its form: kind, parent, caption,
// design bounds and font; every other field as ControlDesc starts it.
template <class Id>
constexpr ControlDesc MakeControl(Id id, ControlKind kind, Id parent, const char* caption,
                                  Bounds bounds, FontDesc font = {}) {
  ControlDesc c{};
  c.id = IdOf(id);
  c.kind = kind;
  c.parent = IdOf(parent);
  c.caption = caption;
  c.bounds = bounds;
  c.font = font;
  return c;
}

// The frame every dialog shares: a close box only, sized by its client area,
// centred on its owner's monitor.
FormDesc DialogFrame(const char* className, const char* name, const char* caption,
                     BorderStyle border, int clientWidth, int clientHeight, FontDesc font);

// Where the forms' enums start their controls' ids: clear of IDOK and
// IDCANCEL, which the dialogs' OK and Cancel buttons take.
inline constexpr int kFirstControlId = 1000;
const ControlDesc* FindControl(const FormDesc& form, int id);

// Kinds that get a window of their own holding their children.
bool IsContainer(ControlKind kind);
// The nearest ancestor that is a container; nullptr for the form. A sheet's
// is its page control's, so a page control on a sheet keeps its sheets there.
const ControlDesc* ContainerOf(const FormDesc& form, const ControlDesc& c);
// What a screen reader calls a control that has no caption of its own (a
// grid): the caption of the tab sheet or group box it lies in, else "".
const char* AccessibleName(const FormDesc& form, const ControlDesc& c);
// Bounds are relative to the container: there is no other kind of parent.
// A sheet's tab position among its page control's sheets; -1 otherwise.
int SheetIndex(const FormDesc& form, const ControlDesc& sheet);
// The tab position a page control opens on.
int InitialSheetIndex(const FormDesc& form, const ControlDesc& pageControl);
// Whether the control starts a group for the arrow keys: the first radio
// button of a run in its container, and the control right after the run.
bool StartsGroup(const FormDesc& form, const ControlDesc& c);
// The default button's id, 0 without one.
int DefaultButtonId(const FormDesc& form);

// Why the builder cannot build the form: a field its kind does not use, a
// parent that is missing or comes later in the table, a sheet outside a
// page control, a missing or doubled id. Empty when it can.
std::string FormError(const FormDesc& form);

}  // namespace tabcard::forms
