// What the palette's quick start relies on: controls created where the
// layout keeps them, a grid's geometry taken at creation, and grids changed
// while they cannot be seen painted whole once they are shown.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/main_form.h"
#include "ui/form_builder_win.h"
#include "ui/string_grid_win.h"

namespace tabcard {
namespace {

HWND MakeHost(bool visible, int width, int height) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TabcardStartupTestHost";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0),
                         40, 40, width, height, nullptr, nullptr, wc.hInstance, nullptr);
}

void Pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
}

RECT RectIn(HWND window, HWND host) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

HWND MakeGrid(HWND host, bool visible, const GridCreateParams* params) {
  RegisterStringGridClass();
  return CreateWindowExW(0, kStringGridClass, L"", WS_CHILD | (visible ? WS_VISIBLE : 0), 0, 0,
                         200, 150, host, reinterpret_cast<HMENU>(7), GetModuleHandleW(nullptr),
                         const_cast<GridCreateParams*>(params));
}

TEST(StartupLayoutTest, ControlsAreCreatedWhereTheLayoutKeepsThem) {
  for (const int dpi : {96, 144}) {
    SCOPED_TRACE(dpi);
    HWND host = MakeHost(false, 126 * dpi / 96, 166 * dpi / 96);
    ASSERT_TRUE(host);
    BuiltForm built = BuildControls(forms::MainForm(), host, DpiScale(dpi));
    std::vector<RECT> created;
    for (const BuiltControl& c : built.controls) {
      created.push_back(c.hwnd ? RectIn(c.hwnd, host) : RECT{});
    }
    // The tabs fit from the first one on, so the page control never needed
    // its scroll arrows.
    HWND pc = built.Find(forms::IdOf(forms::MainControl::PageControl1))->hwnd;
    EXPECT_EQ(FindWindowExW(pc, nullptr, UPDOWN_CLASSW, nullptr), nullptr);
    RECT last{};
    ASSERT_TRUE(SendMessageW(pc, TCM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&last)));
    EXPECT_LE(last.right, RectIn(pc, host).right - RectIn(pc, host).left);
    LayoutControls(built, host);
    for (std::size_t i = 0; i < built.controls.size(); ++i) {
      const BuiltControl& c = built.controls[i];
      if (!c.hwnd) continue;
      const RECT now = RectIn(c.hwnd, host);
      EXPECT_TRUE(EqualRect(&now, &created[i])) << c.id;
      EXPECT_GT(now.right - now.left, 0) << c.id;
      EXPECT_GT(now.bottom - now.top, 0) << c.id;
    }
    DestroyWindow(host);
  }
}

TEST(StartupLayoutTest, GridTakesItsGeometryAtCreationClampedAsTheSettersClamp) {
  struct Case {
    GridCreateParams given;
    int cols, rows, colWidth, rowHeight, lineWidth;
  };
  const Case cases[] = {
      {{2, 6, 45, 15, 2}, 2, 6, 45, 15, 2},
      {{0, 40000, -3, 40000, 300}, 1, kMaxGridCount, 0, kMaxGridCellSize, kMaxGridLineWidth},
  };
  HWND host = MakeHost(true, 300, 250);
  ASSERT_TRUE(host);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.given.cols);
    StringGrid grid(MakeGrid(host, true, &c.given));
    ASSERT_TRUE(grid.Handle());
    EXPECT_EQ(grid.ColCount(), c.cols);
    EXPECT_EQ(grid.RowCount(), c.rows);
    EXPECT_EQ(grid.DefaultColWidth(), c.colWidth);
    EXPECT_EQ(grid.DefaultRowHeight(), c.rowHeight);
    EXPECT_EQ(grid.CellRect(0, 1).top - grid.CellRect(0, 0).bottom, c.lineWidth);
    DestroyWindow(grid.Handle());
  }
  DestroyWindow(host);
}

// The grid records no damage while it cannot be seen; what it draws then
// rests on the system invalidating all of it when it comes into view.
TEST(StartupLayoutTest, GridChangedWhileUnseenIsPaintedWholeWhenShown) {
  enum class Hidden { Grid, Host };
  for (const Hidden hidden : {Hidden::Grid, Hidden::Host}) {
    SCOPED_TRACE(hidden == Hidden::Grid ? "grid hidden" : "host hidden");
    HWND host = MakeHost(hidden == Hidden::Grid, 300, 250);
    ASSERT_TRUE(host);
    StringGrid grid(MakeGrid(host, hidden == Hidden::Host, nullptr));
    ASSERT_TRUE(grid.Handle());
    Pump();
    grid.SetCell(1, 2, "氏名");
    grid.SetShape(3, grid.RowCount());
    ShowWindow(hidden == Hidden::Grid ? grid.Handle() : host, SW_SHOWNA);
    RECT update{};
    RECT client{};
    GetClientRect(grid.Handle(), &client);
    ASSERT_TRUE(GetUpdateRect(grid.Handle(), &update, FALSE));
    EXPECT_TRUE(EqualRect(&update, &client));
    DestroyWindow(host);
  }
}

TEST(StartupLayoutTest, VisibleGridStillInvalidatesTheChangedCell) {
  HWND host = MakeHost(true, 300, 250);
  ASSERT_TRUE(host);
  const GridCreateParams geometry{2, 6, 45, 15, 2};
  StringGrid grid(MakeGrid(host, true, &geometry));
  ASSERT_TRUE(grid.Handle());
  UpdateWindow(host);
  UpdateWindow(grid.Handle());
  RECT update{};
  ASSERT_FALSE(GetUpdateRect(grid.Handle(), &update, FALSE));
  grid.SetCell(1, 2, "氏名");
  ASSERT_TRUE(GetUpdateRect(grid.Handle(), &update, FALSE));
  const RECT cell = grid.CellRect(1, 2);
  EXPECT_TRUE(EqualRect(&update, &cell));
  DestroyWindow(host);
}

}  // namespace
}  // namespace tabcard
