#include "options/option_win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "app/desktop_win.h"
#include "app/help.h"
#include "app/help_win.h"
#include "ui/app_error_win.h"
#include "core/strconv_win.h"
#include "forms/option_form.h"
#include "ui/menu_win.h"
#include "ui/string_grid_win.h"

namespace tabcard {
namespace {

using forms::EventArgs;
using Router = forms::EventRouter<TfrmOption>;

const Router::NamedHandler kHandlers[] = {
    {"cmdOKClick", &TfrmOption::cmdOKClick},
    {"cmdHelpClick", &TfrmOption::cmdHelpClick},
    {"PageControl2Change", &TfrmOption::PageControl2Change},
    {"rdoColWidthModeClick", &TfrmOption::rdoColWidthModeClick},
    {"cmdUpDateKjnClick", &TfrmOption::cmdUpDateKjnClick},
    {"Button1Click", &TfrmOption::Button1Click},
    {"cmdFontClick", &TfrmOption::cmdFontClick},
    {"cmdSetClick", &TfrmOption::cmdSetClick},
    {"cmdDelClick", &TfrmOption::cmdDelClick},
    {"lstKojinItemMouseDown", &TfrmOption::lstKojinItemMouseDown},
    {"lstKojinItemMouseMove", &TfrmOption::lstKojinItemMouseMove},
    {"lstKojinItemMouseUp", &TfrmOption::lstKojinItemMouseUp},
    {"SGrdKjn1MouseDown", &TfrmOption::SGrdKjn1MouseDown},
    {"SGrdKjn1MouseUp", &TfrmOption::SGrdKjn1MouseUp},
    {"SGrdKjn2MouseDown", &TfrmOption::SGrdKjn2MouseDown},
    {"SGrdKjn2MouseUp", &TfrmOption::SGrdKjn2MouseUp},
};

constexpr UINT_PTR kItemListSubclass = 1;
constexpr wchar_t kApplyProperty[] = L"TabcardFontApply";

const char* PageControlName(OptionTabs tabs) {
  switch (tabs) {
    case OptionTabs::kDialog:
      return forms::kOptionPageControl;
    case OptionTabs::kPreview:
      return forms::kPreviewPageControl;
    default:
      return forms::kSettingsPageControl;
  }
}

int ScreenDpi() {
  HDC dc = GetDC(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : kDesignDpi;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : kDesignDpi;
}

// ChooseFont works in the screen's logical units.
LOGFONTW DialogLogFont(const FontChoice& f) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(f.points, ScreenDpi(), 72);
  lf.lfWeight = f.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = f.italic ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, Widen(f.face).c_str(), LF_FACESIZE);
  return lf;
}

FontChoice ChoiceOf(const LOGFONTW& lf, int points) {
  return FontChoice{Narrow(lf.lfFaceName), points, lf.lfWeight >= FW_BOLD, lf.lfItalic != 0};
}

using ApplyHandler = std::function<void(const FontChoice&)>;

// The font dialog's Apply (psh3) hands the font chosen so far to the model.
UINT_PTR CALLBACK FontDialogHook(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    const auto* cf = reinterpret_cast<const CHOOSEFONTW*>(lp);
    SetPropW(dlg, kApplyProperty, reinterpret_cast<HANDLE>(cf->lCustData));
    return TRUE;
  }
  if (msg == WM_DESTROY) RemovePropW(dlg, kApplyProperty);
  if (msg == WM_COMMAND && LOWORD(wp) == psh3) {
    const auto* apply = reinterpret_cast<const ApplyHandler*>(GetPropW(dlg, kApplyProperty));
    LOGFONTW lf{};
    SendMessageW(dlg, WM_CHOOSEFONT_GETLOGFONT, 0, reinterpret_cast<LPARAM>(&lf));
    const int points = MulDiv(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight, 72, ScreenDpi());
    if (apply) RunReported(dlg, [&] { (*apply)(ChoiceOf(lf, points)); });
    return TRUE;
  }
  return FALSE;
}

// comdlg32 is loaded when the font dialog is first wanted, not with the
// program: a start loads nothing of the dialogs.
BOOL ChooseFontDialog(CHOOSEFONTW* cf) {
  using ChooseFontFn = BOOL(WINAPI*)(CHOOSEFONTW*);
  static const auto choose = [] {
    HMODULE library = LoadLibraryW(L"comdlg32.dll");
    return library ? reinterpret_cast<ChooseFontFn>(
                         reinterpret_cast<void*>(GetProcAddress(library, "ChooseFontW")))
                   : nullptr;
  }();
  return choose ? choose(cf) : FALSE;
}

forms::MouseButton ButtonOfMessage(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      return forms::MouseButton::Left;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return forms::MouseButton::Right;
    default:
      return forms::MouseButton::None;
  }
}

}  // namespace

class TfrmOption::Controls : public OptionView {
 public:
  explicit Controls(TfrmOption& w) : w_(w) {}

  // ItemAssignView
  void SetItemNames(const std::vector<std::string>& names) override {
    HWND list = w_.ControlWindow(forms::kItemListName);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : names) {
      const std::wstring text = Widen(name);
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  }
  int SelectedItem() const override {
    return static_cast<int>(SendMessageW(w_.ControlWindow(forms::kItemListName), LB_GETCURSEL, 0, 0));
  }
  GridShape PreviewShape(int page) const override {
    StringGrid g = Grid(page);
    return GridShape{g.ColCount(), g.RowCount()};
  }
  void SetGridCells(int page, const CellTexts& cells) override {
    StringGrid g = Grid(page);
    g.ClearCells();
    const int cols = std::min(cells.Cols(), g.ColCount());
    const int rows = std::min(cells.Rows(), g.RowCount());
    for (int c = 0; c < cols; ++c) {
      for (int r = 0; r < rows; ++r) g.SetCell(c, r, cells.At(c, r));
    }
  }
  void SetCellText(int page, GridCell cell, std::string_view text) override {
    Grid(page).SetCell(cell.col, cell.row, text);
  }
  GridCell CurrentCell(int page) const override { return Grid(page).CurrentCell(); }
  void SetCurrentCell(int page, GridCell cell) override {
    Grid(page).SetCurrentCell(cell.col, cell.row);
  }
  DropSpot SpotUnderPointer() const override {
    const DWORD pos = GetMessagePos();
    POINT pt{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
    HWND under = WindowFromPoint(pt);
    for (int page : {kPageKojin1, kPageKojin2}) {
      StringGrid g = Grid(page);
      if (under != g.Handle()) continue;
      ScreenToClient(under, &pt);
      return DropSpot{page, g.MouseToCell(pt.x, pt.y)};
    }
    return DropSpot{};
  }
  void BeginDrag(int holder) override {
    w_.dragging_ = true;
    SetCapture(holder == kItemListHolder ? w_.ControlWindow(forms::kItemListName)
                                         : Grid(holder).Handle());
    SetCursor(w_.dragCursor_);
  }
  void EndDrag() override {
    w_.dragging_ = false;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    if (HWND held = GetCapture(); held && GetAncestor(held, GA_ROOT) == w_.hwnd()) ReleaseCapture();
  }

  // OptionView
  int ActiveTab(OptionTabs tabs) const override {
    return tabcard::ActiveTab(w_.built(), PageControlName(tabs));
  }
  void ShowTab(OptionTabs tabs, int tab) override { ShowSheet(w_.built(), PageControlName(tabs), tab); }
  std::string FieldText(CellField field) const override {
    return w_.ControlText(forms::kCellFieldNames[field]);
  }
  void SetFieldText(CellField field, std::string_view text) override {
    w_.SetControlText(forms::kCellFieldNames[field], text);
  }
  void EnableColWidth(bool enabled) override {
    EnableWindow(w_.ControlWindow(forms::kCellFieldNames[kColWidthField]), enabled);
  }
  bool FixedWidthChosen() const override {
    return SendMessageW(w_.ControlWindow(forms::kWidthModeNames[1]), BM_GETCHECK, 0, 0) ==
           BST_CHECKED;
  }
  void ChooseWidthMode(bool fixed) override {
    for (int i = 0; i < 2; ++i) {
      const bool on = (i == 1) == fixed;
      SendMessageW(w_.ControlWindow(forms::kWidthModeNames[i]), BM_SETCHECK,
                   on ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }
  void EnableItemAssignment(bool enabled) override {
    for (const char* name : forms::kItemAssignNames) EnableWindow(w_.ControlWindow(name), enabled);
  }
  bool Checked(BehaviourBox box) const override {
    return SendMessageW(w_.ControlWindow(forms::kBehaviourBoxNames[box]), BM_GETCHECK, 0, 0) ==
           BST_CHECKED;
  }
  void SetChecked(BehaviourBox box, bool checked) override {
    SendMessageW(w_.ControlWindow(forms::kBehaviourBoxNames[box]), BM_SETCHECK,
                 checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  void SetGridCounts(int page, int cols, int rows) override {
    Grid(page).SetShape(std::max(1, cols), std::max(1, rows));
  }
  void SetGridColWidth(int page, int width) override { Grid(page).SetDefaultColWidth(width); }
  void SetGridRowHeight(int page, int height) override { Grid(page).SetDefaultRowHeight(height); }
  std::string GridFontFace(int page) const override {
    return Narrow(Grid(page).LogFont().lfFaceName);
  }
  void SetGridFont(int page, const FontChoice& font) override {
    StringGrid g = Grid(page);
    LOGFONTW lf = g.LogFont();
    lstrcpynW(lf.lfFaceName, Widen(font.face).c_str(), LF_FACESIZE);
    lf.lfHeight = w_.scale().FontHeight(font.points);
    lf.lfWidth = 0;
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic ? TRUE : FALSE;
    g.SetLogFont(lf);
  }
  std::optional<FontChoice> PickFont(const FontChoice& initial,
                                       const ApplyHandler& onApply) override {
    LOGFONTW lf = DialogLogFont(initial);
    CHOOSEFONTW cf{};
    cf.lStructSize = sizeof(cf);
    cf.hwndOwner = w_.hwnd();
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_TTONLY | CF_FORCEFONTEXIST |
               CF_APPLY | CF_ENABLEHOOK;
    cf.lpfnHook = FontDialogHook;
    cf.lCustData = reinterpret_cast<LPARAM>(&onApply);
    if (!ChooseFontDialog(&cf)) return std::nullopt;
    return ChoiceOf(lf, cf.iPointSize / 10);
  }
  void Warn(std::string_view text, std::string_view caption) override {
    MessageBoxW(w_.hwnd(), Widen(text).c_str(), Widen(caption).c_str(), MB_OK | MB_ICONEXCLAMATION);
  }

 private:
  StringGrid Grid(int page) const {
    return StringGrid(w_.ControlWindow(forms::kPreviewGridNames[page]));
  }

  TfrmOption& w_;
};

TfrmOption::TfrmOption(RegistryBackend& store, const FontFace& standardFont,
                       std::wstring helpFile)
    : FormWindow(forms::OptionForm()),
      store_(store),
      standardFont_(standardFont),
      helpFile_(std::move(helpFile)),
      controls_(std::make_unique<Controls>(*this)),
      router_(forms::OptionForm(), forms::MakeTable(kHandlers)),
      dragCursor_(LoadDragCursor(GetModuleHandleW(nullptr))) {}

TfrmOption::~TfrmOption() = default;

void TfrmOption::Create(HWND owner) {
  CreateForm(owner);
  SetWindowSubclass(ControlWindow(forms::kItemListName), ItemListProc, kItemListSubclass,
                    reinterpret_cast<DWORD_PTR>(this));
  model_ = std::make_unique<OptionModel>(store_, standardFont_, *controls_, scale());
  model_->FormCreate();
}

bool TfrmOption::Execute(HWND owner) {
  Create(owner);
  return ShowModal(owner) == forms::kModalOk;
}

bool TfrmOption::SaveUnshown(HWND owner) {
  Create(owner);
  const bool saved = model_->SaveSettings();
  DestroyWindow(hwnd());
  return saved;
}

bool TfrmOption::Fire(const char* control, forms::Event event, const EventArgs& args) {
  // Messages of the controls being built come before the model.
  if (!model_) return false;
  return router_.Fire(*this, control, event, args);
}

LRESULT TfrmOption::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NOTIFY: {
      const NMHDR& hdr = *reinterpret_cast<const NMHDR*>(lp);
      if (!model_) break;
      if (hdr.code == SGN_CAPTURELOST) {
        model_->DragCaptureLost();
        return 0;
      }
      // Del on a personal preview deletes the current cell's item.
      const BuiltControl* c = built().FindByWindow(hdr.hwndFrom);
      if (hdr.code == SGN_KEYDOWN && c && c->desc->kind == forms::ControlKind::StringGrid &&
          reinterpret_cast<const GridKeyNotify&>(hdr).vkey == VK_DELETE) {
        model_->cmdDelClick();
        return 1;
      }
      break;
    }
    case WM_CONTEXTMENU:
      if (OnContextMenu(reinterpret_cast<HWND>(wp), lp)) return 0;
      break;
    default:
      break;
  }
  return FormWindow::OnMessage(msg, wp, lp);
}

// The previews and their page control share PopupMenu1.
bool TfrmOption::OnContextMenu(HWND from, LPARAM lp) {
  const BuiltControl* c = built().FindByWindow(from);
  if (!c || !c->desc->popupMenu || !model_) return false;
  POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  if (lp == -1) {
    RECT r{};
    GetWindowRect(from, &r);
    pt = POINT{r.left, r.top};
    if (c->desc->kind == forms::ControlKind::StringGrid) {
      StringGrid g(from);
      const GridCell cell = g.CurrentCell();
      const RECT cr = g.CellRect(cell.col, cell.row);
      pt = POINT{cr.left, cr.bottom};
      ClientToScreen(from, &pt);
    }
  }
  if (TrackPopup(hwnd(), BuildPopupMenu(forms::OptionPopupMenuLayout()), pt) == forms::kMnuDelItem) {
    model_->cmdDelClick();
  }
  return true;
}

void TfrmOption::OnScaleChanged() {
  if (model_) model_->ScaleChanged(scale());
}

LRESULT CALLBACK TfrmOption::ItemListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                          DWORD_PTR self) {
  auto& w = *reinterpret_cast<TfrmOption*>(self);
  EventArgs args;
  args.button = ButtonOfMessage(msg);
  args.x = GET_X_LPARAM(lp);
  args.y = GET_Y_LPARAM(lp);
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      // The line under the pointer is selected before the press is handled.
      const LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
      RunReported(w.hwnd(), [&] { w.Fire(forms::kItemListName, forms::Event::MouseDown, args); });
      return r;
    }
    case WM_MOUSEMOVE:
      RunReported(w.hwnd(), [&] { w.Fire(forms::kItemListName, forms::Event::MouseMove, args); });
      if (w.dragging_) {
        // Kept from the list box, whose own tracking would move the
        // selection to the line beside the pointer and scroll after it.
        SetCursor(w.dragCursor_);
        return 0;
      }
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      // Before the list box lets go of the mouse, whose capture change would
      // otherwise end the drag first.
      RunReported(w.hwnd(), [&] { w.Fire(forms::kItemListName, forms::Event::MouseUp, args); });
      break;
    case WM_CAPTURECHANGED:
      // The drag's SetCapture on the list, which the list box's own press
      // already captured, reports the list itself as the new holder.
      if (w.dragging_ && w.model_ && reinterpret_cast<HWND>(lp) != hwnd) {
        RunReported(w.hwnd(), [&] { w.model_->DragCaptureLost(); });
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, ItemListProc, kItemListSubclass);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

void TfrmOption::cmdOKClick(const EventArgs& e) {
  if (!model_->cmdOKClick() && e.accept) *e.accept = false;
}

void TfrmOption::cmdHelpClick(const EventArgs&) { OpenHelp(hwnd(), helpFile_, kHelpOption); }
void TfrmOption::PageControl2Change(const EventArgs&) { model_->PageControl2Change(); }
void TfrmOption::rdoColWidthModeClick(const EventArgs&) { model_->rdoColWidthModeClick(); }
void TfrmOption::cmdUpDateKjnClick(const EventArgs&) { model_->cmdUpDateKjnClick(); }
void TfrmOption::Button1Click(const EventArgs&) { model_->Button1Click(); }
void TfrmOption::cmdFontClick(const EventArgs&) { model_->cmdFontClick(); }
void TfrmOption::cmdSetClick(const EventArgs&) { model_->cmdSetClick(); }
void TfrmOption::cmdDelClick(const EventArgs&) { model_->cmdDelClick(); }
void TfrmOption::lstKojinItemMouseDown(const EventArgs& e) { model_->lstKojinItemMouseDown(e.button); }
void TfrmOption::lstKojinItemMouseMove(const EventArgs&) { model_->lstKojinItemMouseMove(); }
void TfrmOption::lstKojinItemMouseUp(const EventArgs& e) { model_->lstKojinItemMouseUp(e.button); }
void TfrmOption::SGrdKjn1MouseDown(const EventArgs& e) { model_->SGrdKjn1MouseDown(e.button); }
void TfrmOption::SGrdKjn1MouseUp(const EventArgs& e) { model_->SGrdKjn1MouseUp(e.button); }
void TfrmOption::SGrdKjn2MouseDown(const EventArgs& e) { model_->SGrdKjn2MouseDown(e.button); }
void TfrmOption::SGrdKjn2MouseUp(const EventArgs& e) { model_->SGrdKjn2MouseUp(e.button); }

}  // namespace tabcard
