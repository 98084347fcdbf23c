#include "options/startup_shortcut_win.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

namespace tabcard {
namespace {

constexpr CLSID kShellLink = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

struct ComApi {
  decltype(&CoInitializeEx) initialize = nullptr;
  decltype(&CoUninitialize) uninitialize = nullptr;
  decltype(&CoCreateInstance) create = nullptr;
};

const ComApi* Com() {
  static const ComApi api = [] {
    ComApi a;
    if (HMODULE ole = LoadLibraryW(L"ole32.dll")) {
      a.initialize = reinterpret_cast<decltype(a.initialize)>(
          reinterpret_cast<void*>(GetProcAddress(ole, "CoInitializeEx")));
      a.uninitialize = reinterpret_cast<decltype(a.uninitialize)>(
          reinterpret_cast<void*>(GetProcAddress(ole, "CoUninitialize")));
      a.create = reinterpret_cast<decltype(a.create)>(
          reinterpret_cast<void*>(GetProcAddress(ole, "CoCreateInstance")));
    }
    return a;
  }();
  return api.initialize && api.uninitialize && api.create ? &api : nullptr;
}

// COM on this thread for one use, and a shell link with its file view.
class ShellLink {
 public:
  ShellLink() : com_(Com()) {
    if (!com_) return;
    const HRESULT init = com_->initialize(nullptr, COINIT_APARTMENTTHREADED);
    initialized_ = SUCCEEDED(init);
    if (FAILED(init) && init != RPC_E_CHANGED_MODE) return;
    if (SUCCEEDED(com_->create(kShellLink, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IShellLinkW),
                               reinterpret_cast<void**>(&link_)))) {
      link_->QueryInterface(__uuidof(IPersistFile), reinterpret_cast<void**>(&file_));
    }
  }
  ~ShellLink() {
    if (file_) file_->Release();
    if (link_) link_->Release();
    if (initialized_) com_->uninitialize();
  }
  ShellLink(const ShellLink&) = delete;
  ShellLink& operator=(const ShellLink&) = delete;

  // Both null unless the link and its file view were made.
  IShellLinkW* link() const { return file_ ? link_ : nullptr; }
  IPersistFile* file() const { return file_; }

 private:
  const ComApi* com_;
  bool initialized_ = false;
  IShellLinkW* link_ = nullptr;
  IPersistFile* file_ = nullptr;
};

std::wstring ModulePath() {
  std::vector<wchar_t> path(32768);
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  return std::wstring(path.data(), n);
}

std::wstring CurrentFolder() {
  std::vector<wchar_t> path(32768);
  const DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(path.size()), path.data());
  return n < path.size() ? std::wstring(path.data(), n) : std::wstring();
}

// Short and long spellings of one file compare equal.
std::wstring LongPath(const std::wstring& path) {
  std::vector<wchar_t> out(32768);
  const DWORD n = GetLongPathNameW(path.c_str(), out.data(), static_cast<DWORD>(out.size()));
  return n && n < out.size() ? std::wstring(out.data(), n) : path;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  const std::wstring la = LongPath(a), lb = LongPath(b);
  return CompareStringOrdinal(la.c_str(), static_cast<int>(la.size()), lb.c_str(),
                              static_cast<int>(lb.size()), TRUE) == CSTR_EQUAL;
}

std::string Failure(const char* what, HRESULT result) {
  char code[16];
  wsprintfA(code, "0x%08lX", static_cast<unsigned long>(result));
  return std::string(what) + "\n(" + code + ")";
}

constexpr char kNotMade[] = "スタートアップにショートカット「Tabcard.lnk」を作れませんでした。";
constexpr char kNotRemoved[] = "スタートアップのショートカット「Tabcard.lnk」を削除できませんでした。";

}  // namespace

std::wstring StartupShortcutPath() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr,
                              SHGFP_TYPE_CURRENT, folder))) {
    return {};
  }
  return std::wstring(folder) + L"\\Tabcard.lnk";
}

bool ReadShortcut(const std::wstring& path, std::wstring* target, std::wstring* folder) {
  if (path.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  ShellLink shell;
  if (!shell.link() || FAILED(shell.file()->Load(path.c_str(), STGM_READ))) return false;
  wchar_t buffer[MAX_PATH] = {};
  if (FAILED(shell.link()->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH))) return false;
  *target = buffer;
  buffer[0] = L'\0';
  if (FAILED(shell.link()->GetWorkingDirectory(buffer, MAX_PATH))) return false;
  *folder = buffer;
  return true;
}

bool StartupShortcutWin::StartsThisCopy() {
  std::wstring target, folder;
  return ReadShortcut(StartupShortcutPath(), &target, &folder) && SamePath(target, ModulePath());
}

// Made anew each time, so a moved current folder or another copy's shortcut
// is replaced.
bool StartupShortcutWin::Make(std::string* reason) {
  const std::wstring path = StartupShortcutPath();
  ShellLink shell;
  if (path.empty() || !shell.link()) {
    *reason = kNotMade;
    return false;
  }
  const std::wstring exe = ModulePath();
  HRESULT r = shell.link()->SetPath(exe.c_str());
  if (SUCCEEDED(r)) r = shell.link()->SetWorkingDirectory(CurrentFolder().c_str());
  if (SUCCEEDED(r)) r = shell.link()->SetIconLocation(exe.c_str(), 0);
  if (SUCCEEDED(r)) r = shell.link()->SetDescription(L"タブカード");
  if (SUCCEEDED(r)) r = shell.file()->Save(path.c_str(), TRUE);
  if (FAILED(r)) *reason = Failure(kNotMade, r);
  return SUCCEEDED(r);
}

bool StartupShortcutWin::Remove(std::string* reason) {
  const std::wstring path = StartupShortcutPath();
  if (path.empty() || DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) {
    return true;
  }
  *reason = Failure(kNotRemoved, HRESULT_FROM_WIN32(GetLastError()));
  return false;
}

}  // namespace tabcard
