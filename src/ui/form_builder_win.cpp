#include "ui/form_builder_win.h"

#include <commctrl.h>

#include <stdexcept>
#include <string>

#include "core/strconv_win.h"
#include "ui/string_grid_win.h"

namespace tabcard {
namespace {

using forms::Align;
using forms::ControlDesc;
using forms::ControlKind;
using forms::FormDesc;

bool SameName(const char* a, std::string_view b) { return a && b == a; }

void InitTabClass() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

HWND CreatePageControl(HWND window, int id, const RECT& r, HFONT font) {
  InitTabClass();
  HWND h = CreateWindowExW(0, WC_TABCONTROLW, L"",
                           WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | TCS_FIXEDWIDTH,
                           r.left, r.top, r.right - r.left, r.bottom - r.top, window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  if (!h) throw std::runtime_error("cannot create the page control");
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return h;
}

int AddTab(HWND pageControl, const ControlDesc& sheet) {
  std::wstring caption = Widen(sheet.caption ? sheet.caption : "");
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = caption.data();
  const int count = static_cast<int>(SendMessageW(pageControl, TCM_GETITEMCOUNT, 0, 0));
  const int index = static_cast<int>(
      SendMessageW(pageControl, TCM_INSERTITEMW, count, reinterpret_cast<LPARAM>(&item)));
  if (index < 0) throw std::runtime_error("cannot add a tab");
  return index;
}

// Created where it will stay, with its geometry, and hidden unless its sheet
// is the one shown first: each later change of size, geometry or visibility
// would lay out its scroll bars again.
HWND CreateGrid(const ControlDesc& c, HWND window, int id, const RECT& r, bool visible,
                const DpiScale& scale, const LOGFONTW& font) {
  RegisterStringGridClass();
  GridCreateParams geometry{c.grid.colCount, c.grid.rowCount, scale.Px(c.grid.defaultColWidth),
                            scale.Px(c.grid.defaultRowHeight), scale.Px(c.grid.gridLineWidth)};
  HWND h = CreateWindowExW(0, kStringGridClass, L"",
                           WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0),
                           r.left, r.top, r.right - r.left, r.bottom - r.top, window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), &geometry);
  if (!h) throw std::runtime_error("String grid could not be created");
  StringGrid(h).SetLogFont(font, false);
  // Above the page control, whose display area it covers.
  SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return h;
}

const BuiltControl* PageControlOfSheet(const BuiltForm& built, const BuiltControl& sheet) {
  return sheet.desc->parent ? built.Find(sheet.desc->parent) : nullptr;
}

// The rectangle, in the window's client coordinates, that a control aligned
// to fill its parent takes.
bool ClientAlignedRect(const BuiltForm& built, const BuiltControl& c, HWND window, RECT* r) {
  if (!c.desc->parent) {
    GetClientRect(window, r);
    return true;
  }
  const BuiltControl* parent = built.Find(c.desc->parent);
  if (!parent) return false;
  if (parent->desc->kind == ControlKind::TabSheet) {
    const BuiltControl* pc = PageControlOfSheet(built, *parent);
    if (!pc || !pc->hwnd) return false;
    GetWindowRect(pc->hwnd, r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(r), 2);
    SendMessageW(pc->hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(r));
    return true;
  }
  if (!parent->hwnd) return false;
  GetWindowRect(parent->hwnd, r);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(r), 2);
  return true;
}

// Where a control is created: the place that LayoutControls gives it when
// it fills its parent, otherwise its design size.
RECT InitialRect(const BuiltForm& built, const BuiltControl& c, HWND window,
                 const DpiScale& scale) {
  RECT r{0, 0, scale.Px(c.desc->bounds.width), scale.Px(c.desc->bounds.height)};
  if (c.desc->align == Align::Client) ClientAlignedRect(built, c, window, &r);
  return r;
}

// The tab a page control shows when the form opens.
int InitialTab(const BuiltForm& built, const BuiltControl& pageControl) {
  const char* page = pageControl.desc->activePage;
  const BuiltControl* sheet = page ? built.Find(page) : nullptr;
  return sheet ? sheet->tabIndex : 0;
}

// False for the content of a tab sheet that is not shown when the form opens.
bool InitiallyShown(const BuiltForm& built, const BuiltControl& c) {
  const BuiltControl* sheet = c.desc->parent ? built.Find(c.desc->parent) : nullptr;
  if (!sheet || sheet->desc->kind != ControlKind::TabSheet) return true;
  const BuiltControl* pc = PageControlOfSheet(built, *sheet);
  return !pc || sheet->tabIndex == InitialTab(built, *pc);
}

}  // namespace

const BuiltControl* BuiltForm::Find(std::string_view name) const {
  for (const BuiltControl& c : controls) {
    if (SameName(c.desc->name, name)) return &c;
  }
  return nullptr;
}

const BuiltControl* BuiltForm::FindById(int id) const {
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

const BuiltControl* BuiltForm::SheetAt(std::string_view pageControl, int tabIndex) const {
  for (const BuiltControl& c : controls) {
    if (c.desc->kind == ControlKind::TabSheet && SameName(c.desc->parent, pageControl) &&
        c.tabIndex == tabIndex) {
      return &c;
    }
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
  if (form.stayOnTop) ex |= WS_EX_TOPMOST;
  return ex;
}

LOGFONTW FormLogFont(const FormDesc& form, const DpiScale& scale) {
  LOGFONTW lf{};
  lf.lfHeight = scale.Px(form.font.height);
  lf.lfCharSet = static_cast<BYTE>(form.font.charset);
  lf.lfWeight = FW_NORMAL;
  const std::wstring face = Widen(form.font.name ? form.font.name : "");
  lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  return lf;
}

BuiltForm BuildControls(const FormDesc& form, HWND window, const DpiScale& scale) {
  BuiltForm built;
  const LOGFONTW lf = FormLogFont(form, scale);
  built.font_.Reset(CreateFontIndirectW(&lf));
  built.controls.reserve(form.controls.size);
  int id = forms::kFirstControlId;
  for (const ControlDesc& c : form.controls) {
    built.controls.push_back(BuiltControl{&c, nullptr, id++});
  }
  // Page controls with their tabs, font and tab width come first: the
  // display area that the sheets' content fills depends on all of them. The
  // width goes in once the first tab gives the height: later tabs then fit
  // at once instead of overflowing into scroll arrows at the default width.
  for (BuiltControl& b : built.controls) {
    if (b.desc->kind == ControlKind::PageControl) {
      b.hwnd = CreatePageControl(window, b.id, InitialRect(built, b, window, scale), built.font());
    } else if (b.desc->kind == ControlKind::TabSheet) {
      const BuiltControl* pc = PageControlOfSheet(built, b);
      if (!pc || !pc->hwnd) throw std::runtime_error("a tab sheet needs its page control first");
      b.tabIndex = AddTab(pc->hwnd, *b.desc);
      if (b.tabIndex == 0) SetTabWidth(pc->hwnd, scale.Px(pc->desc->tabWidth));
    }
  }
  for (BuiltControl& b : built.controls) {
    if (b.desc->kind == ControlKind::StringGrid) {
      b.hwnd = CreateGrid(*b.desc, window, b.id, InitialRect(built, b, window, scale),
                          InitiallyShown(built, b), scale, lf);
    } else if (b.desc->kind == ControlKind::Timer) {
      if (!SetTimer(window, static_cast<UINT_PTR>(b.id), static_cast<UINT>(b.desc->interval),
                    nullptr)) {
        throw std::runtime_error("cannot start a timer");
      }
    }
  }
  for (const BuiltControl& b : built.controls) {
    if (b.desc->kind == ControlKind::PageControl) {
      ShowSheet(built, b.desc->name, InitialTab(built, b));
    }
  }
  return built;
}

void RescaleControls(const FormDesc& form, BuiltForm& built, const DpiScale& scale) {
  const LOGFONTW lf = FormLogFont(form, scale);
  Font font(CreateFontIndirectW(&lf));
  for (const BuiltControl& c : built.controls) {
    if (c.desc->kind != ControlKind::PageControl) continue;
    SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    SetTabWidth(c.hwnd, scale.Px(c.desc->tabWidth));
  }
  // The old font goes only once no control uses it any more.
  built.font_ = std::move(font);
}

void LayoutControls(const BuiltForm& built, HWND window) {
  // Parents first: the table lists a page control before its sheets' content.
  for (const BuiltControl& c : built.controls) {
    if (!c.hwnd || c.desc->align != Align::Client) continue;
    RECT r{};
    if (!ClientAlignedRect(built, c, window, &r)) continue;
    // Moving a window to where it is still costs the window system a round
    // trip per call; a resize also relays out a grid's scroll bars.
    RECT now{};
    GetWindowRect(c.hwnd, &now);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&now), 2);
    if (EqualRect(&now, &r)) continue;
    SetWindowPos(c.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

int ActiveTab(const BuiltForm& built, std::string_view pageControl) {
  const BuiltControl* pc = built.Find(pageControl);
  if (!pc || !pc->hwnd) return -1;
  return static_cast<int>(SendMessageW(pc->hwnd, TCM_GETCURSEL, 0, 0));
}

void ShowSheet(const BuiltForm& built, std::string_view pageControl, int tabIndex) {
  const BuiltControl* pc = built.Find(pageControl);
  if (!pc || !pc->hwnd) return;
  SendMessageW(pc->hwnd, TCM_SETCURSEL, static_cast<WPARAM>(tabIndex), 0);
  for (const BuiltControl& c : built.controls) {
    if (!c.hwnd || !c.desc->parent) continue;
    const BuiltControl* sheet = built.Find(c.desc->parent);
    if (!sheet || sheet->desc->kind != ControlKind::TabSheet ||
        !SameName(sheet->desc->parent, pageControl)) {
      continue;
    }
    ShowWindow(c.hwnd, sheet->tabIndex == tabIndex ? SW_SHOWNA : SW_HIDE);
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
