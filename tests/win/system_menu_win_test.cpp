// The system-menu additions on a real window's menu.
#include "app/system_menu_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace tabcard {
namespace {

class PlainWindow {
 public:
  PlainWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TabcardTestSysMenu";
    RegisterClassW(&wc);
    const DWORD style = WS_OVERLAPPED | WS_SYSMENU | WS_THICKFRAME;
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"", style, 10, 10, 200, 200, nullptr, nullptr,
                            wc.hInstance, nullptr);
  }
  ~PlainWindow() { DestroyWindow(hwnd_); }
  PlainWindow(const PlainWindow&) = delete;
  PlainWindow& operator=(const PlainWindow&) = delete;
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_;
};

std::vector<int> Ids(HMENU menu) {
  std::vector<int> ids;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    ids.push_back(static_cast<int>(GetMenuItemID(menu, i)));
  }
  return ids;
}

SystemMenuState State() {
  SystemMenuState s;
  s.userNames = {"一郎", "B", "C", "D"};
  s.UserNo = 1;
  return s;
}

TEST(SystemMenuWinTest, BuiltTwiceWithoutDoublesThenInitMenuFollowsTheState) {
  PlainWindow w;
  ASSERT_TRUE(BuildSystemMenu(w.hwnd(), State()));
  HMENU menu = GetSystemMenu(w.hwnd(), FALSE);
  const std::vector<int> once = Ids(menu);
  ASSERT_TRUE(BuildSystemMenu(w.hwnd(), State()));
  EXPECT_EQ(Ids(menu), once);
  // The standard entries first ("最小化" in place of minimise and maximise),
  // the additions last; Wine puts its own entry after Close.
  const std::vector<int> head = {SC_RESTORE, SC_MOVE, SC_SIZE, kSysMinimize, 0, SC_CLOSE};
  const std::vector<int> tail = {512, 272, 273, 274, 275, 513, 257,
                                 258, 514, 259, 260, 515, 262, 261};
  ASSERT_GE(once.size(), head.size() + tail.size());
  EXPECT_EQ(std::vector<int>(once.begin(), once.begin() + 6), head);
  EXPECT_EQ(std::vector<int>(once.end() - 14, once.end()), tail);
  EXPECT_TRUE(GetMenuState(menu, 273, MF_BYCOMMAND) & MF_CHECKED);

  SystemMenuState later = State();
  later.userNames[0] = "花子";
  later.UserNo = 0;
  for (bool minimised : {true, false}) {
    SCOPED_TRACE(minimised);
    ShowWindow(w.hwnd(), minimised ? SW_SHOWMINNOACTIVE : SW_RESTORE);
    ASSERT_EQ(IsIconic(w.hwnd()) != FALSE, minimised);
    RefreshSystemMenu(w.hwnd(), later);
    wchar_t caption[16] = {};
    GetMenuStringW(menu, 272, caption, 16, MF_BYCOMMAND);
    EXPECT_STREQ(caption, L"花子");
    EXPECT_TRUE(GetMenuState(menu, 272, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(menu, 273, MF_BYCOMMAND) & MF_CHECKED);
    for (int id : {256, 257, 258, 260, 261}) {
      EXPECT_EQ((GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0, minimised) << id;
    }
    for (int id : {259, 262, 272, 273}) {
      EXPECT_FALSE(GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) << id;
    }
  }
}

}  // namespace
}  // namespace tabcard
