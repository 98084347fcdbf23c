// The grids as a screen reader meets them: from this process, as an
// assistive tool would, through oleacc's marshalled IAccessible and an
// out-of-context WinEvent hook. (Every scenario reads its grids this way,
// through GridReader; this one checks the interface itself.)
#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/strconv_win.h"
#include "forms/main_form.h"
#include "forms/option_form.h"
#include "forms/property_form.h"
#include "app/main_menus.h"
#include "harness.h"
#include "input.h"
#include "palette_setup.h"
#include "store/layout.h"
#include "forms/palette.h"
#include "store/registry_win.h"
#include "store/settings.h"

namespace tabcard::e2e {
namespace {

struct AccPtr {
  IAccessible* p = nullptr;
  AccPtr() = default;
  AccPtr(const AccPtr&) = delete;
  AccPtr& operator=(const AccPtr&) = delete;
  ~AccPtr() {
    if (p) p->Release();
  }
  IAccessible* operator->() const { return p; }
};

VARIANT Child(long id) {
  VARIANT v{};
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

// The name of a child, or "<failed>" when the call fails.
std::wstring NameOf(IAccessible* acc, long id) {
  BSTR name = nullptr;
  if (FAILED(acc->get_accName(Child(id), &name))) return L"<failed>";
  std::wstring text = name ? std::wstring(name, SysStringLen(name)) : L"";
  SysFreeString(name);
  return text;
}

long LongOf(HRESULT hr, const VARIANT& v) { return SUCCEEDED(hr) && v.vt == VT_I4 ? v.lVal : -1; }

struct Seen {
  DWORD event;
  HWND hwnd;
  LONG object;
  LONG child;
};
std::vector<Seen> g_events;

void CALLBACK OnObjectEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child,
                            DWORD, DWORD) {
  g_events.push_back(Seen{event, hwnd, object, child});
}

// Whether the last such event was about that child of the grid.
bool LastEventNames(DWORD event, HWND grid, LONG child) {
  for (auto it = g_events.rbegin(); it != g_events.rend(); ++it) {
    if (it->event != event) continue;
    return it->hwnd == grid && it->object == OBJID_CLIENT && it->child == child;
  }
  return false;
}

class AccessibilityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteBaseKey();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  }
  void TearDown() override {
    if (hook_) UnhookWinEvent(hook_);
    if (program_.IsRunning()) program_.Close();
    DeleteBaseKey();
    CoUninitialize();
  }

  void FromWindow(HWND grid, AccPtr& acc) {
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(AccessibleObjectFromWindow(grid, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&acc.p)),
              S_OK);
  }

  // The grid's name, role and every cell's name, as the stored settings
  // say the grid shows them; the reader finds the same shape.
  void ReadsLikeTheGrid(HWND grid, const std::wstring& name, const CellTexts& shown) {
    SCOPED_TRACE(Narrow(name));
    AccPtr acc;
    ASSERT_NO_FATAL_FAILURE(FromWindow(grid, acc));
    VARIANT role{};
    EXPECT_EQ(LongOf(acc->get_accRole(Child(CHILDID_SELF), &role), role), ROLE_SYSTEM_TABLE);
    EXPECT_EQ(NameOf(acc.p, CHILDID_SELF), name);
    long count = 0;
    ASSERT_EQ(acc->get_accChildCount(&count), S_OK);
    ASSERT_EQ(count, shown.Cols() * shown.Rows());
    const auto g = reader_.Geometry(grid);
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->cols, shown.Cols());
    EXPECT_EQ(g->rows, shown.Rows());
    for (int row = 0; row < shown.Rows(); ++row) {
      for (int col = 0; col < shown.Cols(); ++col) {
        EXPECT_EQ(NameOf(acc.p, row * shown.Cols() + col + 1), Widen(shown.At(col, row)))
            << col << "," << row;
      }
    }
    EXPECT_EQ(LongOf(acc->get_accRole(Child(count), &role), role), ROLE_SYSTEM_CELL);
  }

  // What a page's grid shows from the standard settings: item names on the
  // personal pages; no memo file and no phrase exist.
  CellTexts Shown(int page) {
    WinRegistry registry;
    PaletteSettings settings;
    LoadSettings(registry, StandardFont(GetACP() == 932), &settings);
    const PageConfig& c = settings.configs[static_cast<std::size_t>(page)];
    const GridShape shape{c.ColCount, c.RowCount};
    if (page == kPageKojin1 || page == kPageKojin2) {
      return PersonalCells(shape, settings.items[static_cast<std::size_t>(page)]);
    }
    return CellTexts(shape);
  }

  // A click's tooltip hint (氏名's value) is heard as that cell's
  // description, and only there.
  void HearsTheHintOfAClick(HWND grid) {
    ASSERT_TRUE(Click(reader_.CellCentre(grid, 0, 0)));
    EXPECT_TRUE(WaitFor([&] { return reader_.Hint(grid, 0, 0) == kProfileName; }, kActMs))
        << Narrow(reader_.Hint(grid, 0, 0).value_or(L"<no hint>"));
    EXPECT_EQ(reader_.Hint(grid, 1, 0), std::nullopt);
    EXPECT_TRUE(WaitFor(
        [&] { return LastEventNames(EVENT_OBJECT_DESCRIPTIONCHANGE, grid, 1); }, kActMs));
  }

  HWND OpenDialog(int command, const wchar_t* className) {
    PostMessageW(main_, WM_SYSCOMMAND, static_cast<WPARAM>(command), 0);
    HWND dlg = nullptr;
    WaitFor([&] { return (dlg = FindTopLevelNow({program_.pid(), className, true})); }, kActMs);
    return dlg;
  }
  void Cancel(HWND dlg) {
    PostMessageW(Control(dlg, forms::kModalCancel, 1000), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dlg); }, kActMs));
  }

  TempDir dir_;
  Program program_;
  GridReader reader_;
  HWND main_ = nullptr;
  HWINEVENTHOOK hook_ = nullptr;
};

TEST_F(AccessibilityTest, ReaderReadsEveryGridHearsHintsFollowsTheFocusAndOutlivesTheGrids) {
  ASSERT_TRUE(StoreCompleteProfile({kPageKojin1, false}));
  ASSERT_TRUE(program_.Start(dir_.path()));
  main_ = program_.MainWindow();
  ASSERT_NE(main_, nullptr);
  HWND grid = Control(main_, forms::kMainGrids[kPageKojin1]);
  for (int page = 0; page < kPageCount; ++page) {
    ReadsLikeTheGrid(Control(main_, forms::kMainGrids[page]), Widen(kPageCaptions[page]),
                     Shown(page));
  }
  AccPtr acc, hidden;
  ASSERT_NO_FATAL_FAILURE(FromWindow(grid, acc));
  EXPECT_EQ(NameOf(acc.p, 1), L"氏名");
  ASSERT_NO_FATAL_FAILURE(FromWindow(Control(main_, forms::kMainGrids[kPageMemo]), hidden));
  VARIANT state{};
  EXPECT_NE(LongOf(hidden->get_accState(Child(1), &state), state) & STATE_SYSTEM_INVISIBLE, 0);
  EXPECT_EQ(LongOf(acc->get_accState(Child(1), &state), state) & STATE_SYSTEM_INVISIBLE, 0);

  g_events.clear();
  hook_ = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_DESCRIPTIONCHANGE, nullptr,
                          OnObjectEvent, program_.pid(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook_, nullptr);
  ASSERT_TRUE(BringForward(main_));

  ASSERT_NO_FATAL_FAILURE(HearsTheHintOfAClick(grid));

  // The focus as a reader sets it, then follows an arrow key.
  ASSERT_EQ(acc->accSelect(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION, Child(2)), S_OK);
  VARIANT v{};
  ASSERT_TRUE(WaitFor([&] { return LongOf(acc->get_accFocus(&v), v) == 2; }, kActMs));
  ASSERT_TRUE(PressKey(VK_DOWN));  // 2 x 6 cells: from (1,0) to (1,1), child 4
  EXPECT_TRUE(WaitFor([&] { return LongOf(acc->get_accFocus(&v), v) == 4; }, kActMs));
  EXPECT_EQ(LongOf(acc->get_accSelection(&v), v), 4);
  EXPECT_TRUE(WaitFor([&] { return LastEventNames(EVENT_OBJECT_FOCUS, grid, 4); }, kActMs));
  // The hint stays with the cell it was shown for.
  EXPECT_EQ(reader_.Hint(grid, 0, 0), kProfileName);
  EXPECT_EQ(reader_.Hint(grid, 1, 1), std::nullopt);
  constexpr long kCurrent = STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED;
  EXPECT_EQ(LongOf(acc->get_accState(Child(4), &v), v) & kCurrent, kCurrent);
  EXPECT_EQ(LongOf(acc->get_accState(Child(2), &v), v) & STATE_SYSTEM_SELECTED, 0);
  EXPECT_EQ(LongOf(acc->accNavigate(NAVDIR_LEFT, Child(4), &v), v), 3);

  // The cell under a point, the grid beside the cells, nothing outside.
  long x = 0, y = 0, w = 0, h = 0;
  ASSERT_EQ(acc->accLocation(&x, &y, &w, &h, Child(5)), S_OK);
  EXPECT_EQ(LongOf(acc->accHitTest(x + w / 2, y + h / 2, &v), v), 5);
  const RECT bounds = WindowBounds(grid);
  EXPECT_EQ(acc->accHitTest(bounds.left - 5, bounds.top + 5, &v), S_FALSE);
  EXPECT_EQ(v.vt, VT_EMPTY);

  // The dialogs' grids: the options previews, then the editor's memo grid,
  // held by this process while its dialog closes.
  HWND options = OpenDialog(kSysOption, L"TfrmOption");
  ASSERT_NE(options, nullptr);
  for (int page = 0; page < kPageCount; ++page) {
    ReadsLikeTheGrid(Control(options, forms::kPreviewGrids[page], 1000),
                     Widen(kPageCaptions[page]), Shown(page));
  }
  ASSERT_NO_FATAL_FAILURE(Cancel(options));
  HWND editor = OpenDialog(kSysProperty, L"TfrmProperty");
  ASSERT_NE(editor, nullptr);
  HWND memo = Control(editor, forms::PropertyControl::SGrdMemo, 1000);
  // The editor lists every memo slot in one column.
  const CellTexts memoPage = Shown(kPageMemo);
  ReadsLikeTheGrid(memo, L"メモ", CellTexts(GridShape{1, memoPage.Cols() * memoPage.Rows()}));
  AccPtr held;
  ASSERT_NO_FATAL_FAILURE(FromWindow(memo, held));
  ASSERT_NO_FATAL_FAILURE(Cancel(editor));
  long count = 0;
  EXPECT_TRUE(FAILED(held->get_accChildCount(&count)));
  EXPECT_EQ(NameOf(held.p, 1), L"<failed>");
  EXPECT_TRUE(program_.IsRunning());
  EXPECT_EQ(NameOf(acc.p, 1), L"氏名");

  // Quitting with the palette's object still held.
  EXPECT_EQ(program_.Close(), std::optional<DWORD>(0));
  EXPECT_EQ(NameOf(acc.p, 1), L"<failed>");
}

}  // namespace
}  // namespace tabcard::e2e
