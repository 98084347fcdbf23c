// The tray component against a real window and shell, and the program's
// icon and version resources as the built Tabcard.exe carries them.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
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
    SetCursorPos(123, 45);
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
    path_ = BesideModule(self, L"Tabcard.exe");
    module_ = LoadLibraryExW(path_.c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  }
  ~ProgramResources() {
    if (module_) FreeLibrary(module_);
  }
  ProgramResources(const ProgramResources&) = delete;
  ProgramResources& operator=(const ProgramResources&) = delete;

  HMODULE module() const { return module_; }
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
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

// version.dll is not among the libraries the tests link: look it up.
class VersionApi {
 public:
  VersionApi() : dll_(LoadLibraryW(L"version.dll")) {
    if (!dll_) return;
    size_ = reinterpret_cast<SizeFn>(Proc("GetFileVersionInfoSizeW"));
    info_ = reinterpret_cast<InfoFn>(Proc("GetFileVersionInfoW"));
    query_ = reinterpret_cast<QueryFn>(Proc("VerQueryValueW"));
  }
  ~VersionApi() {
    if (dll_) FreeLibrary(dll_);
  }
  VersionApi(const VersionApi&) = delete;
  VersionApi& operator=(const VersionApi&) = delete;

  bool Read(const std::wstring& path) {
    if (!size_ || !info_ || !query_) return false;
    DWORD ignored = 0;
    const DWORD n = size_(path.c_str(), &ignored);
    data_.assign(n, 0);
    return n && info_(path.c_str(), 0, n, data_.data());
  }
  std::wstring Text(const wchar_t* name) {
    void* p = nullptr;
    UINT n = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
    if (!query_(data_.data(), key.c_str(), &p, &n) || !p) return L"(missing)";
    return std::wstring(static_cast<const wchar_t*>(p));
  }
  VS_FIXEDFILEINFO Fixed() {
    void* p = nullptr;
    UINT n = 0;
    if (!query_(data_.data(), L"\\", &p, &n) || n < sizeof(VS_FIXEDFILEINFO)) return {};
    return *static_cast<const VS_FIXEDFILEINFO*>(p);
  }

 private:
  using SizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
  using InfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
  using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
  void* Proc(const char* name) { return reinterpret_cast<void*>(GetProcAddress(dll_, name)); }

  HMODULE dll_;
  SizeFn size_ = nullptr;
  InfoFn info_ = nullptr;
  QueryFn query_ = nullptr;
  std::vector<BYTE> data_;
};

TEST(AppVersionTest, VersionResourceSaysWhatTheVersionDialogSays) {
  ProgramResources res;
  VersionApi version;
  ASSERT_TRUE(version.Read(res.path())) << "build Tabcard.exe first";
  EXPECT_EQ(version.Text(L"ProductName"), L"タブカード");
  EXPECT_EQ(version.Text(L"ProductVersion"), L"4.00A");
  EXPECT_EQ(version.Text(L"FileVersion"), L"4.0.0.0");
  const VS_FIXEDFILEINFO fixed = version.Fixed();
  EXPECT_EQ(fixed.dwFileVersionMS, 0x00040000u);
  EXPECT_EQ(fixed.dwFileVersionLS, 0u);
  EXPECT_EQ(fixed.dwProductVersionMS, 0x00040000u);
  EXPECT_EQ(fixed.dwProductVersionLS, 0u);
}

}  // namespace
}  // namespace tabcard
