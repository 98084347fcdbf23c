// The profile editor as a user meets it: opened at the first start and from
// the system menu, typed into with real keystrokes, its pages switched with
// the mouse, and what OK, Cancel, the memo page's Update and the list page
// leave in HKCU, in the memo files and in the palette.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "core/strconv_win.h"
#include "forms/property_form.h"
#include "harness.h"
#include "input.h"

namespace tabcard::e2e {
namespace {

const forms::FormDesc& Form() { return forms::PropertyForm(); }

class PropertyTest : public ::testing::Test {
 protected:
  void SetUp() override { DeleteBaseKey(); }
  void TearDown() override {
    if (program_.IsRunning()) program_.Close();
    DeleteBaseKey();
  }

  HWND WaitEditor() {
    HWND dlg = nullptr;
    WaitFor([&] { return (dlg = FindTopLevelNow({program_.pid(), L"TfrmProperty", true})); },
            kActMs);
    return dlg;
  }
  HWND Ctl(HWND dlg, const char* name) { return Control(dlg, name, 1000, Form()); }

  // Clicks the tab at a position of PageControl1 (fixed 100-px tabs; the
  // tab rectangles cannot be asked across processes) and waits for it.
  bool ShowPage(HWND dlg, int page) {
    HWND tabs = Ctl(dlg, forms::kPropertyPageControl);
    const RECT r = WindowBounds(tabs);
    if (!Click(POINT{r.left + 52 + 100 * page, r.top + 12})) return false;
    return WaitFor([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == page; }, kActMs);
  }

  TempDir dir_;
  Program program_;
};

using SmokePropertyTest = PropertyTest;

TEST_F(SmokePropertyTest, FirstStartOpensTheEditor) {
  ASSERT_TRUE(program_.Start(dir_.path()));
  HWND main = program_.MainWindow();
  ASSERT_NE(main, nullptr);
  HWND dlg = WaitEditor();
  ASSERT_NE(dlg, nullptr);
  const wchar_t* const names[] = {L"property_personal", L"property_workplace", L"property_other",
                                  L"property_memo", L"property_list"};
  for (int page = 0; page < 5; ++page) {
    ASSERT_TRUE(ShowPage(dlg, page)) << page;
    PumpFor(300);
    SaveScreenshot(dlg, names[page]);
  }
}

}  // namespace
}  // namespace tabcard::e2e
