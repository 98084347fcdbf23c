#include "editor/property_win.h"

#include <commctrl.h>

#include <utility>

#include "app/help.h"
#include "app/help_win.h"
#include "core/strconv_win.h"
#include "forms/property_form.h"
#include "ui/storable_win.h"
#include "ui/string_grid_win.h"

namespace tabcard {
namespace {

using forms::EventArgs;
using forms::kPropertyFields;
using Router = forms::EventRouter<TfrmProperty>;

constexpr wchar_t kCaption[] = L"プロパティ";

const Router::NamedHandler kHandlers[] = {
    {"PageControl1Change", &TfrmProperty::PageControl1Change},
    {"cboUser1Change", &TfrmProperty::cboUser1Change},
    {"cboUser2Change", &TfrmProperty::cboUser2Change},
    {"cboUser3Change", &TfrmProperty::cboUser3Change},
    {"cmdOKClick", &TfrmProperty::cmdOKClick},
    {"cmdCancelClick", &TfrmProperty::cmdCancelClick},
    {"cmdHelpClick", &TfrmProperty::cmdHelpClick},
    {"SGrdMemoClick", &TfrmProperty::SGrdMemoClick},
    {"SGrdMemoMouseUp", &TfrmProperty::SGrdMemoMouseUp},
    {"SGrdMemoDblClick", &TfrmProperty::SGrdMemoDblClick},
    {"cmdMemoReadClick", &TfrmProperty::cmdMemoReadClick},
    {"cmdMemoUpDateClick", &TfrmProperty::cmdMemoUpDateClick},
    {"cmdMemoClrClick", &TfrmProperty::cmdMemoClrClick},
    {"MemoChange", &TfrmProperty::MemoChange},
    {"cmdCopyClick", &TfrmProperty::cmdCopyClick},
    {"cmdAddListClick", &TfrmProperty::cmdAddListClick},
    {"cmdDeListClick", &TfrmProperty::cmdDeListClick},
    {"cmdListUpClick", &TfrmProperty::cmdListUpClick},
    {"cmdListDownClick", &TfrmProperty::cmdListDownClick},
    {"ListBox1DblClick", &TfrmProperty::ListBox1DblClick},
};

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
    ShowSheet(w_.built(), forms::kPropertyPageControl, page);
  }

 private:
  HWND List(int list) const { return w_.ControlWindow(forms::kUserListNames[list]); }

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
  std::string MemoText() const override { return w_.ControlText("Memo"); }
  void SetMemoText(std::string_view text) override { w_.SetControlText("Memo", text); }
  bool MemoModified() const override { return SendMessageW(Box(), EM_GETMODIFY, 0, 0) != 0; }
  void SetMemoModified(bool modified) override {
    SendMessageW(Box(), EM_SETMODIFY, modified ? TRUE : FALSE, 0);
  }
  bool MemoStorable() override { return CheckStorable(w_.hwnd(), Box(), L"メモ", L"メモ保存"); }
  bool Ask(std::string_view text, std::string_view caption) override {
    return MessageBoxW(w_.hwnd(), Widen(text).c_str(), Widen(caption).c_str(),
                       MB_YESNO | MB_ICONINFORMATION) == IDYES;
  }
  void Warn(std::string_view text, std::string_view caption) override {
    w_.Warn(Widen(text).c_str(), Widen(caption).c_str());
  }

 private:
  StringGrid Grid() const { return StringGrid(w_.ControlWindow("SGrdMemo")); }
  HWND Box() const { return w_.ControlWindow("Memo"); }

  TfrmProperty& w_;
};

class TfrmProperty::ListControls : public ListPageView {
 public:
  explicit ListControls(TfrmProperty& w) : w_(w) {}

  std::string MemoText() const override { return w_.ControlText("txtListMemo"); }
  void SetMemoText(std::string_view text) override { w_.SetControlText("txtListMemo", text); }
  std::string HintText() const override { return w_.ControlText("txtListHint"); }
  void SetHintText(std::string_view text) override { w_.SetControlText("txtListHint", text); }
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
    HWND edit = w_.ControlWindow("txtListMemo");
    SetFocus(edit);
    if (selectAll) SendMessageW(edit, EM_SETSEL, 0, -1);
  }

 private:
  HWND Box() const { return w_.ControlWindow("ListBox1"); }

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
             PropertyPageHooks{nullptr, [this] { memo_.Create(store_); },
                               [this] { list_.Load(store_); },
                               [this] { return list_.Save(store_); }}),
      router_(forms::PropertyForm(), forms::MakeTable(kHandlers)) {}

TfrmProperty::~TfrmProperty() = default;

bool TfrmProperty::Execute(HWND owner) {
  CreateForm(owner);
  model_.FormCreate();
  return ShowModal(owner) == forms::kModalOk;
}

bool TfrmProperty::Fire(const char* control, forms::Event event, const EventArgs& args) {
  return router_.Fire(*this, control, event, args);
}

// Leaving a field page stores its boxes: a box with text the store cannot
// hold keeps the page from being left.
LRESULT TfrmProperty::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NOTIFY) {
    const NMHDR& hdr = *reinterpret_cast<const NMHDR*>(lp);
    if (hdr.code == TCN_SELCHANGING &&
        hdr.hwndFrom == ControlWindow(forms::kPropertyPageControl)) {
      return FieldPageStorable(model_.currentPage()) ? FALSE : TRUE;
    }
  }
  return FormWindow::OnMessage(msg, wp, lp);
}

bool TfrmProperty::FieldPageStorable(int page) {
  if (page < 0 || page >= kFieldPageCount) return true;
  const FieldRun run = kFieldRuns[page];
  for (int i = run.first; i < run.first + run.count; ++i) {
    const forms::PropertyField& f = kPropertyFields[i];
    if (!CheckStorable(hwnd(), ControlWindow(f.control), Widen(f.label), kCaption)) return false;
  }
  return true;
}

void TfrmProperty::Warn(const wchar_t* text, const wchar_t* caption) {
  MessageBoxW(hwnd(), text, caption, MB_OK | MB_ICONEXCLAMATION);
}

void TfrmProperty::PageControl1Change(const EventArgs&) {
  model_.PageControl1Change(ActiveTab(built(), forms::kPropertyPageControl));
}

void TfrmProperty::UserChange(int list) {
  if (!FieldPageStorable(list)) {
    // The edits stay with the user they were typed for.
    fields_->SelectUser(list, model_.currentUser());
    return;
  }
  if (list == kTabKojin) model_.cboUser1Change();
  if (list == kTabKinmusaki) model_.cboUser2Change();
  if (list == kTabEtc) model_.cboUser3Change();
}

void TfrmProperty::cboUser1Change(const EventArgs&) { UserChange(kTabKojin); }
void TfrmProperty::cboUser2Change(const EventArgs&) { UserChange(kTabKinmusaki); }
void TfrmProperty::cboUser3Change(const EventArgs&) { UserChange(kTabEtc); }

// A failed save keeps the dialog open with every edit, so that the user can
// try again or cancel instead of losing the edits unawares.
void TfrmProperty::cmdOKClick(const EventArgs& e) {
  auto refuse = [&] {
    if (e.accept) *e.accept = false;
  };
  if (!FieldPageStorable(model_.currentPage())) return refuse();
  const PropertySaveResult result = model_.cmdOKClick();
  if (result.Closes()) return;
  Warn(!result.usersSaved ? L"プロフィールを保存できませんでした。\n"
                            L"もう一度 OK を押すか、ｷｬﾝｾﾙで閉じてください。"
                          : L"リストを保存できませんでした。\n"
                            L"もう一度 OK を押すか、ｷｬﾝｾﾙで閉じてください。",
       kCaption);
  refuse();
}

void TfrmProperty::cmdCancelClick(const EventArgs&) { model_.cmdCancelClick(); }

void TfrmProperty::cmdHelpClick(const EventArgs&) { OpenHelp(hwnd(), helpFile_, kHelpProperty); }

void TfrmProperty::SGrdMemoClick(const EventArgs&) { memo_.SGrdMemoClick(); }

void TfrmProperty::SGrdMemoMouseUp(const EventArgs&) {
  memo_.SGrdMemoClick();
  if (!readOnRelease_) return;
  readOnRelease_ = false;
  memo_.cmdMemoReadClick();
}

// Read may ask a question; asked from the press, the box would come up while
// the grid holds the mouse for the press that follows.
void TfrmProperty::SGrdMemoDblClick(const EventArgs&) { readOnRelease_ = true; }
void TfrmProperty::cmdMemoReadClick(const EventArgs&) { memo_.cmdMemoReadClick(); }
void TfrmProperty::cmdMemoUpDateClick(const EventArgs&) { memo_.cmdMemoUpDateClick(); }
void TfrmProperty::cmdMemoClrClick(const EventArgs&) { memo_.cmdMemoClrClick(); }
void TfrmProperty::MemoChange(const EventArgs&) { memo_.MemoChange(); }

void TfrmProperty::cmdCopyClick(const EventArgs&) { list_.cmdCopyClick(); }

void TfrmProperty::cmdAddListClick(const EventArgs&) {
  if (!CheckStorable(hwnd(), ControlWindow("txtListMemo"), L"登録内容", kCaption) ||
      !CheckStorable(hwnd(), ControlWindow("txtListHint"), L"ヒント", kCaption)) {
    return;
  }
  list_.cmdAddListClick();
}

void TfrmProperty::cmdDeListClick(const EventArgs&) { list_.cmdDeListClick(); }
void TfrmProperty::cmdListUpClick(const EventArgs&) { list_.cmdListUpClick(); }
void TfrmProperty::cmdListDownClick(const EventArgs&) { list_.cmdListDownClick(); }
void TfrmProperty::ListBox1DblClick(const EventArgs&) { list_.ListBox1DblClick(); }

}  // namespace tabcard
