#include "options/option_win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "core/strconv_win.h"
#include "forms/option_form.h"
#include "ui/app_error_win.h"
#include "ui/drag_cursor_win.h"
#include "ui/grid_view_win.h"
#include "ui/help.h"
#include "ui/help_win.h"
#include "ui/menu_win.h"
#include "ui/string_grid_win.h"

namespace tabcard {
namespace {

using forms::Event;
using forms::FormEvent;
using forms::OptionControl;

constexpr UINT_PTR kItemListSubclass = 1;
constexpr wchar_t kApplyProperty[] = L"TabcardFontApply";

int PageControlId(OptionTabs tabs) {
  switch (tabs) {
    case OptionTabs::kDialog:
      return forms::IdOf(OptionControl::PageControl1);
    case OptionTabs::kPreview:
      return forms::IdOf(OptionControl::PageControl2);
    default:
      return forms::IdOf(OptionControl::PageControl3);
  }
}

int ScreenDpi() {
  HDC dc = GetDC(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : kDesignDpi;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : kDesignDpi;
}

// ChooseFont works in the screen's logical units.
DpiScale DialogScale() { return DpiScale(ScreenDpi()); }

LOGFONTW DialogLogFont(const GridFont& f) {
  LOGFONTW lf{};
  lf.lfHeight = DialogScale().FontHeight(f.points);
  lf.lfWeight = f.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = f.italic ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, Widen(f.face).c_str(), LF_FACESIZE);
  return lf;
}

// The dialog's Apply and its OK read the same LOGFONT the same way.
GridFont ChoiceOf(const LOGFONTW& lf) {
  return GridFont{Narrow(lf.lfFaceName), DialogScale().Points(lf.lfHeight),
                  lf.lfWeight >= FW_BOLD, lf.lfItalic != 0};
}

using ApplyHandler = std::function<void(const GridFont&)>;

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
    if (apply) RunReported(dlg, [&] { (*apply)(ChoiceOf(lf)); });
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

MouseButton ButtonOfMessage(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      return MouseButton::Left;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return MouseButton::Right;
    default:
      return MouseButton::None;
  }
}

}  // namespace

class TfrmOption::Controls : public OptionView {
 public:
  explicit Controls(TfrmOption& w) : w_(w) {}

  // ItemAssignView
  void SetItemNames(const std::vector<std::string>& names) override {
    HWND list = w_.ControlWindow(OptionControl::lstKojinItem);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : names) {
      const std::wstring text = Widen(name);
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  }
  int SelectedItem() const override {
    return static_cast<int>(
        SendMessageW(w_.ControlWindow(OptionControl::lstKojinItem), LB_GETCURSEL, 0, 0));
  }
  GridShape PreviewShape(int page) const override {
    StringGrid g = Grid(page);
    return GridShape{g.ColCount(), g.RowCount()};
  }
  void SetGridCells(int page, const CellTexts& cells) override {
    StringGrid g = Grid(page);
    FillGrid(g, cells);
  }
  void SetCellText(int page, GridCell cell, std::string_view text) override {
    Grid(page).SetCell(cell.col, cell.row, text);
  }
  void SetGridMarks(int page, const CellTexts& marks) override {
    StringGrid g = Grid(page);
    FillGridMarks(g, marks);
  }
  void SetCellMark(int page, GridCell cell, std::string_view mark) override {
    Grid(page).SetCellMark(cell.col, cell.row, mark);
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
    SetCapture(holder == kItemListHolder ? w_.ControlWindow(OptionControl::lstKojinItem)
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
    return tabcard::ActiveTab(w_.built(), PageControlId(tabs));
  }
  void ShowTab(OptionTabs tabs, int tab) override { ShowSheet(w_.built(), PageControlId(tabs), tab); }
  std::string FieldText(CellField field) const override {
    return w_.ControlText(forms::kCellFields[field]);
  }
  void SetFieldText(CellField field, std::string_view text) override {
    w_.SetControlText(forms::kCellFields[field], text);
  }
  void EnableColWidth(bool enabled) override {
    EnableWindow(w_.ControlWindow(forms::kCellFields[kColWidthField]), enabled);
  }
  bool FixedWidthChosen() const override {
    return SendMessageW(w_.ControlWindow(OptionControl::rdoColWidthFixed), BM_GETCHECK, 0, 0) ==
           BST_CHECKED;
  }
  void ChooseWidthMode(bool fixed) override {
    for (int i = 0; i < 2; ++i) {
      const bool on = (i == 1) == fixed;
      SendMessageW(w_.ControlWindow(forms::kWidthModes[i]), BM_SETCHECK,
                   on ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }
  void EnableItemAssignment(bool enabled) override {
    for (OptionControl c : forms::kItemAssignControls) EnableWindow(w_.ControlWindow(c), enabled);
  }
  // The drop-down's lines are kValueForms in order.
  ValueForm ChosenForm() const override {
    const LRESULT line = SendMessageW(w_.ControlWindow(OptionControl::cboForm), CB_GETCURSEL, 0, 0);
    return line >= 0 && static_cast<std::size_t>(line) < kValueForms.size()
               ? kValueForms[static_cast<std::size_t>(line)]
               : ValueForm::kAsStored;
  }
  void ShowCellForm(std::optional<ValueForm> form) override {
    HWND box = w_.ControlWindow(OptionControl::cboForm);
    const auto line = form ? std::find(kValueForms.begin(), kValueForms.end(), *form) -
                                 kValueForms.begin()
                           : -1;
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(line), 0);
    EnableWindow(box, form.has_value());
  }
  bool Checked(BehaviourBox box) const override {
    return SendMessageW(w_.ControlWindow(forms::kBehaviourBoxes[box]), BM_GETCHECK, 0, 0) ==
           BST_CHECKED;
  }
  void SetChecked(BehaviourBox box, bool checked) override {
    SendMessageW(w_.ControlWindow(forms::kBehaviourBoxes[box]), BM_SETCHECK,
                 checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  void SetPasteKeyLines(const std::vector<std::u16string>& lines, int selected) override {
    HWND list = w_.ControlWindow(OptionControl::lstPasteKeys);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::u16string& line : lines) {
      const std::wstring text(line.begin(), line.end());
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  }
  int SelectedPasteKeyLine() const override {
    return static_cast<int>(
        SendMessageW(w_.ControlWindow(OptionControl::lstPasteKeys), LB_GETCURSEL, 0, 0));
  }
  // The control's word is the stored format: key, then the HOTKEYF bits.
  HotKey ChosenHotKey(HotKeyBox box) const override {
    return LOWORD(SendMessageW(w_.ControlWindow(forms::kHotKeyBoxes[box]), HKM_GETHOTKEY, 0, 0));
  }
  void SetHotKey(HotKeyBox box, HotKey key) override {
    SendMessageW(w_.ControlWindow(forms::kHotKeyBoxes[box]), HKM_SETHOTKEY, LOWORD(key), 0);
  }
  void SetGridCounts(int page, int cols, int rows) override {
    Grid(page).SetShape(std::max(1, cols), std::max(1, rows));
  }
  void SetGridColWidth(int page, int width) override { Grid(page).SetDefaultColWidth(width); }
  void SetGridRowHeight(int page, int height) override { Grid(page).SetDefaultRowHeight(height); }
  std::string GridFontFace(int page) const override {
    return Narrow(Grid(page).LogFont().lfFaceName);
  }
  void SetGridFont(int page, const GridFont& font) override {
    StringGrid g = Grid(page);
    tabcard::SetGridFont(g, font, w_.scale());
  }
  std::optional<GridFont> PickFont(const GridFont& initial, const ApplyHandler& onApply) override {
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
    return ChoiceOf(lf);
  }
  void Warn(std::string_view text, std::string_view caption) override {
    tabcard::Warn(w_.hwnd(), text, caption);
  }

 private:
  StringGrid Grid(int page) const { return StringGrid(w_.ControlWindow(forms::kPreviewGrids[page])); }

  TfrmOption& w_;
};

TfrmOption::TfrmOption(RegistryBackend& store, const FontFace& standardFont,
                       std::wstring helpFile, HotKeyRegistrar& registrar)
    : FormWindow(forms::OptionForm()),
      store_(store),
      standardFont_(standardFont),
      helpFile_(std::move(helpFile)),
      registrar_(registrar),
      controls_(std::make_unique<Controls>(*this)),
      dragCursor_(LoadDragCursor()) {}

TfrmOption::~TfrmOption() = default;

void TfrmOption::Create(HWND owner) {
  CreateForm(owner);
  SetWindowSubclass(ControlWindow(OptionControl::lstKojinItem), ItemListProc, kItemListSubclass,
                    reinterpret_cast<DWORD_PTR>(this));
  HWND forms = ControlWindow(OptionControl::cboForm);
  for (ValueForm form : kValueForms) {
    const std::wstring name = Widen(ValueFormName(form));
    SendMessageW(forms, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  model_ = std::make_unique<OptionModel>(store_, standardFont_, *controls_, scale(), &registrar_,
                                          &startup_);
  model_->FormCreate();
}

bool TfrmOption::Execute(HWND owner) {
  Create(owner);
  const bool ok = ShowModal(owner) == forms::kModalOk;
  if (!ok) model_->RegisterStoredHotKeys();
  return ok;
}

bool TfrmOption::OnEvent(const FormEvent& e) {
  using C = OptionControl;
  static constexpr forms::Handler<TfrmOption, C> kHandlers[] = {
      {C::cmdOK, Event::Click, &TfrmOption::cmdOKClick},
      {C::cmdHelp, Event::Click, &TfrmOption::cmdHelpClick},
      {C::PageControl2, Event::Change, &TfrmOption::PageControl2Change},
      {C::PageControl3, Event::Change, &TfrmOption::PageControl2Change},
      {C::rdoColWidthAuto, Event::Click, &TfrmOption::rdoColWidthModeClick},
      {C::rdoColWidthFixed, Event::Click, &TfrmOption::rdoColWidthModeClick},
      {C::cmdUpDateKjn, Event::Click, &TfrmOption::cmdUpDateKjnClick},
      {C::Button1, Event::Click, &TfrmOption::Button1Click},
      {C::cmdFont, Event::Click, &TfrmOption::cmdFontClick},
      {C::cmdSet, Event::Click, &TfrmOption::cmdSetClick},
      {C::lstKojinItem, Event::DblClick, &TfrmOption::cmdSetClick},
      {C::cmdDel, Event::Click, &TfrmOption::cmdDelClick},
      {C::cboForm, Event::Change, &TfrmOption::cboFormChange},
      {C::SGrdKjn1, Event::Change, &TfrmOption::SGrdKjnChange},
      {C::SGrdKjn2, Event::Change, &TfrmOption::SGrdKjnChange},
      {C::cmdClearShow, Event::Click, &TfrmOption::cmdClearShowClick},
      {C::cmdClearStep, Event::Click, &TfrmOption::cmdClearStepClick},
      {C::cmdSwitchPasteKey, Event::Click, &TfrmOption::cmdSwitchPasteKeyClick},
      {C::cmdDelPasteKey, Event::Click, &TfrmOption::cmdDelPasteKeyClick},
      {C::lstKojinItem, Event::MouseDown, &TfrmOption::lstKojinItemMouseDown},
      {C::lstKojinItem, Event::MouseUp, &TfrmOption::lstKojinItemMouseUp},
      {C::SGrdKjn1, Event::MouseDown, &TfrmOption::SGrdKjn1MouseDown},
      {C::SGrdKjn1, Event::MouseUp, &TfrmOption::SGrdKjn1MouseUp},
      {C::SGrdKjn2, Event::MouseDown, &TfrmOption::SGrdKjn2MouseDown},
      {C::SGrdKjn2, Event::MouseUp, &TfrmOption::SGrdKjn2MouseUp},
  };
  // Messages of the controls being built come before the model.
  return model_ && forms::Dispatch(*this, kHandlers, e);
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
      // Del anywhere in the preview, its tabs included, is 削除's shortcut.
      const BuiltControl* c = built().FindByWindow(hdr.hwndFrom);
      if (hdr.code == SGN_KEYDOWN && c && c->desc->kind == forms::ControlKind::StringGrid &&
          reinterpret_cast<const GridKeyNotify&>(hdr).vkey == VK_DELETE) {
        model_->DeleteSelectedItem();
        return 1;
      }
      if (hdr.code == TCN_KEYDOWN && hdr.hwndFrom == ControlWindow(OptionControl::PageControl2) &&
          reinterpret_cast<const NMTCKEYDOWN&>(hdr).wVKey == VK_DELETE) {
        model_->DeleteSelectedItem();
        return 0;
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
    // From the keyboard: under a grid's current cell, or at the tabs' corner.
    RECT r{};
    GetWindowRect(from, &r);
    pt = c->desc->kind == forms::ControlKind::StringGrid
             ? MenuPointUnderCurrentCell(StringGrid(from))
             : POINT{r.left, r.top};
  }
  if (TrackPopup(hwnd(), BuildPopupMenu(forms::OptionPopupMenuLayout()), pt) == forms::kMnuDelItem) {
    model_->DeleteSelectedItem();
  }
  return true;
}

void TfrmOption::OnScaleChanged() {
  if (model_) model_->ScaleChanged(scale());
}

void TfrmOption::RaiseListMouse(Event event, UINT msg, LPARAM lp) {
  FormEvent e;
  e.control = forms::IdOf(OptionControl::lstKojinItem);
  e.event = event;
  e.button = ButtonOfMessage(msg);
  e.x = GET_X_LPARAM(lp);
  e.y = GET_Y_LPARAM(lp);
  RunReported(hwnd(), [&] { OnEvent(e); });
}

LRESULT CALLBACK TfrmOption::ItemListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                          DWORD_PTR self) {
  auto& w = *reinterpret_cast<TfrmOption*>(self);
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      // The line under the pointer is selected before the press is handled.
      const LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
      w.RaiseListMouse(Event::MouseDown, msg, lp);
      return r;
    }
    case WM_MOUSEMOVE:
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
      w.RaiseListMouse(Event::MouseUp, msg, lp);
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

void TfrmOption::cmdOKClick(const FormEvent& e) {
  if (!model_->StoreOnOk()) e.Refuse();
}

void TfrmOption::cmdHelpClick(const FormEvent&) { OpenHelp(hwnd(), helpFile_, kHelpOption); }
void TfrmOption::PageControl2Change(const FormEvent&) { model_->TabChanged(); }
void TfrmOption::rdoColWidthModeClick(const FormEvent&) { model_->WidthModeChosen(); }
void TfrmOption::cmdUpDateKjnClick(const FormEvent&) { model_->ApplyCellSettings(); }
void TfrmOption::Button1Click(const FormEvent&) { model_->RestoreStandardPage(); }
void TfrmOption::cmdFontClick(const FormEvent&) { model_->ChoosePageFont(); }
void TfrmOption::cmdSetClick(const FormEvent&) { model_->SetSelectedItem(); }
void TfrmOption::cmdDelClick(const FormEvent&) { model_->DeleteSelectedItem(); }
void TfrmOption::cboFormChange(const FormEvent&) { model_->FormChosen(); }
void TfrmOption::SGrdKjnChange(const FormEvent&) { model_->PreviewCellChanged(); }
void TfrmOption::cmdClearShowClick(const FormEvent&) { model_->ClearHotKey(kShowHotKeyBox); }
void TfrmOption::cmdClearStepClick(const FormEvent&) { model_->ClearHotKey(kStepHotKeyBox); }
void TfrmOption::cmdSwitchPasteKeyClick(const FormEvent&) { model_->SwitchPasteKey(); }
void TfrmOption::cmdDelPasteKeyClick(const FormEvent&) { model_->RemovePasteKey(); }
void TfrmOption::lstKojinItemMouseDown(const FormEvent& e) { model_->ListPress(e.button); }
void TfrmOption::lstKojinItemMouseUp(const FormEvent& e) { model_->ListRelease(e.button); }
void TfrmOption::SGrdKjn1MouseDown(const FormEvent& e) { model_->GridPress(kPageKojin1, e.button); }
void TfrmOption::SGrdKjn1MouseUp(const FormEvent& e) { model_->GridRelease(kPageKojin1, e.button); }
void TfrmOption::SGrdKjn2MouseDown(const FormEvent& e) { model_->GridPress(kPageKojin2, e.button); }
void TfrmOption::SGrdKjn2MouseUp(const FormEvent& e) { model_->GridRelease(kPageKojin2, e.button); }

}  // namespace tabcard
