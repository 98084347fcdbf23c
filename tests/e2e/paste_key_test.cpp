// The paste key a target accepts, and the clipboard given back, as a user
// meets them: Wine's WordPad, which ignores Shift+Insert, gets Ctrl+V once and
// is remembered; the receiver takes Shift+Insert and is not; with
// RestoreClipboard the user's copy (a private format too) is back after each.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_test.h"
#include "core/strconv_win.h"
#include "forms/main_form.h"
#include "harness.h"
#include "input.h"
#include "palette_setup.h"
#include "receiver_client.h"

namespace tabcard::e2e {
namespace {

constexpr wchar_t kPrivateFormat[] = L"Tabcard e2e private";
constexpr DWORD kPrivateValue = 0x5A17C0DE;

std::wstring WordPadPath() {
  wchar_t path[MAX_PATH] = {};
  ExpandEnvironmentStringsW(L"%ProgramFiles%\\Windows NT\\Accessories\\wordpad.exe", path,
                            MAX_PATH);
  return path;
}

// WordPad's document: its RichEdit child.
HWND RichEditOf(HWND top) {
  HWND found = nullptr;
  EnumChildWindows(
      top,
      [](HWND child, LPARAM lp) {
        wchar_t cls[64] = {};
        GetClassNameW(child, cls, 64);
        if (_wcsnicmp(cls, L"RichEdit", 8) != 0) return TRUE;
        *reinterpret_cast<HWND*>(lp) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

class PasteKeyTest : public AppTest {
 protected:
  // The user copies text with a format of another program's own, and the
  // palette's tick has seen it with `front` in front (so front is the target).
  void CopyWith(HWND front, const std::wstring& text) {
    ASSERT_TRUE(BringForward(front));
    ASSERT_TRUE(PutClipboardUnicode(text, kPrivateFormat, kPrivateValue));
    ASSERT_TRUE(WaitFor([&] { return WindowTitle(main_) == text; }, kActMs))
        << Narrow(WindowTitle(main_));
  }
  // The copy back on the clipboard, whole.
  bool CopyBack(const std::wstring& text) {
    return WaitFor(
        [&] {
          return ClipboardUnicode() == text &&
                 ClipboardDword(kPrivateFormat) == std::optional<DWORD>(kPrivateValue);
        },
        kActMs);
  }
  std::optional<std::wstring> Rule(const wchar_t* program) {
    return GetString(Key(L"\\PasteKeys"), program);
  }
};

TEST_F(PasteKeyTest, WordPadLearnsCtrlVTheReceiverNeedsNoRuleAndTheCopyComesBack) {
  ASSERT_TRUE(StoreCompleteProfile({}));
  ASSERT_TRUE(PutDword(Key(), L"RestoreClipboard", 1));
  ASSERT_TRUE(program_.Start(dir_.path()));
  main_ = program_.MainWindow();
  ASSERT_NE(main_, nullptr);
  HWND grid = Control(main_, forms::kMainGrids[kPageKojin1]);
  ASSERT_NE(grid, nullptr);
  const POINT name = reader_.CellCentre(grid, 0, 0);

  Program wordPad;
  ASSERT_TRUE(wordPad.Start(dir_.path(), WordPadPath()));
  HWND pad = nullptr, document = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        pad = FindTopLevelNow({wordPad.pid(), nullptr, true, true});
        return pad && (document = RichEditOf(pad)) != nullptr;
      },
      kActMs));
  ASSERT_FALSE(Rule(L"wordpad.exe").has_value());
  ASSERT_NO_FATAL_FAILURE(CopyWith(pad, L"コピー１"));
  ASSERT_TRUE(DoubleClick(name));
  EXPECT_TRUE(WaitFor([&] { return ControlText(document) == kProfileName; }, kActMs))
      << Narrow(ControlText(document));
  EXPECT_TRUE(WaitFor([&] { return Rule(L"wordpad.exe") == L"Ctrl+V"; }, kActMs));
  EXPECT_TRUE(CopyBack(L"コピー１"));
  PumpFor(1500);  // time for a second paste, which must not come
  EXPECT_EQ(ControlText(document), kProfileName);

  ASSERT_TRUE(receiver_.Start(kReceiverPos));
  ASSERT_TRUE(receiver_.Focus(kEdit2));
  ASSERT_NO_FATAL_FAILURE(CopyWith(receiver_.window(), L"コピー２"));
  ASSERT_TRUE(DoubleClick(name));
  auto state = receiver_.WaitState([](const ReceiverState& s) {
    return s.text.at(kEdit2) == kProfileName;
  });
  ASSERT_TRUE(state.has_value());
  EXPECT_TRUE(CopyBack(L"コピー２"));
  PumpFor(1500);
  state = receiver_.Dump();
  ASSERT_TRUE(state.has_value());
  EXPECT_EQ(state->text.at(kEdit2), kProfileName) << state->Describe();
  EXPECT_EQ(ValueNames(Key(L"\\PasteKeys")), std::optional(std::vector<std::wstring>{L"wordpad.exe"}));
}

}  // namespace
}  // namespace tabcard::e2e
