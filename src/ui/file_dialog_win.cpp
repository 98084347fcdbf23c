#include "ui/file_dialog_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

namespace tabcard {
namespace {

using FileDialogFn = BOOL(WINAPI*)(OPENFILENAMEW*);

FileDialogFn Comdlg(const char* name) {
  HMODULE library = LoadLibraryW(L"comdlg32.dll");
  return library ? reinterpret_cast<FileDialogFn>(
                       reinterpret_cast<void*>(GetProcAddress(library, name)))
                 : nullptr;
}

std::wstring Ask(HWND owner, const FileDialogSpec& spec, bool save) {
  static const FileDialogFn saveDialog = Comdlg("GetSaveFileNameW");
  static const FileDialogFn openDialog = Comdlg("GetOpenFileNameW");
  const FileDialogFn dialog = save ? saveDialog : openDialog;
  if (!dialog) return {};
  std::vector<wchar_t> path(32768, L'\0');
  spec.name.copy(path.data(), std::min(spec.name.size(), path.size() - 1));
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = spec.filter.empty() ? nullptr : spec.filter.c_str();
  ofn.lpstrFile = path.data();
  ofn.nMaxFile = static_cast<DWORD>(path.size());
  ofn.lpstrInitialDir = spec.folder.empty() ? nullptr : spec.folder.c_str();
  ofn.lpstrTitle = spec.title.c_str();
  ofn.lpstrDefExt = spec.extension.empty() ? nullptr : spec.extension.c_str();
  ofn.Flags = OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_EXPLORER |
              (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  if (!dialog(&ofn)) return {};
  return std::wstring(path.data());
}

}  // namespace

std::wstring AskSaveFile(HWND owner, const FileDialogSpec& spec) { return Ask(owner, spec, true); }

std::wstring AskOpenFile(HWND owner, const FileDialogSpec& spec) { return Ask(owner, spec, false); }

// SHGetFolderPathW rather than the known-folder call, whose result would
// need COM's allocator and so load COM with the program.
std::wstring DocumentsFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
  return folder;
}

}  // namespace tabcard
