#include "editor/property_win.h"

#include <commctrl.h>

#include <utility>

#include "core/strconv_win.h"
#include "forms/property_form.h"
#include "ui/app_error_win.h"
#include "ui/help.h"
#include "ui/help_win.h"
#include "ui/storable_win.h"
#include "ui/string_grid_win.h"

namespace tabcard {
namespace {

using forms::Event;
using forms::FormEvent;
using forms::kPropertyFields;
using C = forms::PropertyControl;

constexpr wchar_t kCaption[] = L"プロパティ";

const forms::PropertyField* FieldByValueName(std::string_view valueName) {
  for (const forms::PropertyField& f : kPropertyFields) {
    if (valueName == f.valueName) return &f;
  }
  return nullptr;
}

}  // namespace

// The field pages' edit boxes and user lists, as PropertyModel sees them.
class TfrmProperty::Fields : public PropertyView {
 public:
  explicit Fields(TfrmProperty& w) : w_(w) {}

  std::string FieldText(std::string_view valueName) const override {
    const forms::PropertyField* f = FieldByValueName(valueName);
    return f ? w_.ControlText(f->control) : std::string();
  }
  void SetFieldText(std::string_view valueName, std::string_view text) override {
    if (const forms::PropertyField* f = FieldByValueName(valueName)) {
      w_.SetControlText(f->control, text);
    }
  }
  void SetUserNames(int list, const UserNames& names) override {
    HWND box = List(list);
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    for (const std::string& name : names) {
      const std::wstring text = Widen(name);
      SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
  }
  int SelectedUser(int list) const override {
    return static_cast<int>(SendMessageW(List(list), CB_GETCURSEL, 0, 0));
  }
  void SelectUser(int list, int user) override {
    SendMessageW(List(list), CB_SETCURSEL, static_cast<WPARAM>(user), 0);
  }
  void SetActivePage(int page) override {
    ShowSheet(w_.built(), forms::IdOf(C::PageControl1), page);
  }

 private:
  HWND List(int list) const { return w_.ControlWindow(forms::kUserLists[list]); }

  TfrmProperty& w_;
};

class TfrmProperty::MemoControls : public MemoPageView {
 public:
  explicit MemoControls(TfrmProperty& w) : w_(w) {}

  void SetRows(const std::vector<std::string>& titles) override {
    StringGrid grid = Grid();
    {
      RedrawPause pause(grid.Handle());
      grid.SetRowCount(static_cast<int>(titles.size()));
      for (std::size_t row = 0; row < titles.size(); ++row) {
        grid.SetCell(0, static_cast<int>(row), titles[row]);
      }
    }
    grid.SetCurrentCell(0, 0);
  }
  void SetRowText(int row, std::string_view title) override { Grid().SetCell(0, row, title); }
  int SelectedRow() const override { return Grid().Row(); }
  void ShowTooltip(std::string_view text) override {
    StringGrid grid = Grid();
    grid.SetHint(text);
    grid.SetShowHint(true);
  }
  std::string MemoText() const override { return w_.ControlText(C::Memo); }
  void SetMemoText(std::string_view text) override { w_.SetControlText(C::Memo, text); }
  bool MemoModified() const override { return SendMessageW(Box(), EM_GETMODIFY, 0, 0) != 0; }
  void SetMemoModified(bool modified) override {
    SendMessageW(Box(), EM_SETMODIFY, modified ? TRUE : FALSE, 0);
  }
  bool MemoStorable() override { return CheckStorable(w_.hwnd(), Box(), L"メモ", L"メモ保存"); }
  bool Ask(std::string_view text, std::string_view caption) override {
    return tabcard::Ask(w_.hwnd(), text, caption);
  }
  void Warn(std::string_view text, std::string_view caption) override {
    tabcard::Warn(w_.hwnd(), text, caption);
  }

 private:
  StringGrid Grid() const { return StringGrid(w_.ControlWindow(C::SGrdMemo)); }
  HWND Box() const { return w_.ControlWindow(C::Memo); }

  TfrmProperty& w_;
};

class TfrmProperty::ListControls : public ListPageView {
 public:
  explicit ListControls(TfrmProperty& w) : w_(w) {}

  std::string MemoText() const override { return w_.ControlText(C::txtListMemo); }
  void SetMemoText(std::string_view text) override { w_.SetControlText(C::txtListMemo, text); }
  std::string HintText() const override { return w_.ControlText(C::txtListHint); }
  void SetHintText(std::string_view text) override { w_.SetControlText(C::txtListHint, text); }
  void SetLines(const std::vector<std::string>& lines, int selected) override {
    HWND box = Box();
    // The list box keeps its own redraw flag, so it is paused even before the
    // dialog shows: then it neither lays out nor scrolls once per line.
    SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    SendMessageW(box, LB_RESETCONTENT, 0, 0);
    // The box's storage is taken once for all the lines, not grown per line.
    std::size_t bytes = 0;
    for (const std::string& line : lines) bytes += (line.size() + 1) * sizeof(wchar_t);
    SendMessageW(box, LB_INITSTORAGE, lines.size(), static_cast<LPARAM>(bytes));
    for (const std::string& line : lines) {
      const std::wstring text = Widen(line);
      SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(box, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
  }
  int Selection() const override { return static_cast<int>(SendMessageW(Box(), LB_GETCURSEL, 0, 0)); }
  void FocusMemo(bool selectAll) override {
    HWND edit = w_.ControlWindow(C::txtListMemo);
    SetFocus(edit);
    if (selectAll) SendMessageW(edit, EM_SETSEL, 0, -1);
  }

 private:
  HWND Box() const { return w_.ControlWindow(C::ListBox1); }

  TfrmProperty& w_;
};

TfrmProperty::TfrmProperty(RegistryBackend& store, std::wstring helpFile)
    : FormWindow(forms::PropertyForm()),
      store_(store),
      helpFile_(std::move(helpFile)),
      fields_(std::make_unique<Fields>(*this)),
      memoControls_(std::make_unique<MemoControls>(*this)),
      listControls_(std::make_unique<ListControls>(*this)),
      memo_(*memoControls_),
      list_(*listControls_, SamePhraseIgnoringCase),
      model_(store, *fields_,
             PropertyPageHooks{[this] { memo_.Create(store_); },
                               [this] { list_.Load(store_); },
                               [this] { return list_.Save(store_); }}) {}

TfrmProperty::~TfrmProperty() = default;

bool TfrmProperty::Execute(HWND owner) {
  CreateForm(owner);
  model_.FormCreate();
  return ShowModal(owner) == forms::kModalOk;
}

bool TfrmProperty::OnEvent(const FormEvent& e) {
  static constexpr forms::Handler<TfrmProperty, C> kHandlers[] = {
      {C::PageControl1, Event::Change, &TfrmProperty::PageControl1Change},
      {C::cboUser1, Event::Change, &TfrmProperty::cboUser1Change},
      {C::cboUser2, Event::Change, &TfrmProperty::cboUser2Change},
      {C::cboUser3, Event::Change, &TfrmProperty::cboUser3Change},
      {C::cmdOK, Event::Click, &TfrmProperty::cmdOKClick},
      {C::cmdHelp, Event::Click, &TfrmProperty::cmdHelpClick},
      // A click selects on the button's release, also of the row already
      // selected; a key that moves the selection selects too. A double-click
      // reads on its release, once the grid has let go of the mouse.
      {C::SGrdMemo, Event::MouseUp, &TfrmProperty::SGrdMemoMouseUp},
      {C::SGrdMemo, Event::Change, &TfrmProperty::SGrdMemoClick},
      {C::SGrdMemo, Event::DblClick, &TfrmProperty::SGrdMemoDblClick},
      {C::cmdMemoRead, Event::Click, &TfrmProperty::cmdMemoReadClick},
      {C::cmdMemoUpDate, Event::Click, &TfrmProperty::cmdMemoUpDateClick},
      {C::cmdMemoClr, Event::Click, &TfrmProperty::cmdMemoClrClick},
      {C::Memo, Event::Change, &TfrmProperty::MemoChange},
      {C::cmdCopy, Event::Click, &TfrmProperty::cmdCopyClick},
      {C::cmdAddList, Event::Click, &TfrmProperty::cmdAddListClick},
      {C::cmdDeList, Event::Click, &TfrmProperty::cmdDeListClick},
      {C::cmdListUp, Event::Click, &TfrmProperty::cmdListUpClick},
      {C::cmdListDown, Event::Click, &TfrmProperty::cmdListDownClick},
      {C::ListBox1, Event::DblClick, &TfrmProperty::ListBox1DblClick},
  };
  return forms::Dispatch(*this, kHandlers, e);
}

// Leaving a field page stores its boxes: a box with text the store cannot
// hold keeps the page from being left.
LRESULT TfrmProperty::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NOTIFY) {
    const NMHDR& hdr = *reinterpret_cast<const NMHDR*>(lp);
    if (hdr.code == TCN_SELCHANGING && hdr.hwndFrom == ControlWindow(C::PageControl1)) {
      return FieldPageStorable(model_.currentPage()) ? FALSE : TRUE;
    }
  }
  return FormWindow::OnMessage(msg, wp, lp);
}

bool TfrmProperty::HasUnsavedChanges() {
  return model_.FieldsEdited() || memo_.HasUnwrittenText() || list_.Changed();
}

std::wstring TfrmProperty::UnsavedReason() const { return L"プロパティの変更が保存されていません"; }

bool TfrmProperty::FieldPageStorable(int page) {
  if (page < 0 || page >= kFieldPageCount) return true;
  const FieldRun run = kFieldRuns[page];
  for (int i = run.first; i < run.first + run.count; ++i) {
    const forms::PropertyField& f = kPropertyFields[i];
    if (!CheckStorable(hwnd(), ControlWindow(f.control), Widen(f.label), kCaption)) return false;
  }
  return true;
}

void TfrmProperty::PageControl1Change(const FormEvent&) {
  model_.PageShown(ActiveTab(built(), forms::IdOf(C::PageControl1)));
}

void TfrmProperty::UserChange(int list) {
  if (!FieldPageStorable(list)) {
    // The edits stay with the user they were typed for.
    fields_->SelectUser(list, model_.currentUser());
    return;
  }
  model_.ChooseUser(list);
}

void TfrmProperty::cboUser1Change(const FormEvent&) { UserChange(kTabKojin); }
void TfrmProperty::cboUser2Change(const FormEvent&) { UserChange(kTabKinmusaki); }
void TfrmProperty::cboUser3Change(const FormEvent&) { UserChange(kTabEtc); }

// A failed save keeps the dialog open with every edit, so that the user can
// try again or cancel instead of losing the edits unawares.
void TfrmProperty::cmdOKClick(const FormEvent& e) {
  if (!FieldPageStorable(model_.currentPage())) return e.Refuse();
  const PropertySaveResult result = model_.StoreOnOk();
  if (result.Closes()) return;
  Warn(hwnd(), std::wstring_view(Widen(result.FailureText())), kCaption);
  e.Refuse();
}

void TfrmProperty::cmdHelpClick(const FormEvent&) { OpenHelp(hwnd(), helpFile_, kHelpProperty); }

void TfrmProperty::SGrdMemoClick(const FormEvent&) { memo_.RowChosen(); }

void TfrmProperty::SGrdMemoMouseUp(const FormEvent&) {
  memo_.RowChosen();
  if (!readOnRelease_) return;
  readOnRelease_ = false;
  memo_.Read();
}

// Read may ask a question; asked from the press, the box would come up while
// the grid holds the mouse for the press that follows.
void TfrmProperty::SGrdMemoDblClick(const FormEvent&) { readOnRelease_ = true; }
void TfrmProperty::cmdMemoReadClick(const FormEvent&) { memo_.Read(); }
void TfrmProperty::cmdMemoUpDateClick(const FormEvent&) { memo_.Update(); }
void TfrmProperty::cmdMemoClrClick(const FormEvent&) { memo_.Clear(); }
void TfrmProperty::MemoChange(const FormEvent&) { memo_.TextEdited(); }

void TfrmProperty::cmdCopyClick(const FormEvent&) { list_.CopyPhraseToHint(); }

void TfrmProperty::cmdAddListClick(const FormEvent&) {
  if (!CheckStorable(hwnd(), ControlWindow(C::txtListMemo), L"登録内容", kCaption) ||
      !CheckStorable(hwnd(), ControlWindow(C::txtListHint), L"ヒント", kCaption)) {
    return;
  }
  list_.Add();
}

void TfrmProperty::cmdDeListClick(const FormEvent&) { list_.Delete(); }
void TfrmProperty::cmdListUpClick(const FormEvent&) { list_.MoveUp(); }
void TfrmProperty::cmdListDownClick(const FormEvent&) { list_.MoveDown(); }
void TfrmProperty::ListBox1DblClick(const FormEvent&) { list_.EditSelected(); }

}  // namespace tabcard
