// The item transfer against real windows: the palette is a window of the test
// thread, the other application a window with edit controls on a thread of
// its own, so that every message and keystroke crosses threads as it would
// cross programs.
#include "app/desktop_win.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "app/kojin_menu.h"
#include "ui/menu_win.h"
#include "app/transfer.h"
#include "store/layout.h"
#include "ui/clipboard_win.h"
#include "ui/notice_tip_win.h"
#include "core/strconv_win.h"
#include "../e2e/receiver/dialog_focus.h"
#include "source_path.h"

namespace tabcard {
namespace {

using testing::kLastFocus;

constexpr UINT kHangMessage = WM_APP + 1;

// Polls until done() or the bound, answering messages sent to this thread.
bool WaitUntil(const std::function<bool()>& done, DWORD boundMs = 2000) {
  const ULONGLONG end = GetTickCount64() + boundMs;
  while (!done()) {
    if (GetTickCount64() >= end) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(10);
  }
  return true;
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (LRESULT r; testing::HandleDialogFocus(hwnd, msg, wp, &r)) return r;
  switch (msg) {
    case kHangMessage:
      Sleep(static_cast<DWORD>(wp));
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

const wchar_t* PlainClass() {
  static const ATOM atom = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"TransferTestPlain";
    return RegisterClassW(&wc);
  }();
  return atom ? L"TransferTestPlain" : nullptr;
}

HWND MakeWindow(DWORD style, const RECT& r, HWND parent, const wchar_t* cls = nullptr,
                int id = 0) {
  HWND hwnd = CreateWindowExW(0, cls ? cls : PlainClass(), L"", style, r.left, r.top,
                              r.right - r.left, r.bottom - r.top, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr);
  return hwnd;
}

// The other application: two edits in a window, a loop with IsDialogMessage.
class TargetApp {
 public:
  TargetApp() : thread_([this] { Run(); }) {
    WaitUntil([this] { return ready_.load(); });
  }
  ~TargetApp() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  TargetApp(const TargetApp&) = delete;
  TargetApp& operator=(const TargetApp&) = delete;

  HWND top() const { return top_; }
  HWND edit(int i) const { return edits_[i]; }
  DWORD threadId() const { return threadId_; }
  std::wstring Text(int i) const {
    wchar_t buf[256] = {};
    DWORD_PTR ignored;
    SendMessageTimeoutW(edits_[i], WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buf), SMTO_NORMAL,
                        2000, &ignored);
    return buf;
  }
  HWND Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId_, &info) ? info.hwndFocus : nullptr;
  }
  POINT EditCentre(int i) const {
    RECT r;
    GetWindowRect(edits_[i], &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void Hang(DWORD ms) { PostMessageW(top_, kHangMessage, ms, 0); }

 private:
  void Run() {
    threadId_ = GetCurrentThreadId();
    top_ = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {420, 300, 760, 500}, nullptr);
    edits_[0] = MakeWindow(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL,
                           {10, 10, 300, 34}, top_, L"EDIT", 1);
    edits_[1] = MakeWindow(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL,
                           {10, 50, 300, 74}, top_, L"EDIT", 2);
    SetFocus(edits_[0]);
    SetPropW(top_, kLastFocus, edits_[0]);
    ready_ = true;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (IsDialogMessageW(top_, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    RemovePropW(top_, kLastFocus);
    DestroyWindow(top_);
  }

  std::atomic<bool> ready_{false};
  HWND top_ = nullptr;
  HWND edits_[2] = {};
  DWORD threadId_ = 0;
  std::thread thread_;
};

// The palette: a window of the test thread with a tab row and one grid.
class TestPalette : public PaletteView, public PaletteContent {
 public:
  TestPalette() {
    top_ = MakeWindow(WS_POPUP | WS_CAPTION | WS_VISIBLE, {40, 40, 240, 240}, nullptr);
    grid_ = MakeWindow(WS_CHILD | WS_VISIBLE, {0, 30, 200, 170}, top_);
    values_[0] = "山田太郎";
    items_[0] = "氏名";
  }
  ~TestPalette() override { DestroyWindow(top_); }

  HWND top() const { return top_; }
  HWND grid() const { return grid_; }
  POINT GridCentre() const {
    RECT r;
    GetWindowRect(grid_, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  GridCell CurrentCell() const { return current_; }

  WindowId GridWindow(int) const override { return ToWindowId(grid_); }
  void SetCurrentCell(int, GridCell cell) override { current_ = cell; }
  GridShape Shape(int) const override { return {2, 6}; }
  const PageItems& Items(int) const override { return items_; }
  const PageForms& Forms(int) const override { return forms_; }
  const ItemValues& CurrentItemValues() const override { return values_; }
  std::string MemoTitle(int) const override { return {}; }
  std::string MemoHead(int) const override { return std::string(4096, '\0'); }
  const PhraseList& List() const override { return list_; }
  bool SendsTab() const override { return tabMode; }
  bool RestoresClipboard() const override { return false; }
  void SetHint(int, std::string_view) override {}
  void ShowHint(int, bool) override {}
  void SetCaption(std::string_view text) override { caption = std::string(text); }
  void ShowNotice(std::string_view text) override { notice = std::string(text); }

  bool tabMode = false;
  std::string caption;
  std::string notice;

 private:
  HWND top_ = nullptr;
  HWND grid_ = nullptr;
  GridCell current_{0, 0};
  PageItems items_;
  PageForms forms_{};
  ItemValues values_;
  PhraseList list_;
};

// Both windows are in this process, so every paste takes the standard key.
class NoRules : public PasteKeyBook {
 public:
  std::optional<PasteKey> RuleFor(std::u16string_view) const override { return std::nullopt; }
  void Learn(std::u16string_view, PasteKey) override {}
};

class TransferWinTest : public ::testing::Test {
 protected:
  TransferWinTest() : desktop(palette.top(), nullptr), transfer(desktop, palette, palette, book) {}

  void SetUp() override {
    ASSERT_TRUE(target.top());
    BringForward(palette.top());
  }

  // Without a window manager Wine's X11 driver handles the focus events of a
  // switch a little later, and one that comes in after the next switch can
  // move the foreground to the desktop: let each switch settle, as a user's
  // would.
  static void BringForward(HWND hwnd) {
    SetForegroundWindow(hwnd);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == hwnd; }));
    // Pumping, so that the late focus events are handled now, not in the
    // middle of the next transfer.
    WaitUntil([] { return false; }, 150);
  }

  // Wine moves the X pointer a moment after SetCursorPos, and a motion event
  // of an earlier move can still come in: wait until the position holds.
  static void MovePointer(POINT to) {
    auto there = [&] {
      POINT at;
      return GetCursorPos(&at) && at.x == to.x && at.y == to.y;
    };
    int steady = 0;
    const ULONGLONG end = GetTickCount64() + 2000;
    while (steady < 3 && GetTickCount64() < end) {
      if (!there()) {
        steady = 0;
        SetCursorPos(to.x, to.y);
      } else {
        ++steady;
      }
      Sleep(20);
    }
    ASSERT_EQ(steady, 3);
  }

  void Drag(POINT to) {
    MovePointer(palette.GridCentre());
    transfer.Press(kPageKojin1, palette.CurrentCell(), MouseButton::Left);
    MovePointer(to);
    transfer.Move(kPageKojin1, palette.CurrentCell());
  }

  TargetApp target;
  TestPalette palette;
  DesktopWin desktop;
  NoRules book;
  ItemTransfer transfer;
};

TEST_F(TransferWinTest, DropPastesIntoTheControlUnderThePointer) {
  Drag(target.EditCentre(1));
  ASSERT_TRUE(transfer.State().Dragging);
  EXPECT_EQ(GetCapture(), palette.grid());
  transfer.Release(kPageKojin1, palette.CurrentCell(), MouseButton::Left);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(WaitUntil([&] { return target.Text(1) == L"山田太郎"; })) << target.Text(1).size();
  EXPECT_EQ(target.Text(0), L"");
  EXPECT_EQ(GetForegroundWindow(), target.top());
}

TEST_F(TransferWinTest, TabModeMovesTheTargetToItsNextField) {
  palette.tabMode = true;
  Drag(target.EditCentre(0));
  transfer.Release(kPageKojin1, palette.CurrentCell(), MouseButton::Left);
  ASSERT_TRUE(WaitUntil([&] { return target.Text(0) == L"山田太郎"; }));
  EXPECT_TRUE(WaitUntil([&] { return target.Focus() == target.edit(1); }));
}

TEST_F(TransferWinTest, DropOnTheGridSendsNothing) {
  MovePointer(palette.GridCentre());
  transfer.Press(kPageKojin1, palette.CurrentCell(), MouseButton::Left);
  transfer.Move(kPageKojin1, {0, 1});  // into the neighbouring cell
  ASSERT_TRUE(transfer.State().Dragging);
  transfer.Release(kPageKojin1, palette.CurrentCell(), MouseButton::Left);
  Sleep(200);
  EXPECT_EQ(target.Text(0), L"");
  EXPECT_EQ(GetForegroundWindow(), palette.top());
  EXPECT_EQ(ReadClipboardText(palette.top()).text, "山田太郎");
  EXPECT_EQ(palette.CurrentCell(), (GridCell{0, 0}));
}

TEST_F(TransferWinTest, DoubleClickPastesIntoTheWindowUsedBefore) {
  BringForward(target.top());
  transfer.Tick();
  BringForward(palette.top());
  transfer.Tick();  // the palette itself is never the target
  ASSERT_EQ(transfer.State().TargetWindow, ToWindowId(target.top()));
  EXPECT_FALSE(desktop.IsOwnWindow(ToWindowId(target.top())));

  transfer.SendCell(kPageKojin1, palette.CurrentCell());
  EXPECT_TRUE(WaitUntil([&] { return target.Text(0) == L"山田太郎"; }));
}

// Both windows are ours, so neither would drop the other's input.
TEST_F(TransferWinTest, OurOwnWindowsHaveOurIntegrityLevel) {
  const auto own = desktop.OwnIntegrityLevel();
  ASSERT_TRUE(own.has_value());
  EXPECT_GE(*own, static_cast<std::uint32_t>(SECURITY_MANDATORY_LOW_RID));
  EXPECT_EQ(desktop.IntegrityLevelOf(ToWindowId(target.edit(0))), own);
  EXPECT_FALSE(desktop.IntegrityLevelOf(kNoWindow).has_value());
}

TEST_F(TransferWinTest, CaptionFollowsTheClipboard) {
  ASSERT_TRUE(desktop.PlaceClipboardText("キャプション"));
  transfer.Tick();
  EXPECT_EQ(palette.caption, "キャプション");
  ASSERT_TRUE(OpenClipboard(palette.top()));
  EmptyClipboard();
  CloseClipboard();
  transfer.Tick();
  EXPECT_EQ(palette.caption, "No Text!");
  ASSERT_TRUE(desktop.PlaceClipboardText(std::string(100000, 'x')));
  transfer.Tick();
  EXPECT_EQ(palette.caption, std::string(kCaptionMaxBytes, 'x'));
}

TEST_F(TransferWinTest, AHungTargetDoesNotHoldThePalette) {
  Drag(target.EditCentre(0));
  target.Hang(2000);
  Sleep(50);
  const ULONGLONG start = GetTickCount64();
  transfer.Release(kPageKojin1, palette.CurrentCell(), MouseButton::Left);
  const ULONGLONG took = GetTickCount64() - start;
  // It never takes the activation, and does not answer the first message.
  EXPECT_LT(took, kForegroundWaitMs + kSendTimeoutMs + 400);
  EXPECT_FALSE(transfer.State().Dragging);
  EXPECT_EQ(GetCapture(), nullptr);
  // Awake again, it got no keystrokes to paste.
  DWORD_PTR ignored;
  ASSERT_TRUE(SendMessageTimeoutW(target.top(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored));
  MovePointer({0, 0});
  EXPECT_EQ(target.Text(0), L"");
  EXPECT_EQ(target.Text(1), L"");
}

TEST(DesktopWin, TopLevelClimbsParentsAndOwners) {
  HWND top = MakeWindow(WS_OVERLAPPEDWINDOW, {0, 0, 200, 200}, nullptr);
  HWND panel = MakeWindow(WS_CHILD, {0, 0, 100, 100}, top);
  HWND edit = MakeWindow(WS_CHILD, {0, 0, 50, 20}, panel, L"EDIT");
  HWND popup = MakeWindow(WS_POPUP, {0, 0, 50, 50}, top);
  HWND overlapped = MakeWindow(WS_OVERLAPPED, {0, 0, 50, 50}, popup);
  HWND popupEdit = MakeWindow(WS_CHILD, {0, 0, 50, 20}, overlapped, L"EDIT");
  EXPECT_EQ(TopLevelWindow(edit), top);
  EXPECT_EQ(TopLevelWindow(popup), top);
  EXPECT_EQ(TopLevelWindow(popupEdit), top);
  EXPECT_EQ(TopLevelWindow(top), top);
  EXPECT_EQ(TopLevelWindow(nullptr), nullptr);

  DesktopWin desktop(top, nullptr);
  EXPECT_EQ(desktop.ParentOf(ToWindowId(edit)), ToWindowId(panel));
  EXPECT_TRUE(desktop.IsOwnWindow(ToWindowId(edit)));
  DestroyWindow(top);
  EXPECT_EQ(TopLevelWindow(edit), nullptr);
  EXPECT_FALSE(desktop.Exists(ToWindowId(edit)));
  EXPECT_EQ(desktop.Send(ToWindowId(edit), WM_NULL, 0, 0), SendResult::kNoWindow);
}

TEST(DesktopWin, LastActivePopupIsTheWindowOfTheGroupUsedLast) {
  HWND owner = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 200, 200}, nullptr);
  HWND dialog = MakeWindow(WS_POPUP | WS_CAPTION | WS_VISIBLE, {50, 50, 150, 150}, owner);
  DesktopWin desktop(owner, nullptr);
  SetForegroundWindow(dialog);
  WaitUntil([&] { return GetForegroundWindow() == dialog; });
  EXPECT_EQ(desktop.LastActivePopup(ToWindowId(owner)), ToWindowId(dialog));
  ShowWindow(dialog, SW_HIDE);  // a hidden one cannot take the paste
  EXPECT_EQ(desktop.LastActivePopup(ToWindowId(owner)), ToWindowId(owner));
  DestroyWindow(owner);
}

TEST(NoticeTip, ShowsItsTextAtThePointAndHidesItself) {
  HWND owner = MakeWindow(WS_POPUP | WS_VISIBLE, {300, 300, 400, 400}, nullptr);
  {
    NoticeTip notice(owner);
    const std::wstring text = Widen(kElevatedTargetNotice);
    notice.Show(L"earlier", {350, 400});
    notice.Show(text, {350, 400});
    HWND tip = notice.Handle();
    ASSERT_TRUE(tip);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(tip) != FALSE; }));
    wchar_t shown[128] = {};
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = owner;
    ti.uId = 1;
    ti.lpszText = shown;
    SendMessageW(tip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&ti));
    EXPECT_EQ(std::wstring(shown), text);
    RECT r{};
    GetWindowRect(tip, &r);
    EXPECT_TRUE(r.left <= 350 && 350 <= r.right) << r.left << ".." << r.right;
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(tip); }, kNoticeShownMs + 2000));
  }
  DestroyWindow(owner);
}

TEST(DragCursor, IsA32PixelCursorWithItsHotSpotAtTheTip) {
  HCURSOR cursor = static_cast<HCURSOR>(LoadImageW(
      nullptr, SourcePath("src/res/drag.cur").c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
  ASSERT_NE(cursor, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(cursor, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 0u);
  EXPECT_EQ(info.yHotspot, 0u);
  BITMAP mask{};
  GetObjectW(info.hbmMask, sizeof mask, &mask);
  EXPECT_EQ(mask.bmWidth, 32);
  EXPECT_EQ(mask.bmHeight, info.hbmColor ? 32 : 64);  // monochrome: AND and XOR stacked
  DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DestroyCursor(cursor);
}

TEST(KojinMenuWin, MatchesTheLayout) {
  PopupMenu menu = BuildPopupMenu(KojinMenuLayout());
  const std::vector<MenuNode> layout = KojinMenuLayout();
  ASSERT_EQ(GetMenuItemCount(menu.get()), static_cast<int>(layout.size()));
  for (int i = 0; i < static_cast<int>(layout.size()); ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(menu.get(), i, text, 64, MF_BYPOSITION);
    const MenuNode& node = layout[i];
    EXPECT_EQ(text, Widen(node.caption));
    HMENU sub = GetSubMenu(menu.get(), i);
    if (node.command) {
      EXPECT_EQ(sub, nullptr);
      EXPECT_EQ(GetMenuItemID(menu.get(), i), static_cast<UINT>(node.command));
      continue;
    }
    ASSERT_NE(sub, nullptr);
    ASSERT_EQ(GetMenuItemCount(sub), static_cast<int>(node.items.size()));
    for (int j = 0; j < GetMenuItemCount(sub); ++j) {
      EXPECT_EQ(GetMenuItemID(sub, j), static_cast<UINT>(node.items[j].command));
    }
  }
  EXPECT_EQ(GetMenuItemID(GetSubMenu(menu.get(), 1), 3), kCmdKojinItemFirst + 12u);  // ＴＥＬ
}

}  // namespace
}  // namespace tabcard
