#include "ui/grid_accessible_win.h"

#include <oleacc.h>

#include <new>
#include <string>

#include "ui/grid_access.h"
#include "ui/string_grid_win.h"

namespace tabcard {
namespace {

// Resolved at the first request: a start that no assistive tool asks about
// loads nothing of COM.
struct OleApi {
  decltype(&CoInitializeEx) coInitializeEx = nullptr;
  decltype(&CoDisconnectObject) coDisconnectObject = nullptr;
  decltype(&LresultFromObject) lresultFromObject = nullptr;
  decltype(&CreateStdAccessibleObject) createStdAccessibleObject = nullptr;
  decltype(&SysAllocStringLen) sysAllocStringLen = nullptr;
};

template <class F>
void Resolve(HMODULE library, const char* name, F& fn) {
  fn = library ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)))
               : nullptr;
}

const OleApi* Ole() {
  static const OleApi api = [] {
    OleApi a;
    HMODULE ole32 = LoadLibraryW(L"ole32.dll");
    HMODULE oleacc = LoadLibraryW(L"oleacc.dll");
    HMODULE oleaut32 = LoadLibraryW(L"oleaut32.dll");
    Resolve(ole32, "CoInitializeEx", a.coInitializeEx);
    Resolve(ole32, "CoDisconnectObject", a.coDisconnectObject);
    Resolve(oleacc, "LresultFromObject", a.lresultFromObject);
    Resolve(oleacc, "CreateStdAccessibleObject", a.createStdAccessibleObject);
    Resolve(oleaut32, "SysAllocStringLen", a.sysAllocStringLen);
    // The grid's thread joins an apartment once, so the object can be
    // marshalled to other processes; it stays in it until the process ends.
    if (a.coInitializeEx) a.coInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return a;
  }();
  const bool complete = api.coDisconnectObject && api.lresultFromObject &&
                        api.createStdAccessibleObject && api.sysAllocStringLen;
  return complete ? &api : nullptr;
}

void SetChild(VARIANT* v, long id) {
  if (id == kNoChild) {
    v->vt = VT_EMPTY;
  } else {
    v->vt = VT_I4;
    v->lVal = id;
  }
}

}  // namespace

class GridAccessible final : public IAccessible {
 public:
  GridAccessible(HWND grid, IAccessible* standard) : grid_(grid), standard_(standard) {}

  void Disconnect() {
    grid_ = nullptr;
    if (standard_) standard_->Release();
    standard_ = nullptr;
    if (const OleApi* ole = Ole()) ole->coDisconnectObject(this, 0);
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
        iid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) {
      if (standard_) standard_->Release();
      delete this;
    }
    return static_cast<ULONG>(left);
  }

  // IDispatch: assistive tools call the vtable.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    return grid_ ? standard_->get_accParent(parent) : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    if (!grid_) return E_FAIL;
    const Counts n = CountsNow();
    *count = static_cast<long>(n.cols) * n.rows;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!grid_) return E_FAIL;
    return CellOf(child).IsCell() ? S_FALSE : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return ForSelfOrCell(child, value, &IAccessible::get_accValue);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    role->vt = VT_EMPTY;
    if (!grid_) return E_FAIL;
    if (!IsSelf(child) && !CellOf(child).IsCell()) return E_INVALIDARG;
    role->vt = VT_I4;
    role->lVal = IsSelf(child) ? ROLE_SYSTEM_TABLE : ROLE_SYSTEM_CELL;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
    return ForSelfOrCell(child, text, &IAccessible::get_accHelp);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    if (!file || !topic) return E_POINTER;
    *file = nullptr;
    *topic = 0;
    if (!grid_) return E_FAIL;
    if (IsSelf(child)) return standard_->get_accHelpTopic(file, child, topic);
    return CellOf(child).IsCell() ? S_FALSE : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
    return ForSelfOrCell(child, keys, &IAccessible::get_accKeyboardShortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    focus->vt = VT_EMPTY;
    if (!grid_) return E_FAIL;
    if (GetFocus() != grid_) return S_FALSE;
    SetChild(focus, CurrentChild());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    selection->vt = VT_EMPTY;
    if (!grid_) return E_FAIL;
    SetChild(selection, CurrentChild());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return ForSelfOrCell(child, action, &IAccessible::get_accDefaultAction);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h,
                                        VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(long dir, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (!grid_) return E_FAIL;
    // A cell's action would send it into another program: not for a reader.
    return IsSelf(child) ? standard_->accDoDefaultAction(child) : DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  struct Counts {
    int cols;
    int rows;
  };
  ~GridAccessible() = default;

  Counts CountsNow() const {
    const LRESULT r = SendMessageW(grid_, SGM_GETCOUNTS, 0, 0);
    return Counts{LOWORD(r), HIWORD(r)};
  }
  static bool IsSelf(const VARIANT& v) { return v.vt == VT_I4 && v.lVal == CHILDID_SELF; }
  GridCell CellOf(const VARIANT& v) const {
    if (v.vt != VT_I4) return kNoCell;
    const Counts n = CountsNow();
    return ChildCell(v.lVal, n.cols, n.rows);
  }
  long CurrentChild() const {
    const Counts n = CountsNow();
    return CellChildId(UnpackCell(SendMessageW(grid_, SGM_GETCURCELL, 0, 0)), n.cols, n.rows);
  }
  // The grid's own text comes from the standard object; a cell has none.
  HRESULT ForSelfOrCell(VARIANT child, BSTR* out,
                        HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!grid_) return E_FAIL;
    if (IsSelf(child)) return (standard_->*get)(child, out);
    return CellOf(child).IsCell() ? S_FALSE : E_INVALIDARG;
  }
  LONG StateOfCell(GridCell c) const;
  // A cell's text through a message that copies into a GridTextBuffer
  // (SGM_GETCELLTEXT, SGM_GETCELLHINT, SGM_GETCELLMARK); "" when it has none.
  std::wstring CellText(UINT message, GridCell c) const;

  LONG refs_ = 1;
  HWND grid_;
  IAccessible* standard_;
};

HRESULT GridAccessible::get_accName(VARIANT child, BSTR* name) {
  if (!name) return E_POINTER;
  *name = nullptr;
  if (!grid_) return E_FAIL;
  const OleApi* ole = Ole();
  if (IsSelf(child)) {
    // The window text: the builder sets it to the grid's page or label.
    const int length = GetWindowTextLengthW(grid_);
    if (length <= 0) return S_FALSE;
    *name = ole->sysAllocStringLen(nullptr, static_cast<UINT>(length));
    if (!*name) return E_OUTOFMEMORY;
    GetWindowTextW(grid_, *name, length + 1);
    return S_OK;
  }
  const GridCell c = CellOf(child);
  if (!c.IsCell()) return E_INVALIDARG;
  const std::wstring text = CellText(SGM_GETCELLTEXT, c);
  *name = ole->sysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *name ? S_OK : E_OUTOFMEMORY;
}

// The hint the cell's click showed, while the tooltip is on, and the label
// of the cell's mark.
HRESULT GridAccessible::get_accDescription(VARIANT child, BSTR* text) {
  if (!text) return E_POINTER;
  *text = nullptr;
  if (!grid_) return E_FAIL;
  if (IsSelf(child)) return standard_->get_accDescription(child, text);
  const GridCell c = CellOf(child);
  if (!c.IsCell()) return E_INVALIDARG;
  const std::wstring description =
      CellDescription(CellText(SGM_GETCELLHINT, c), CellText(SGM_GETCELLMARK, c));
  if (description.empty()) return S_FALSE;
  *text = Ole()->sysAllocStringLen(description.data(), static_cast<UINT>(description.size()));
  return *text ? S_OK : E_OUTOFMEMORY;
}

std::wstring GridAccessible::CellText(UINT message, GridCell c) const {
  const WPARAM cell = PackCell(c.col, c.row);
  GridTextBuffer probe{nullptr, 0};
  const LRESULT length = SendMessageW(grid_, message, cell, reinterpret_cast<LPARAM>(&probe));
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GridTextBuffer buffer{text.data(), static_cast<int>(text.size())};
  SendMessageW(grid_, message, cell, reinterpret_cast<LPARAM>(&buffer));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

LONG GridAccessible::StateOfCell(GridCell c) const {
  LONG state = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
  if (UnpackCell(SendMessageW(grid_, SGM_GETCURCELL, 0, 0)) == c) {
    state |= STATE_SYSTEM_SELECTED;
    if (GetFocus() == grid_) state |= STATE_SYSTEM_FOCUSED;
  }
  RECT cell{}, client{}, visible{};
  SendMessageW(grid_, SGM_GETCELLRECT, PackCell(c.col, c.row), reinterpret_cast<LPARAM>(&cell));
  GetClientRect(grid_, &client);
  if (!IsWindowVisible(grid_)) {
    state |= STATE_SYSTEM_INVISIBLE;
  } else if (!IntersectRect(&visible, &cell, &client)) {
    state |= STATE_SYSTEM_OFFSCREEN;  // scrolled out of view
  }
  return state;
}

HRESULT GridAccessible::get_accState(VARIANT child, VARIANT* state) {
  if (!state) return E_POINTER;
  state->vt = VT_EMPTY;
  if (!grid_) return E_FAIL;
  if (IsSelf(child)) return standard_->get_accState(child, state);
  const GridCell c = CellOf(child);
  if (!c.IsCell()) return E_INVALIDARG;
  state->vt = VT_I4;
  state->lVal = StateOfCell(c);
  return S_OK;
}

HRESULT GridAccessible::accSelect(long flags, VARIANT child) {
  if (!grid_) return E_FAIL;
  constexpr long kSupported = SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION;
  if (flags == SELFLAG_NONE || (flags & ~kSupported) != 0) return E_INVALIDARG;
  if (IsSelf(child)) {
    if (flags != SELFLAG_TAKEFOCUS) return E_INVALIDARG;
    SetFocus(grid_);
    return S_OK;
  }
  const GridCell c = CellOf(child);
  if (!c.IsCell()) return E_INVALIDARG;
  HWND grid = grid_;
  if (flags & SELFLAG_TAKEFOCUS) SetFocus(grid);
  // As a click moves it: the owner hears of the move, nothing is sent.
  if (IsWindow(grid)) SendMessageW(grid, SGM_SETCURCELL, PackCell(c.col, c.row), TRUE);
  return S_OK;
}

HRESULT GridAccessible::accLocation(long* x, long* y, long* w, long* h, VARIANT child) {
  if (!x || !y || !w || !h) return E_POINTER;
  *x = *y = *w = *h = 0;
  if (!grid_) return E_FAIL;
  if (IsSelf(child)) return standard_->accLocation(x, y, w, h, child);
  const GridCell c = CellOf(child);
  RECT r{};
  if (!c.IsCell() ||
      !SendMessageW(grid_, SGM_GETCELLRECT, PackCell(c.col, c.row), reinterpret_cast<LPARAM>(&r))) {
    return E_INVALIDARG;
  }
  MapWindowPoints(grid_, nullptr, reinterpret_cast<POINT*>(&r), 2);
  *x = r.left;
  *y = r.top;
  *w = r.right - r.left;
  *h = r.bottom - r.top;
  return S_OK;
}

HRESULT GridAccessible::accNavigate(long dir, VARIANT start, VARIANT* end) {
  if (!end) return E_POINTER;
  end->vt = VT_EMPTY;
  if (!grid_) return E_FAIL;
  ChildMove move;
  switch (dir) {
    case NAVDIR_LEFT: move = ChildMove::kLeft; break;
    case NAVDIR_RIGHT: move = ChildMove::kRight; break;
    case NAVDIR_UP: move = ChildMove::kUp; break;
    case NAVDIR_DOWN: move = ChildMove::kDown; break;
    case NAVDIR_FIRSTCHILD: move = ChildMove::kFirst; break;
    case NAVDIR_LASTCHILD: move = ChildMove::kLast; break;
    case NAVDIR_NEXT: move = ChildMove::kNext; break;
    case NAVDIR_PREVIOUS: move = ChildMove::kPrevious; break;
    default: return E_INVALIDARG;
  }
  const bool self = IsSelf(start);
  if (self && move != ChildMove::kFirst && move != ChildMove::kLast) {
    return standard_->accNavigate(dir, start, end);  // the window among its siblings
  }
  if (!self && !CellOf(start).IsCell()) return E_INVALIDARG;
  const Counts n = CountsNow();
  const long to = MoveChild(start.lVal, move, n.cols, n.rows);
  SetChild(end, to);
  return to == kNoChild ? S_FALSE : S_OK;
}

HRESULT GridAccessible::accHitTest(long x, long y, VARIANT* hit) {
  if (!hit) return E_POINTER;
  hit->vt = VT_EMPTY;
  if (!grid_) return E_FAIL;
  RECT window{};
  GetWindowRect(grid_, &window);
  POINT p{x, y};
  const bool inside = PtInRect(&window, p) != FALSE;
  ScreenToClient(grid_, &p);
  const GridCell c = UnpackCell(SendMessageW(grid_, SGM_MOUSETOCELL, 0, MAKELPARAM(p.x, p.y)));
  const Counts n = CountsNow();
  const long id = HitChild(inside, c, n.cols, n.rows);
  SetChild(hit, id);
  return id == kNoChild ? S_FALSE : S_OK;
}

LRESULT AnswerGridObject(HWND grid, GridAccessible*& held, WPARAM wp, LPARAM lp) {
  if (static_cast<LONG>(lp) != OBJID_CLIENT) return 0;
  const OleApi* ole = Ole();
  if (!ole) return 0;
  if (!held) {
    IAccessible* standard = nullptr;
    if (FAILED(ole->createStdAccessibleObject(grid, OBJID_CLIENT, __uuidof(IAccessible),
                                               reinterpret_cast<void**>(&standard)))) {
      return 0;
    }
    held = new (std::nothrow) GridAccessible(grid, standard);
    if (!held) {
      standard->Release();
      return 0;
    }
  }
  return ole->lresultFromObject(__uuidof(IAccessible), wp, static_cast<IAccessible*>(held));
}

void ReleaseGridAccessible(GridAccessible*& held) {
  if (!held) return;
  held->Disconnect();
  held->Release();
  held = nullptr;
}

void NotifyCellEvent(HWND grid, DWORD event, GridCell cell, int cols, int rows) {
  const long id = CellChildId(cell, cols, rows);
  NotifyWinEvent(event, grid, OBJID_CLIENT, id == kNoChild ? CHILDID_SELF : id);
}

}  // namespace tabcard
