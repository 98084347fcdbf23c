#include "ui/form_builder_win.h"

#include <commctrl.h>

#include <stdexcept>
#include <string>

#include "core/strconv_win.h"
#include "ui/glyph_icon_win.h"
#include "ui/string_grid_win.h"

namespace tabcard {
namespace {

using forms::Align;
using forms::Bevel;
using forms::ControlDesc;
using forms::ControlKind;
using forms::FormDesc;

constexpr wchar_t kContainerClass[] = L"TabcardContainer";

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

UINT BevelEdge(Bevel inner, Bevel outer) {
  UINT edge = 0;
  if (outer == Bevel::Raised) edge |= BDR_RAISEDOUTER;
  if (outer == Bevel::Lowered) edge |= BDR_SUNKENOUTER;
  if (inner == Bevel::Raised) edge |= BDR_RAISEDINNER;
  if (inner == Bevel::Lowered) edge |= BDR_SUNKENINNER;
  return edge;
}

constexpr wchar_t kFontProperty[] = L"TabcardFont";

// The etched frame of a group box, its caption over the frame's top line.
void PaintGroupFrame(HWND hwnd, HDC dc, const ControlDesc& desc) {
  RECT r{};
  GetClientRect(hwnd, &r);
  HGDIOBJ old = SelectObject(dc, GetPropW(hwnd, kFontProperty));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  RECT frame = r;
  frame.top += tm.tmHeight / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  const std::wstring caption = Widen(desc.caption ? desc.caption : "");
  if (!caption.empty()) {
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SetBkMode(dc, OPAQUE);
    RECT text{8, 0, r.right - 8, tm.tmHeight};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  }
  SelectObject(dc, old);
}

void PaintContainer(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  const auto* desc = reinterpret_cast<const ControlDesc*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (desc && desc->kind == ControlKind::GroupBox) PaintGroupFrame(hwnd, dc, *desc);
  if (desc && desc->kind == ControlKind::Panel) {
    RECT r{};
    GetClientRect(hwnd, &r);
    if (const UINT edge = BevelEdge(desc->bevelInner, desc->bevelOuter)) {
      DrawEdge(dc, &r, edge, BF_RECT);
    }
    if (desc->bordered) FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
  }
  EndPaint(hwnd, &ps);
}

// Sheets and panels hold no object of their own: what their children tell
// them goes on to the form, which handles it for every control alike. A
// context menu goes on with the clicked window, not the container, as its
// wParam.
LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CONTEXTMENU: {
      HWND root = GetAncestor(hwnd, GA_ROOT);
      if (root && root != hwnd) return SendMessageW(root, msg, wp, lp);
      break;
    }
    case WM_PAINT:
      PaintContainer(hwnd);
      return 0;
    case WM_SETFONT:
      SetPropW(hwnd, kFontProperty, reinterpret_cast<HANDLE>(wp));
      if (lp) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(GetPropW(hwnd, kFontProperty));
    case WM_NCDESTROY:
      RemovePropW(hwnd, kFontProperty);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void RegisterContainerClass() {
  static const bool done = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ContainerProc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kContainerClass;
    return RegisterClassExW(&wc) != 0;
  }();
  if (!done) throw std::runtime_error("cannot register the container class");
}

void InitCommonClasses() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof(icc),
                             ICC_TAB_CLASSES | ICC_STANDARD_CLASSES | ICC_HOTKEY_CLASS};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

// What a creator gets: where the control goes and with which font.
struct CreateArgs {
  const FormDesc& form;
  BuiltForm& built;
  BuiltControl& self;
  HWND parent;  // the form or the container window
  RECT rect;    // in the parent's client coordinates
  const DpiScale& scale;
  HFONT font;
  bool visible;
};

HWND CreateChild(const CreateArgs& a, const wchar_t* cls, DWORD style, DWORD exStyle = 0,
                 const wchar_t* text = nullptr, void* param = nullptr) {
  const std::wstring caption = text ? std::wstring(text) : Widen(a.self.desc->caption
                                                                      ? a.self.desc->caption
                                                                      : "");
  if (forms::StartsGroup(a.form, *a.self.desc)) style |= WS_GROUP;
  HWND h = CreateWindowExW(exStyle, cls, caption.c_str(),
                           WS_CHILD | WS_CLIPSIBLINGS | (a.visible ? WS_VISIBLE : 0) | style,
                           a.rect.left, a.rect.top, a.rect.right - a.rect.left,
                           a.rect.bottom - a.rect.top, a.parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(a.self.id)), Instance(),
                           param);
  if (!h) throw std::runtime_error("cannot create control " + std::to_string(a.self.id));
  // A grid makes its own font from a LOGFONT (CreateGrid).
  if (cls != kStringGridClass) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(a.font), FALSE);
  return h;
}

HWND CreatePageControl(const CreateArgs& a) {
  return CreateChild(a, WC_TABCONTROLW, WS_TABSTOP | TCS_FIXEDWIDTH, 0, L"");
}

// A sheet's tab goes into its page control; the sheet itself is a container
// over the display area, just above the page control so that it is drawn
// over it and comes right before it in the TAB order.
HWND CreateTabSheet(const CreateArgs& a) {
  const BuiltControl* pc = a.built.Find(a.self.desc->parent);
  std::wstring caption = Widen(a.self.desc->caption ? a.self.desc->caption : "");
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = caption.data();
  const int count = static_cast<int>(SendMessageW(pc->hwnd, TCM_GETITEMCOUNT, 0, 0));
  a.self.tabIndex = static_cast<int>(
      SendMessageW(pc->hwnd, TCM_INSERTITEMW, count, reinterpret_cast<LPARAM>(&item)));
  if (a.self.tabIndex < 0) throw std::runtime_error("cannot add a tab");
  // The width goes in once the first tab gives the height: later tabs then
  // fit at once instead of overflowing into scroll arrows at the default width.
  if (a.self.tabIndex == 0) SetTabWidth(pc->hwnd, a.scale.Px(pc->desc->tabWidth));
  RECT r{};
  GetWindowRect(pc->hwnd, &r);
  MapWindowPoints(nullptr, a.parent, reinterpret_cast<POINT*>(&r), 2);
  SendMessageW(pc->hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  CreateArgs placed = a;
  placed.rect = r;
  placed.visible = a.self.tabIndex == forms::InitialSheetIndex(a.form, *pc->desc);
  if (placed.visible) SendMessageW(pc->hwnd, TCM_SETCURSEL, static_cast<WPARAM>(a.self.tabIndex), 0);
  RegisterContainerClass();
  HWND h = CreateChild(placed, kContainerClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, L"");
  HWND above = GetWindow(pc->hwnd, GW_HWNDPREV);
  SetWindowPos(h, above && above != h ? above : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return h;
}

// Panels and group boxes: containers that draw their own frame. A group box
// of our own rather than BS_GROUPBOX, whose children would have to be its
// siblings, under a frame that does not paint its inside.
HWND CreateFramedContainer(const CreateArgs& a) {
  RegisterContainerClass();
  HWND h = CreateChild(a, kContainerClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
  SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(a.self.desc));
  InvalidateRect(h, nullptr, TRUE);
  return h;
}

HWND CreateLabel(const CreateArgs& a) { return CreateChild(a, L"STATIC", SS_LEFT); }

HWND CreateEdit(const CreateArgs& a) {
  const forms::EditDesc& e = a.self.desc->edit;
  DWORD style = WS_TABSTOP;
  if (e.multiLine) {
    style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
  }
  if (!e.multiLine || e.horzScroll) style |= ES_AUTOHSCROLL;
  if (e.vertScroll) style |= WS_VSCROLL;
  if (e.horzScroll) style |= WS_HSCROLL;
  // A byte limit is the form window's to keep (the control counts UTF-16 units).
  return CreateChild(a, L"EDIT", style, WS_EX_CLIENTEDGE);
}

HWND CreateComboBox(const CreateArgs& a) {
  return CreateChild(a, WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, L"");
}

HWND CreateListBox(const CreateArgs& a) {
  const int tabStop = a.self.desc->tabStop;
  HWND h = CreateChild(a, WC_LISTBOXW,
                       WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                           (tabStop > 0 ? LBS_USETABSTOPS : 0),
                       WS_EX_CLIENTEDGE, L"");
  if (const int lineHeight = a.self.desc->itemHeight) {
    SendMessageW(h, LB_SETITEMHEIGHT, 0, a.scale.Px(lineHeight));
  }
  if (tabStop > 0) SendMessageW(h, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
  return h;
}

HWND CreateCheckBox(const CreateArgs& a) {
  return CreateChild(a, L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX);
}

// The rule of forms::ControlKind::HotKey: a chord of fewer than two
// modifiers becomes the key with Ctrl+Alt.
HWND CreateHotKey(const CreateArgs& a) {
  HWND h = CreateChild(a, HOTKEY_CLASSW, WS_TABSTOP, WS_EX_CLIENTEDGE, L"");
  SendMessageW(h, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S | HKCOMB_C | HKCOMB_A,
               MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
  return h;
}

// Only the first of a group is a TAB stop; the arrows move within it.
HWND CreateRadioButton(const CreateArgs& a) {
  const bool first = forms::StartsGroup(a.form, *a.self.desc);
  return CreateChild(a, L"BUTTON", (first ? WS_TABSTOP : 0) | BS_AUTORADIOBUTTON);
}

// A push button with an image: comctl32 v6 draws it before the caption and
// keeps the theme, the default frame, the focus and the mnemonic. The icon it
// replaces goes.
void SetGlyph(const FormDesc& form, BuiltForm& built, const BuiltControl& button,
              const DpiScale& scale) {
  OwnedIcon icon = MakeGlyphIcon(button.desc->glyph, ControlLogFont(form, *button.desc, scale));
  if (!icon) return;
  const auto old = reinterpret_cast<HICON>(SendMessageW(
      button.hwnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.get())));
  for (OwnedIcon& kept : built.icons_) {
    if (old && kept.get() == old) {
      kept = std::move(icon);
      return;
    }
  }
  built.icons_.push_back(std::move(icon));
}

HWND CreateButton(const CreateArgs& a) {
  const DWORD kind = a.self.desc->isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  a.self.hwnd = CreateChild(a, L"BUTTON", WS_TABSTOP | kind);
  SetGlyph(a.form, a.built, a.self, a.scale);
  return a.self.hwnd;
}

HWND CreateImage(const CreateArgs& a) {
  HWND h = CreateChild(a, L"STATIC", SS_ICON | SS_REALSIZECONTROL, 0, L"");
  const int w = a.rect.right - a.rect.left, ht = a.rect.bottom - a.rect.top;
  HICON icon = static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(a.self.desc->icon),
                                             IMAGE_ICON, w, ht, LR_DEFAULTCOLOR));
  if (icon) {
    a.built.icons_.emplace_back(icon);
  } else {
    icon = LoadIconW(nullptr, IDI_APPLICATION);  // shared: never destroyed
  }
  SendMessageW(h, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  // SS_ICON sized the control to the icon; the design size wins.
  SetWindowPos(h, nullptr, a.rect.left, a.rect.top, w, ht, SWP_NOZORDER | SWP_NOACTIVATE);
  return h;
}

// Created where it will stay, with its geometry: each later change of size
// or geometry would lay out its scroll bars again.
HWND CreateGrid(const CreateArgs& a) {
  RegisterStringGridClass();
  const forms::GridDesc& g = a.self.desc->grid;
  GridCreateParams geometry{g.colCount, g.rowCount, a.scale.Px(g.defaultColWidth),
                            a.scale.Px(g.defaultRowHeight), a.scale.Px(g.gridLineWidth)};
  // The window text is the grid's accessible name.
  const std::wstring name = Widen(forms::AccessibleName(a.form, *a.self.desc));
  HWND h = CreateChild(a, kStringGridClass, WS_TABSTOP | (g.tabs ? SGS_TABS : 0) | (g.ownerKeys ? SGS_OWNERKEYS : 0),
                       a.self.desc->bordered ? WS_EX_CLIENTEDGE : 0, name.c_str(), &geometry);
  LOGFONTW lf = ControlLogFont(a.form, *a.self.desc, a.scale);
  StringGrid(h).SetLogFont(lf, false);
  return h;
}

HWND StartTimer(const CreateArgs& a) {
  if (!SetTimer(a.parent, static_cast<UINT_PTR>(a.self.id),
                static_cast<UINT>(a.self.desc->interval), nullptr)) {
    throw std::runtime_error("cannot start a timer");
  }
  return nullptr;
}

using Creator = HWND (*)(const CreateArgs&);
struct KindCreator {
  ControlKind kind;
  Creator create;
};
const KindCreator kCreators[] = {
    {ControlKind::PageControl, CreatePageControl}, {ControlKind::TabSheet, CreateTabSheet},
    {ControlKind::Panel, CreateFramedContainer},   {ControlKind::GroupBox, CreateFramedContainer},
    {ControlKind::Label, CreateLabel},             {ControlKind::Edit, CreateEdit},
    {ControlKind::Button, CreateButton},           {ControlKind::Image, CreateImage},
    {ControlKind::StringGrid, CreateGrid},         {ControlKind::Timer, StartTimer},
    {ControlKind::ComboBox, CreateComboBox},       {ControlKind::ListBox, CreateListBox},
    {ControlKind::CheckBox, CreateCheckBox},       {ControlKind::RadioButton, CreateRadioButton},
    {ControlKind::HotKey, CreateHotKey},
};

Creator CreatorOf(ControlKind kind) {
  for (const KindCreator& k : kCreators) {
    if (k.kind == kind) return k.create;
  }
  throw std::runtime_error("no creator for a control kind");
}

HWND ParentWindow(const FormDesc& form, const BuiltForm& built, const ControlDesc& c,
                  HWND window) {
  const ControlDesc* container = forms::ContainerOf(form, c);
  const BuiltControl* b = container ? built.Find(container->id) : nullptr;
  return b && b->hwnd ? b->hwnd : window;
}

// Lines a drop-down list shows before it scrolls.
constexpr int kDropDownLines = 8;

// A combo box's window height includes its dropped-down list; the bounds
// give the closed box.
RECT ScaledPlace(const ControlDesc& c, const DpiScale& scale) {
  const forms::Bounds& b = c.bounds;
  const int drop = c.kind == ControlKind::ComboBox ? kDropDownLines * b.height : 0;
  return RECT{scale.Px(b.left), scale.Px(b.top), scale.Px(b.left + b.width),
              scale.Px(b.top + b.height + drop)};
}

// The client area of the window a control aligned to fill its parent fills.
RECT ParentClient(HWND parent) {
  RECT r{};
  GetClientRect(parent, &r);
  return r;
}

bool SameFont(const LOGFONTW& a, const LOGFONTW& b) {
  return a.lfHeight == b.lfHeight && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
         a.lfCharSet == b.lfCharSet && lstrcmpW(a.lfFaceName, b.lfFaceName) == 0;
}

HFONT FontFor(const FormDesc& form, BuiltForm& built, const ControlDesc& c,
              const DpiScale& scale) {
  const LOGFONTW own = ControlLogFont(form, c, scale);
  if (SameFont(own, FormLogFont(form, scale))) return built.font();
  built.ownFonts_.emplace_back(CreateFontIndirectW(&own));
  return built.ownFonts_.back().get();
}

}  // namespace

const BuiltControl* BuiltForm::Find(int id) const {
  for (const BuiltControl& c : controls) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

const BuiltControl* BuiltForm::FindByWindow(HWND hwnd) const {
  if (!hwnd) return nullptr;
  for (const BuiltControl& c : controls) {
    if (c.hwnd == hwnd) return &c;
  }
  return nullptr;
}

DWORD FormStyle(const FormDesc& form) {
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
  if (form.borderStyle == forms::BorderStyle::Sizeable) style |= WS_THICKFRAME;
  if (form.borderIcons.systemMenu) style |= WS_SYSMENU;
  if (form.borderIcons.minimize) style |= WS_MINIMIZEBOX;
  if (form.borderIcons.maximize) style |= WS_MAXIMIZEBOX;
  return style;
}

DWORD FormExStyle(const FormDesc& form) {
  DWORD ex = WS_EX_CONTROLPARENT;
  if (form.borderStyle == forms::BorderStyle::Dialog) ex |= WS_EX_DLGMODALFRAME;
  if (form.borderStyle == forms::BorderStyle::ToolWindow) ex |= WS_EX_TOOLWINDOW;
  if (form.stayOnTop) ex |= WS_EX_TOPMOST;
  return ex;
}

LOGFONTW FormLogFont(const FormDesc& form, const DpiScale& scale) {
  return ControlLogFont(form, ControlDesc{}, scale);
}

LOGFONTW ControlLogFont(const FormDesc& form, const ControlDesc& c, const DpiScale& scale) {
  const forms::FontDesc& f = c.font;
  LOGFONTW lf{};
  lf.lfHeight = scale.Px(f.height ? f.height : form.font.height);
  lf.lfCharSet = static_cast<BYTE>(f.name ? f.charset : form.font.charset);
  lf.lfWeight = (f.bold || form.font.bold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (f.italic || form.font.italic) ? TRUE : FALSE;
  const char* name = f.name ? f.name : form.font.name;
  const std::wstring face = Widen(name ? name : "");
  lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  return lf;
}

BuiltForm BuildControls(const FormDesc& form, HWND window, const DpiScale& scale) {
  const std::string error = forms::FormError(form);
  if (!error.empty()) throw std::runtime_error("form " + std::string(form.name) + ": " + error);
  InitCommonClasses();
  BuiltForm built;
  const LOGFONTW lf = FormLogFont(form, scale);
  built.font_.Reset(CreateFontIndirectW(&lf));
  built.controls.reserve(form.controls.size);
  for (const ControlDesc& c : form.controls) {
    built.controls.push_back(BuiltControl{&c, nullptr, c.id});
  }
  // Table order: a parent always comes before its children.
  for (BuiltControl& b : built.controls) {
    const ControlDesc& c = *b.desc;
    HWND parent = ParentWindow(form, built, c, window);
    RECT rect = c.align == Align::Client ? ParentClient(parent) : ScaledPlace(c, scale);
    const CreateArgs args{form, built, b, parent, rect, scale, FontFor(form, built, c, scale),
                          true};
    b.hwnd = CreatorOf(c.kind)(args);
  }
  return built;
}

void RescaleControls(const FormDesc& form, BuiltForm& built, const DpiScale& scale) {
  const LOGFONTW lf = FormLogFont(form, scale);
  Font font(CreateFontIndirectW(&lf));
  std::vector<Font> ownFonts;
  for (const BuiltControl& c : built.controls) {
    if (!c.hwnd || c.desc->kind == ControlKind::TabSheet) continue;
    const LOGFONTW own = ControlLogFont(form, *c.desc, scale);
    HFONT f = font.get();
    if (!SameFont(own, lf) && c.desc->kind != ControlKind::StringGrid) {
      ownFonts.emplace_back(CreateFontIndirectW(&own));
      f = ownFonts.back().get();
    }
    // A grid's font is its owner's to set (the palette's come from the page
    // configurations), at the new scale too.
    if (c.desc->kind != ControlKind::StringGrid) {
      SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
    }
    if (c.desc->kind == ControlKind::PageControl) SetTabWidth(c.hwnd, scale.Px(c.desc->tabWidth));
    if (c.desc->kind == ControlKind::Button) SetGlyph(form, built, c, scale);
    // After the font, which sets a list box's line height from itself.
    if (c.desc->kind == ControlKind::ListBox && c.desc->itemHeight) {
      SendMessageW(c.hwnd, LB_SETITEMHEIGHT, 0, scale.Px(c.desc->itemHeight));
    }
    if (c.desc->align != Align::Client) {
      const RECT r = ScaledPlace(*c.desc, scale);
      SetWindowPos(c.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  // The old fonts go only once no control uses them any more.
  built.font_ = std::move(font);
  built.ownFonts_ = std::move(ownFonts);
}

void LayoutControls(const BuiltForm& built, HWND window) {
  // Parents first: the table lists a container before its content.
  for (const BuiltControl& c : built.controls) {
    if (!c.hwnd || c.desc->align != Align::Client) continue;
    HWND parent = GetParent(c.hwnd);
    RECT r = ParentClient(parent ? parent : window);
    if (c.desc->kind == ControlKind::TabSheet) {
      const BuiltControl* pc = built.Find(c.desc->parent);
      if (!pc || !pc->hwnd) continue;
      GetWindowRect(pc->hwnd, &r);
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
      SendMessageW(pc->hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    }
    // Moving a window to where it is still costs the window system a round
    // trip per call; a resize also relays out a grid's scroll bars.
    RECT now{};
    GetWindowRect(c.hwnd, &now);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&now), 2);
    if (EqualRect(&now, &r)) continue;
    SetWindowPos(c.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

int ActiveTab(const BuiltForm& built, int pageControl) {
  const BuiltControl* pc = built.Find(pageControl);
  if (!pc || !pc->hwnd) return -1;
  return static_cast<int>(SendMessageW(pc->hwnd, TCM_GETCURSEL, 0, 0));
}

void ShowSheet(const BuiltForm& built, int pageControl, int tabIndex) {
  const BuiltControl* pc = built.Find(pageControl);
  if (!pc || !pc->hwnd) return;
  SendMessageW(pc->hwnd, TCM_SETCURSEL, static_cast<WPARAM>(tabIndex), 0);
  for (const BuiltControl& c : built.controls) {
    if (c.desc->kind != ControlKind::TabSheet || c.desc->parent != pageControl) continue;
    ShowWindow(c.hwnd, c.tabIndex == tabIndex ? SW_SHOWNA : SW_HIDE);
  }
}

void SetTabWidth(HWND pageControl, int width) {
  RECT item{};
  int height = 0;
  if (SendMessageW(pageControl, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item))) {
    height = item.bottom - item.top;
  }
  SendMessageW(pageControl, TCM_SETITEMSIZE, 0, MAKELPARAM(width, height));
}

}  // namespace tabcard
