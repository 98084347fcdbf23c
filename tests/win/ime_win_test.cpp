// The input method modes of the profile editor's boxes, set as a box gets
// the focus. Read in this process: another process cannot read an input
// context, and Wine's IME window does not answer for it either.
#include <windows.h>

#include <gtest/gtest.h>
#include <imm.h>

#include <ostream>

#include "forms/property_form.h"
#include "ui/form_builder_win.h"
#include "ui/form_window_win.h"

namespace tabcard {
namespace {

using C = forms::PropertyControl;

class PropertyFormHost : public FormWindow {
 public:
  PropertyFormHost() : FormWindow(forms::PropertyForm()) {}
  void Make() {
    CreateForm(nullptr);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
  }

 protected:
  bool OnEvent(const forms::FormEvent&) override { return false; }
};

struct ImeStatus {
  bool open;
  DWORD mode;
  bool operator==(const ImeStatus& o) const { return open == o.open && mode == o.mode; }
};

std::ostream& operator<<(std::ostream& os, const ImeStatus& s) {
  return os << (s.open ? "open" : "closed") << " mode 0x" << std::hex << s.mode;
}

class Context {
 public:
  explicit Context(HWND window) : window_(window), himc_(ImmGetContext(window)) {}
  ~Context() {
    if (himc_) ImmReleaseContext(window_, himc_);
  }
  Context(const Context&) = delete;
  Context& operator=(const Context&) = delete;

  ImeStatus Get() const {
    DWORD mode = 0, sentence = 0;
    ImmGetConversionStatus(himc_, &mode, &sentence);
    return {ImmGetOpenStatus(himc_) != FALSE, mode};
  }
  void Set(const ImeStatus& s) const {
    ImmSetOpenStatus(himc_, s.open);
    ImmSetConversionStatus(himc_, s.mode, 0);
  }
  bool valid() const { return himc_ != nullptr; }

 private:
  HWND window_;
  HIMC himc_;
};

// Closed, with a bit the boxes leave alone: Roman input.
constexpr ImeStatus kStart{false, IME_CMODE_ROMAN};
constexpr DWORD kHiraganaMode = IME_CMODE_ROMAN | IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE;

// One walk through the three kinds of box; each step's status is that of
// the step before when nothing is switched (no double-byte code page).
TEST(ImeModeTest, BoxesSwitchToTheirModeOnTheFocusAndFreeBoxesKeepIt) {
  PropertyFormHost form;
  form.Make();
  HWND first = form.ControlWindow(C::txtEtc1);
  Context context(first);
  ASSERT_TRUE(context.valid());
  context.Set(kStart);
  struct Step {
    int page;
    C box;
    ImeStatus want;
  };
  const Step steps[] = {
      {2, C::txtEtc1, kStart},                      // as is: stays closed
      {0, C::txtKnjSei, {true, kHiraganaMode}},     // hiragana
      {2, C::txtEtc2, {true, kHiraganaMode}},       // as is: kept
      {1, C::txtKEMail, {true, IME_CMODE_ROMAN}},   // half-width
      {2, C::txtEtc3, {true, IME_CMODE_ROMAN}},     // as is: kept
      {1, C::txtKinmusaki, {true, kHiraganaMode}},  // hiragana from half-width
  };
  const bool switches = GetSystemMetrics(SM_DBCSENABLED) != 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(forms::IdOf(s.box));
    ShowSheet(form.built(), forms::IdOf(C::PageControl1), s.page);
    HWND box = form.ControlWindow(s.box);
    SetFocus(box);
    ASSERT_EQ(GetFocus(), box);
    EXPECT_EQ(context.Get(), switches ? s.want : kStart);
  }
}

}  // namespace
}  // namespace tabcard
