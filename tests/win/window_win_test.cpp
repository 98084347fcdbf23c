// The window base, the error display, the form builder, the application
// window and the single-instance marker, against real windows.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/application_win.h"
#include "app/single_instance_win.h"
#include "forms/main_form.h"
#include "forms/property_form.h"
#include "ui/app_error_win.h"
#include "ui/form_builder_win.h"
#include "ui/gdi_win.h"
#include "core/strconv_win.h"
#include "ui/string_grid_win.h"
#include "ui/window_win.h"
#include "source_path.h"

namespace tabcard {
namespace {

std::vector<std::wstring> g_reported;
void Collect(const std::wstring& text) { g_reported.push_back(text); }

class ErrorSinkScope {
 public:
  ErrorSinkScope() {
    g_reported.clear();
    SetErrorSinkForTest(Collect);
  }
  ~ErrorSinkScope() { SetErrorSinkForTest(nullptr); }
};

class ThrowingWindow : public Window {
 public:
  void Make() {
    RegisterClassOnce(L"TabcardTestThrowing", 0, nullptr);
    Create(L"TabcardTestThrowing", 0, WS_POPUP, L"", RECT{0, 0, 10, 10}, nullptr);
  }
  bool ncDestroyed = false;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_SETTEXT) throw std::runtime_error("\x95\xdb\x91\xb6\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1");
    if (msg == WM_USER) throw 42;
    return DefaultProc(msg, wp, lp);
  }
  void OnNcDestroy() override { ncDestroyed = true; }
};

TEST(WindowBaseTest, ExceptionIsReportedAndMessageStillGetsDefaultProcessing) {
  ErrorSinkScope sink;
  ThrowingWindow w;
  w.Make();
  SetWindowTextW(w.hwnd(), L"abc");
  ASSERT_EQ(g_reported.size(), 1u);
  // The message followed by a full stop.
  EXPECT_EQ(g_reported[0], L"保存できません.");
  wchar_t text[16] = {};
  GetWindowTextW(w.hwnd(), text, 16);
  EXPECT_STREQ(text, L"abc");
  SendMessageW(w.hwnd(), WM_USER, 0, 0);
  ASSERT_EQ(g_reported.size(), 2u);
  EXPECT_FALSE(g_reported[1].empty());
}

TEST(WindowBaseTest, ObjectLetsGoOfItsWindowAtNcDestroy) {
  ThrowingWindow w;
  w.Make();
  HWND h = w.hwnd();
  ASSERT_TRUE(IsWindow(h));
  DestroyWindow(h);
  EXPECT_TRUE(w.ncDestroyed);
  EXPECT_EQ(w.hwnd(), nullptr);
  EXPECT_FALSE(IsWindow(h));
}

TEST(WindowBaseTest, DestructorDestroysALiveWindow) {
  HWND h = nullptr;
  {
    ThrowingWindow w;
    w.Make();
    h = w.hwnd();
  }
  EXPECT_FALSE(IsWindow(h));
}

TEST(ErrorDisplayTest, RunReportedSwallowsAndReports) {
  ErrorSinkScope sink;
  EXPECT_TRUE(RunReported(nullptr, [] {}));
  EXPECT_TRUE(g_reported.empty());
  EXPECT_FALSE(RunReported(nullptr, [] { throw std::out_of_range("Grid index out of range"); }));
  ASSERT_EQ(g_reported.size(), 1u);
  EXPECT_EQ(g_reported[0], L"Grid index out of range.");
}

class Host : public Window {
 public:
  void Make() {
    RegisterClassOnce(L"TabcardTestHost", 0, nullptr);
    Create(L"TabcardTestHost", 0, WS_OVERLAPPEDWINDOW, L"", RECT{0, 0, 126, 166}, nullptr);
  }
};

std::wstring TabText(HWND tab, int i) {
  wchar_t buf[32] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = buf;
  item.cchTextMax = 32;
  SendMessageW(tab, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
  return buf;
}

TEST(FormBuilderTest, BuildsTheMainFormAtTwoScales) {
  struct Case {
    int dpi;
    int colWidth;  // SGrdKjn1's design 45
    int rowHeight;
    int lineWidth;
  };
  const Case cases[] = {{96, 45, 15, 2}, {192, 90, 30, 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    Host host;
    host.Make();
    BuiltForm built = BuildControls(forms::MainForm(), host.hwnd(), DpiScale(c.dpi));
    const BuiltControl* pc = built.Find(forms::IdOf(forms::MainControl::PageControl1));
    ASSERT_TRUE(pc && pc->hwnd);
    EXPECT_TRUE(GetWindowLongW(pc->hwnd, GWL_STYLE) & TCS_FIXEDWIDTH);
    ASSERT_EQ(SendMessageW(pc->hwnd, TCM_GETITEMCOUNT, 0, 0), 4);
    const wchar_t* const captions[] = {L"個１", L"個２", L"メモ", L"ﾘｽﾄ"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(TabText(pc->hwnd, i), captions[i]);
    // The design page is the second personal page.
    EXPECT_EQ(ActiveTab(built, forms::IdOf(forms::MainControl::PageControl1)), 1);
    ShowWindow(host.hwnd(), SW_SHOWNA);
    for (int page = 0; page < 4; ++page) {
      // Each grid lies on its own sheet, a container the TAB key walks into;
      // only the design page's sheet is shown.
      HWND g = built.Find(forms::IdOf(forms::kMainGrids[page]))->hwnd;
      HWND sheet = built.Find(forms::IdOf(forms::kMainSheets[page]))->hwnd;
      EXPECT_EQ(GetParent(g), sheet) << page;
      EXPECT_TRUE(GetWindowLongW(sheet, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) << page;
      EXPECT_EQ(IsWindowVisible(g) != FALSE, page == 1) << page;
    }
    StringGrid grid(built.Find(forms::IdOf(forms::MainControl::SGrdKjn1))->hwnd);
    EXPECT_EQ(grid.ColCount(), 2);
    EXPECT_EQ(grid.RowCount(), 6);
    EXPECT_EQ(grid.DefaultColWidth(), c.colWidth);
    EXPECT_EQ(grid.DefaultRowHeight(), c.rowHeight);
    EXPECT_EQ(grid.CellRect(1, 0).left - grid.CellRect(0, 0).right, c.lineWidth);
    EXPECT_EQ(Narrow(grid.LogFont().lfFaceName), forms::MainForm().font.name);
    EXPECT_EQ(grid.LogFont().lfHeight, -12 * c.dpi / 96);
  }
}

TEST(FormBuilderTest, SheetContentFillsThePageControlsDisplayArea) {
  Host host;
  host.Make();
  BuiltForm built = BuildControls(forms::MainForm(), host.hwnd(), DpiScale(96));
  LayoutControls(built, host.hwnd());
  RECT client{};
  GetClientRect(host.hwnd(), &client);
  HWND pc = built.Find(forms::IdOf(forms::MainControl::PageControl1))->hwnd;
  RECT pcRect{};
  GetWindowRect(pc, &pcRect);
  MapWindowPoints(nullptr, host.hwnd(), reinterpret_cast<POINT*>(&pcRect), 2);
  EXPECT_EQ(pcRect.right - pcRect.left, client.right);
  EXPECT_EQ(pcRect.bottom - pcRect.top, client.bottom);
  RECT display = pcRect;
  SendMessageW(pc, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  for (forms::MainControl grid : forms::kMainGrids) {
    RECT g{};
    GetWindowRect(built.Find(forms::IdOf(grid))->hwnd, &g);
    MapWindowPoints(nullptr, host.hwnd(), reinterpret_cast<POINT*>(&g), 2);
    EXPECT_TRUE(EqualRect(&g, &display)) << forms::IdOf(grid);
  }
  ShowSheet(built, forms::IdOf(forms::MainControl::PageControl1), 3);
  EXPECT_EQ(ActiveTab(built, forms::IdOf(forms::MainControl::PageControl1)), 3);
  EXPECT_TRUE(GetWindowLongW(built.Find(forms::IdOf(forms::MainControl::TabList))->hwnd, GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(GetWindowLongW(built.Find(forms::IdOf(forms::MainControl::TabKjn2))->hwnd, GWL_STYLE) & WS_VISIBLE);
}

// A button's image: its square side, and whether drawn on white it left
// some pixels white and coloured others (alpha, not a filled square).
struct ButtonImage {
  HICON icon = nullptr;
  int side = 0;
  bool inked = false;
  bool clear = false;
};

ButtonImage ImageOf(HWND button) {
  ButtonImage image;
  image.icon = reinterpret_cast<HICON>(SendMessageW(button, BM_GETIMAGE, IMAGE_ICON, 0));
  ICONINFO info{};
  if (!image.icon || !GetIconInfo(image.icon, &info)) return image;
  Bitmap colour(info.hbmColor), mask(info.hbmMask);
  BITMAP bm{};
  GetObjectW(colour.get(), sizeof(bm), &bm);
  image.side = bm.bmWidth == bm.bmHeight ? bm.bmWidth : -1;
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  Bitmap canvas(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  MemoryDC dc(nullptr);
  SelectGuard select(dc.get(), canvas.get());
  const RECT all{0, 0, bm.bmWidth, bm.bmHeight};
  FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawIconEx(dc.get(), 0, 0, image.icon, bm.bmWidth, bm.bmHeight, 0, nullptr, DI_NORMAL);
  GdiFlush();
  const auto* px = static_cast<const DWORD*>(bits);
  for (int i = 0; i < bm.bmWidth * bm.bmHeight; ++i) {
    ((px[i] & 0xFFFFFF) == 0xFFFFFF ? image.clear : image.inked) = true;
  }
  return image;
}

// The buttons of comctl32 v6, as the program's manifest asks for: only they
// show an image beside their caption.
class CommonControls6 {
 public:
  CommonControls6() {
    const std::wstring manifest = SourcePath("src/res/tabcard.manifest");
    ACTCTXW ctx{};
    ctx.cbSize = sizeof(ctx);
    ctx.lpSource = manifest.c_str();
    context_ = CreateActCtxW(&ctx);
    active_ = context_ != INVALID_HANDLE_VALUE && ActivateActCtx(context_, &cookie_);
  }
  ~CommonControls6() {
    if (active_) DeactivateActCtx(0, cookie_);
    if (context_ != INVALID_HANDLE_VALUE) ReleaseActCtx(context_);
  }
  CommonControls6(const CommonControls6&) = delete;
  CommonControls6& operator=(const CommonControls6&) = delete;
  bool active() const { return active_; }

 private:
  HANDLE context_ = INVALID_HANDLE_VALUE;
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
};

// OK, Cancel and Help show their glyphs as tall as the caption's characters
// (the form's 12 pixels at 96 DPI), drawn for the DPI, built so or rescaled;
// the other buttons have none.
TEST(FormBuilderTest, GlyphsOfTheDialogButtonsFollowTheScale) {
  const CommonControls6 v6;
  ASSERT_TRUE(v6.active());
  const forms::FormDesc& form = forms::PropertyForm();
  auto check = [&](const BuiltForm& built, int side) {
    for (const BuiltControl& c : built.controls) {
      if (c.desc->kind != forms::ControlKind::Button) continue;
      SCOPED_TRACE(c.id);
      const ButtonImage image = ImageOf(c.hwnd);
      if (c.desc->glyph == forms::ButtonGlyph::None) {
        EXPECT_EQ(image.icon, nullptr);
        continue;
      }
      EXPECT_EQ(image.side, side);
      EXPECT_TRUE(image.inked);
      EXPECT_TRUE(image.clear);
    }
  };
  Host host, other;
  host.Make();
  other.Make();
  check(BuildControls(form, other.hwnd(), DpiScale(192)), 24);
  BuiltForm built = BuildControls(form, host.hwnd(), DpiScale(96));
  check(built, 12);
  RescaleControls(form, built, DpiScale(192));
  check(built, 24);
  EXPECT_EQ(built.icons_.size(), 3u);  // the old ones went
}

TEST(FormBuilderTest, FrameStylesFollowTheDescription) {
  const forms::FormDesc& f = forms::MainForm();
  const DWORD style = FormStyle(f);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  const DWORD ex = FormExStyle(f);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_FALSE(ex & WS_EX_APPWINDOW);
}

TEST(ApplicationTest, HiddenOwnerWindowAndHelpFileBesideTheProgram) {
  Application app;
  ASSERT_NE(app.hwnd(), nullptr);
  EXPECT_FALSE(IsWindowVisible(app.hwnd()));
  wchar_t title[32] = {};
  GetWindowTextW(app.hwnd(), title, 32);
  EXPECT_STREQ(title, L"Tabcard.exe");
  wchar_t module[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::wstring dir(module);
  dir.resize(dir.find_last_of(L"\\/") + 1);
  EXPECT_EQ(app.HelpFile(), dir + L"Tabcard.hlp");
  EXPECT_EQ(BesideModule(L"C:\\Program Files\\Tabcard\\Tabcard.exe", L"Tabcard.hlp"),
            L"C:\\Program Files\\Tabcard\\Tabcard.hlp");
  EXPECT_EQ(BesideModule(L"Tabcard.exe", L"Tabcard.hlp"), L"Tabcard.hlp");
}

// The first to create the mutex runs; every later start finds it, until the
// first has gone.
TEST(AppMutexTest, MarksTheRunningInstanceForItsLifetime) {
  {
    const AppMutex first;
    EXPECT_FALSE(first.AnotherInstance());
    const AppMutex second;
    EXPECT_TRUE(second.AnotherInstance());
  }
  const AppMutex again;
  EXPECT_FALSE(again.AnotherInstance());
}

}  // namespace
}  // namespace tabcard
