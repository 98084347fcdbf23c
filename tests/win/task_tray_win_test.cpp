// The tray component against a real window and shell, and the program's
// icon and version resources as the built Tabcard.exe carries them.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/application_win.h"
#include "res/app_res.h"
#include "tray/app_icon_win.h"
#include "tray/task_tray_win.h"
#include "ui/app_error_win.h"

namespace tabcard {
namespace {

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

std::vector<std::wstring> g_reported;
void Collect(const std::wstring& text) { g_reported.push_back(text); }

TEST(TrayWindowTest, NotificationsPostedToTheTrayWindowReachTheEvents) {
  g_reported.clear();
  SetErrorSinkForTest(Collect);
  std::vector<std::string> events;
  POINT at{};
  POINT cursor{};
  {
    TTaskTray tray;
    HWND hwnd = tray.TrayWindow();
    ASSERT_EQ(FindWindowW(kTrayWindowClass, nullptr), hwnd);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    tray.SetTips("Tabcard");
    tray.Loaded();
    EXPECT_TRUE(tray.IconAdded());  // Wine accepts an icon even without a tray manager

    tray.OnMouseUp = [&](MouseButton b, int x, int y) {
      events.push_back(b == MouseButton::Right ? "up right" : "up other");
      at = POINT{x, y};
      GetCursorPos(&cursor);
    };
    tray.OnMouseDblClick = [&] {
      events.push_back("dblclick");
      throw std::runtime_error("boom");
    };
    // The warp reaches the X server in its own time, later under load, and
    // a motion event of an earlier pointer move may still be queued: pump
    // until the position holds, warping again when it moved.
    int steady = 0;
    for (ULONGLONG end = GetTickCount64() + 3000; steady < 3 && GetTickCount64() < end;
         Sleep(20)) {
      Pump();
      POINT p{};
      if (GetCursorPos(&p) && p.x == 123 && p.y == 45) {
        ++steady;
      } else {
        steady = 0;
        SetCursorPos(123, 45);
      }
    }
    EXPECT_EQ(steady, 3);
    PostMessageW(hwnd, WM_USER + 1, 1, WM_RBUTTONUP);
    PostMessageW(hwnd, WM_USER + 1, 1, WM_LBUTTONDBLCLK);
    PostMessageW(hwnd, WM_USER + 1, 1, WM_RBUTTONUP);
    Pump();
  }
  SetErrorSinkForTest(nullptr);
  EXPECT_EQ(events, (std::vector<std::string>{"up right", "dblclick", "up right"}));
  // Where the pointer was when the notification was handled, not (0, 0).
  EXPECT_EQ(cursor.x, 123);
  EXPECT_EQ(cursor.y, 45);
  EXPECT_EQ(at.x, cursor.x);
  EXPECT_EQ(at.y, cursor.y);
  // The handler's error was shown and the component went on.
  EXPECT_EQ(g_reported, std::vector<std::wstring>{L"boom."});
  EXPECT_EQ(FindWindowW(kTrayWindowClass, nullptr), nullptr);
}

// Tabcard.exe beside this test program, loaded for its resources only.
class ProgramResources {
 public:
  ProgramResources() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    module_ = LoadLibraryExW(BesideModule(self, L"Tabcard.exe").c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  }
  ~ProgramResources() {
    if (module_) FreeLibrary(module_);
  }
  ProgramResources(const ProgramResources&) = delete;
  ProgramResources& operator=(const ProgramResources&) = delete;

  HMODULE module() const { return module_; }

 private:
  HMODULE module_ = nullptr;
};

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

BOOL CALLBACK TakeFirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR out) {
  *reinterpret_cast<ULONG_PTR*>(out) = reinterpret_cast<ULONG_PTR>(name);
  return FALSE;
}

TEST(AppIconTest, ProgramIconHasEverySizeAndLoadsAtEach) {
  ProgramResources res;
  ASSERT_TRUE(res.module()) << "build Tabcard.exe first";

  // Explorer shows the first icon group: ours must be it.
  ULONG_PTR first = 0;
  EnumResourceNamesW(res.module(), RT_GROUP_ICON, TakeFirstName,
                     reinterpret_cast<LONG_PTR>(&first));
  EXPECT_EQ(first, static_cast<ULONG_PTR>(IDI_TABCARD));

  HRSRC group = FindResourceW(res.module(), MAKEINTRESOURCEW(IDI_TABCARD), RT_GROUP_ICON);
  ASSERT_TRUE(group);
  const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(res.module(), group)));
  ASSERT_TRUE(dir);
  const WORD count = *reinterpret_cast<const WORD*>(dir + 4);
  const auto* entries = reinterpret_cast<const GroupIconEntry*>(dir + 6);
  std::set<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    sizes.insert(entries[i].width ? entries[i].width : 256);
    EXPECT_EQ(entries[i].bitCount, 32) << i;
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 20, 24, 32, 40, 48, 64, 256}));

  for (int size : sizes) {
    OwnedIcon icon = LoadAppIcon(size, res.module());
    ASSERT_TRUE(icon) << size;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info)) << size;
    BITMAP bm{};
    GetObjectW(info.hbmColor, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, size);
    EXPECT_EQ(bm.bmHeight, size);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
  }
}

// A string of the version resource: the value follows its key's NUL,
// aligned to 32 bits from the resource's start.
std::wstring VersionText(const BYTE* data, DWORD size, const std::wstring& key) {
  const std::wstring_view all(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t));
  const std::size_t at = all.find(std::wstring_view(key.c_str(), key.size() + 1));
  if (at == std::wstring_view::npos) return L"(missing)";
  const std::size_t value = ((at + key.size() + 1) * sizeof(wchar_t) + 3) / 4 * 4;
  return std::wstring(reinterpret_cast<const wchar_t*>(data + value));
}

TEST(AppVersionTest, VersionResourceSaysWhatTheVersionDialogSays) {
  ProgramResources res;
  ASSERT_TRUE(res.module()) << "build Tabcard.exe first";
  HRSRC info = FindResourceW(res.module(), MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
  ASSERT_TRUE(info);
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(res.module(), info)));
  const DWORD size = SizeofResource(res.module(), info);
  EXPECT_EQ(VersionText(data, size, L"ProductName"), L"タブカード");
  EXPECT_EQ(VersionText(data, size, L"ProductVersion"), L"4.00A");
  EXPECT_EQ(VersionText(data, size, L"FileVersion"), L"4.0.0.0");
  // VS_FIXEDFILEINFO follows the root key "VS_VERSION_INFO" and its padding.
  const auto* fixed = reinterpret_cast<const VS_FIXEDFILEINFO*>(data + 40);
  ASSERT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00040000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00040000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
}

}  // namespace
}  // namespace tabcard
