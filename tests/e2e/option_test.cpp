// The options dialog as a user meets it: opened from the system menu, its
// page settings, item assignment and behaviour options worked with the
// mouse and keyboard, and what OK leaves in HKCU and in the palette.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "app/main_menus.h"
#include "core/strconv_win.h"
#include "forms/option_form.h"
#include "harness.h"
#include "input.h"
#include "palette_setup.h"

namespace tabcard::e2e {
namespace {

const forms::FormDesc& Form() { return forms::OptionForm(); }

class OptionTest : public ::testing::Test {
 protected:
  void SetUp() override { DeleteBaseKey(); }
  void TearDown() override {
    if (program_.IsRunning()) program_.Close();
    DeleteBaseKey();
  }

  void Start() {
    ASSERT_TRUE(StoreCompleteProfile({}));
    ASSERT_TRUE(program_.Start(dir_.path()));
    main_ = program_.MainWindow();
    ASSERT_NE(main_, nullptr);
  }
  HWND Open() {
    PostMessageW(main_, WM_SYSCOMMAND, kSysOption, 0);
    HWND dlg = nullptr;
    WaitFor([&] { return (dlg = FindTopLevelNow({program_.pid(), L"TfrmOption", true})); },
            kActMs);
    return dlg;
  }
  HWND Ctl(HWND dlg, const char* name) { return Control(dlg, name, 1000, Form()); }

  TempDir dir_;
  Program program_;
  HWND main_ = nullptr;
};

TEST_F(OptionTest, Screens) {
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND dlg = Open();
  ASSERT_NE(dlg, nullptr);
  PumpFor(500);
  SaveScreenshot(dlg, L"option_pages");
  HWND tabs = Ctl(dlg, forms::kOptionPageControl);
  const RECT r = WindowBounds(tabs);
  ASSERT_TRUE(Click(POINT{r.left + 152, r.top + 12}));
  PumpFor(500);
  SaveScreenshot(dlg, L"option_behaviour");
  HWND sets = Ctl(dlg, forms::kSettingsPageControl);
  ASSERT_TRUE(Click(POINT{r.left + 52, r.top + 12}));
  PumpFor(300);
  const RECT s = WindowBounds(sets);
  ASSERT_TRUE(Click(POINT{s.left + 168, s.top + 12}));
  PumpFor(500);
  SaveScreenshot(dlg, L"option_cells");
}

}  // namespace
}  // namespace tabcard::e2e
