// The standard open and save dialogs. comdlg32 is loaded with the first
// dialog, so a start loads nothing of it.
#pragma once

#include <windows.h>

#include <string>

namespace tabcard {

struct FileDialogSpec {
  std::wstring title;
  std::wstring folder;       // where it opens; empty: the system's choice
  std::wstring name;         // the suggested file name (save)
  std::wstring filter;       // "名前\0*.ext\0...\0" pairs, ending in two NULs
  std::wstring extension;    // added to a typed name without one ("tcb")
};

// The chosen path, empty when the user cancelled or the dialog failed. The
// save dialog asks before it overwrites a file.
std::wstring AskSaveFile(HWND owner, const FileDialogSpec& spec);
std::wstring AskOpenFile(HWND owner, const FileDialogSpec& spec);

// The user's Documents folder, empty when unknown.
std::wstring DocumentsFolder();

}  // namespace tabcard
