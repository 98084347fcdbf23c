// The per-user installer as a user meets it, in a prefix of its own:
// Tabcard-<version>-setup.exe /S, the same again over a running Tabcard, then
// the uninstaller /S. The folder holding the installer comes in
// TABCARD_RELEASE (scripts/release.sh writes it).
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "harness.h"
#include "palette_setup.h"

namespace tabcard::e2e {
namespace {

constexpr DWORD kSetupTimeoutMs = 60000;
constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tabcard";

struct Handle {
  HANDLE h = nullptr;
  Handle() = default;
  explicit Handle(HANDLE handle) : h(handle) {}
  ~Handle() {
    if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
};

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::wstring result;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) result = path;
  CoTaskMemFree(path);
  return result;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<LONGLONG> FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::wstring SetupPath() {
  wchar_t dir[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"TABCARD_RELEASE", dir, MAX_PATH)) return std::wstring();
  WIN32_FIND_DATAW found{};
  HANDLE find = FindFirstFileW((std::wstring(dir) + L"\\Tabcard-*-setup.exe").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return std::wstring();
  FindClose(find);
  return std::wstring(dir) + L"\\" + found.cFileName;
}

// Starts a command line in workDir (inherited when empty).
bool Start(std::wstring cmd, const std::wstring& workDir, PROCESS_INFORMATION* pi) {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workDir.empty() ? nullptr : workDir.c_str(), &si, pi)) {
    return false;
  }
  CloseHandle(pi->hThread);
  return true;
}

// Runs a command line to its end; its exit code, or nothing when it did not
// start or end in time.
std::optional<DWORD> RunToEnd(const std::wstring& cmd, DWORD* pid = nullptr) {
  PROCESS_INFORMATION pi{};
  if (!Start(cmd, std::wstring(), &pi)) return std::nullopt;
  Handle process(pi.hProcess);
  if (pid) *pid = pi.dwProcessId;
  DWORD code = 0;
  if (WaitForSingleObject(process.h, kSetupTimeoutMs) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process.h, &code)) {
    return std::nullopt;
  }
  return code;
}

// The uninstaller copies itself to %TEMP% and removes the files from there
// once the copy runs: waits for the processes it started, and is false
// without one (the files would then be checked before they went).
bool WaitForChildren(DWORD parent, DWORD timeoutMs) {
  Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (snapshot.h == INVALID_HANDLE_VALUE) return false;
  std::vector<DWORD> children;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.h, &entry); more;
       more = Process32NextW(snapshot.h, &entry)) {
    if (entry.th32ParentProcessID == parent) children.push_back(entry.th32ProcessID);
  }
  if (children.empty()) return false;
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (DWORD pid : children) {
    Handle child(OpenProcess(SYNCHRONIZE, FALSE, pid));
    const ULONGLONG now = GetTickCount64();
    if (child.h && (now >= end ||
                    WaitForSingleObject(child.h, static_cast<DWORD>(end - now)) != WAIT_OBJECT_0)) {
      return false;
    }
  }
  return true;
}

struct Shortcut {
  std::wstring target;
  std::wstring workDir;
};

std::optional<Shortcut> ReadShortcut(const std::wstring& path) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return std::nullopt;
  }
  std::optional<Shortcut> result;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t target[MAX_PATH] = {}, dir[MAX_PATH] = {};
    if (SUCCEEDED(file->Load(path.c_str(), STGM_READ)) &&
        SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
        SUCCEEDED(link->GetWorkingDirectory(dir, MAX_PATH))) {
      result = Shortcut{target, dir};
    }
    file->Release();
  }
  link->Release();
  return result;
}

// A string of the program's version resource, as Apps & features should show it.
std::wstring VersionString(const std::wstring& exe, const wchar_t* name) {
  std::vector<BYTE> data(GetFileVersionInfoSizeW(exe.c_str(), nullptr));
  void* value = nullptr;
  UINT length = 0;
  const std::wstring query = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
  if (data.empty() ||
      !GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) ||
      !VerQueryValueW(data.data(), query.c_str(), &value, &length) || length == 0) {
    return L"(missing)";
  }
  return static_cast<const wchar_t*>(value);
}

void ExpectInstalled(const std::wstring& dir, const std::wstring& docs, const std::wstring& link) {
  for (const wchar_t* f :
       {L"Tabcard.exe", L"Tabcard.html", L"読んでください.txt", L"uninstall.exe"}) {
    EXPECT_TRUE(Exists(dir + L"\\" + f)) << f;
  }
  EXPECT_TRUE(Exists(docs));
  const std::optional<Shortcut> shortcut = ReadShortcut(link);
  ASSERT_TRUE(shortcut) << "no shortcut";
  EXPECT_TRUE(SamePath(shortcut->target, dir + L"\\Tabcard.exe")) << shortcut->target;
  EXPECT_TRUE(SamePath(shortcut->workDir, docs)) << shortcut->workDir;

  const std::wstring exe = dir + L"\\Tabcard.exe", uninstaller = L"\"" + dir + L"\\uninstall.exe\"";
  const std::pair<const wchar_t*, std::wstring> strings[] = {
      {L"DisplayName", VersionString(exe, L"ProductName")},
      {L"DisplayVersion", VersionString(exe, L"ProductVersion")},
      {L"Publisher", VersionString(exe, L"CompanyName")},
      {L"DisplayIcon", exe},
      {L"InstallLocation", dir},
      {L"UninstallString", uninstaller},
      {L"QuietUninstallString", uninstaller + L" /S"},
  };
  for (const auto& [name, want] : strings) {
    const std::optional<std::wstring> got = GetString(kUninstallKey, name);
    EXPECT_TRUE(got && SamePath(*got, want)) << name << ": " << got.value_or(L"(missing)");
  }
  EXPECT_EQ(GetDword(kUninstallKey, L"NoModify"), std::optional<DWORD>(1));
  EXPECT_EQ(GetDword(kUninstallKey, L"NoRepair"), std::optional<DWORD>(1));
  EXPECT_GE(GetDword(kUninstallKey, L"EstimatedSize").value_or(0),
            FileSize(exe).value_or(0) / 1024);
}

// A file emptied (created when missing), or false.
bool Empty(const std::wstring& path) {
  Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr));
  return file.h != INVALID_HANDLE_VALUE && SetEndOfFile(file.h);
}

// Ends the Tabcard the test started if a failed step left it running.
struct EndIfLeft {
  HANDLE process;
  ~EndIfLeft() {
    if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) TerminateProcess(process, 1);
  }
};

class Installer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  }
  void TearDown() override { CoUninitialize(); }

  // Installs again over a Tabcard started as the shortcut starts it and
  // over a damaged file: the program ends saving its place, the file is
  // replaced.
  void InstallOverRunningTabcard() {
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(Start(L"\"" + dir_ + L"\\Tabcard.exe\"", docs_, &pi));
    Handle tabcard(pi.hProcess);
    EndIfLeft endIfLeft{tabcard.h};
    HWND palette = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
          return (palette = FindTopLevelNow({pi.dwProcessId, kMainWindowClass, true}));
        },
        kStartTimeoutMs));
    SetWindowPos(palette, nullptr, 321, 234, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitFor([&] { return WindowBounds(palette).left == 321; }, kActMs));
    const std::wstring help = dir_ + L"\\Tabcard.html";
    const std::optional<LONGLONG> helpSize = FileSize(help);
    ASSERT_TRUE(Empty(help));

    ASSERT_EQ(RunToEnd(L"\"" + setup_ + L"\" /S"), std::optional<DWORD>(0));
    ASSERT_EQ(WaitForSingleObject(tabcard.h, kExitTimeoutMs), WAIT_OBJECT_0) << "Tabcard runs on";
    DWORD code = 1;
    GetExitCodeProcess(tabcard.h, &code);
    EXPECT_EQ(code, 0u) << "terminated, not ended";
    EXPECT_EQ(GetDword(Key(), L"Left"), std::optional<DWORD>(321));
    EXPECT_EQ(GetDword(Key(), L"Top"), std::optional<DWORD>(234));
    EXPECT_EQ(FileSize(help), helpSize);
  }

  // The uninstaller goes; the user's settings and memo files stay.
  void Uninstall() {
    const std::wstring memo = docs_ + L"\\Memo000.txt";
    ASSERT_TRUE(Empty(memo));
    DWORD uninstaller = 0;
    ASSERT_EQ(RunToEnd(L"\"" + dir_ + L"\\uninstall.exe\" /S", &uninstaller),
              std::optional<DWORD>(0));
    ASSERT_TRUE(WaitForChildren(uninstaller, kSetupTimeoutMs));
    EXPECT_FALSE(Exists(dir_));
    EXPECT_FALSE(Exists(link_));
    HKEY entry = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &entry), ERROR_SUCCESS);
    if (entry) RegCloseKey(entry);
    EXPECT_EQ(GetString(Key(), L"InstallerTest"), std::optional<std::wstring>(L"残す"));
    EXPECT_TRUE(Exists(memo));
  }

  const std::wstring setup_ = SetupPath();
  const std::wstring dir_ = KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Tabcard";
  const std::wstring docs_ = KnownFolder(FOLDERID_Documents) + L"\\Tabcard";
  const std::wstring link_ = KnownFolder(FOLDERID_Programs) + L"\\タブカード.lnk";
};

TEST_F(Installer, InstallsOverARunningTabcardAndUninstallsLeavingTheUsersData) {
  ASSERT_FALSE(setup_.empty()) << "no Tabcard-*-setup.exe in %TABCARD_RELEASE%";
  PaletteSetup store;
  store.closeInTaskTray = true;  // closing the palette alone only hides it
  ASSERT_TRUE(StoreCompleteProfile(store));
  ASSERT_TRUE(PutString(Key(), L"InstallerTest", L"残す"));

  ASSERT_EQ(RunToEnd(L"\"" + setup_ + L"\" /S"), std::optional<DWORD>(0));
  ExpectInstalled(dir_, docs_, link_);
  InstallOverRunningTabcard();
  ExpectInstalled(dir_, docs_, link_);
  Uninstall();
}

}  // namespace
}  // namespace tabcard::e2e
