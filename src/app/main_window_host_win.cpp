// TfrmMain as the commands' host: the dialogs, the window's states, the
// tray menu, the clipboard and the grids, as MainCommands asks for them.
#include <limits>

#include "app/main_menus.h"
#include "app/main_window_win.h"
#include "editor/list_dlg_win.h"
#include "editor/property_win.h"
#include "options/about_box_win.h"
#include "options/option_win.h"
#include "ui/app_error_win.h"
#include "ui/clipboard_win.h"
#include "core/strconv_win.h"
#include "store/backup_win.h"
#include "ui/file_dialog_win.h"
#include "ui/help.h"
#include "ui/help_win.h"
#include "ui/menu_win.h"

namespace tabcard {

// The tray menu works while a dialog is open; a second dialog over it would
// leave the first unreachable until the second closes, so the open one
// comes forward instead.
bool TfrmMain::DialogAlreadyOpen() const {
  if (IsWindowEnabled(hwnd())) return false;
  HWND open = GetLastActivePopup(hwnd());
  if (open && open != hwnd()) SetForegroundWindow(open);
  return true;
}

bool TfrmMain::ShowDialog(ModalDialog dialog) {
  if (DialogAlreadyOpen()) return false;
  switch (dialog) {
    case ModalDialog::kAbout: {
      TAboutBox box;
      box.Execute(hwnd());
      return true;
    }
    case ModalDialog::kProperty: {
      TfrmProperty editor(store_, helpFile_);
      return editor.Execute(hwnd());
    }
    case ModalDialog::kOption: {
      TfrmOption options(store_, model_->standardFont(), helpFile_, *this);
      return options.Execute(hwnd());
    }
  }
  return false;
}

bool TfrmMain::ShowListDialog(const std::string& phrase, ListEntry* entry) {
  if (DialogAlreadyOpen()) return false;
  ListDlgModel model{phrase, {}};
  TfrmListDlg dialog(model);
  if (!dialog.Execute(hwnd())) return false;
  entry->phrase = model.txtListMemo;
  entry->hint = model.txtListHint;
  return true;
}

void TfrmMain::Minimize() { ::ShowWindow(hwnd(), SW_MINIMIZE); }

void TfrmMain::ShowAndActivate() {
  ::ShowWindow(hwnd(), IsIconic(hwnd()) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(hwnd());
}

// Posted: the command that asks may still be running on the window's state.
void TfrmMain::CloseMainWindow() { PostMessageW(hwnd(), WM_CLOSE, 0, 0); }

void TfrmMain::SendSystemCommand(int command) {
  SendMessageW(hwnd(), WM_SYSCOMMAND, static_cast<WPARAM>(command), 0);
}

void TfrmMain::OpenHelpContents() { OpenHelp(hwnd(), helpFile_, kHelpContents); }

ScreenPoint TfrmMain::CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return ScreenPoint{p.x, p.y};
}

int TfrmMain::PopupTaskMenu(ScreenPoint at) {
  const bool dialogOpen = !IsWindowEnabled(hwnd());
  return TrackPopup(hwnd(),
                    BuildPopupMenu(TaskMenuLayout(model_->settings().hotKeys.show, dialogOpen)),
                    POINT{at.x, at.y});
}

// A command the user chose waits a moment for a clipboard that another
// program (a clipboard manager, Wine's X bridge) has open for a moment.
ClipboardText TfrmMain::ReadClipboardText() {
  return desktop_->ReadText(std::numeric_limits<std::size_t>::max(), kClipboardRetryMs);
}

void TfrmMain::Beep() { MessageBeep(MB_OK); }

void TfrmMain::ShowMessage(const std::string& text, const std::string& caption) {
  Warn(hwnd(), std::string_view(text), std::string_view(caption));
}

GridCell TfrmMain::CurrentCell(int page) const { return Grid(page).CurrentCell(); }

bool TfrmMain::PaletteActive() const { return GetForegroundWindow() == hwnd(); }

void TfrmMain::BringPaletteForward() {
  transfer_->RememberForeground();
  if (!IsWindowVisible(hwnd()) || IsIconic(hwnd())) ShowAndActivate();
  POINT pointer{};
  GetCursorPos(&pointer);
  SetBounds(OntoMonitorAt(Bounds(), WorkAreas(), pointer.x, pointer.y));
  SetForegroundWindow(hwnd());
  const int page = ActivePage();
  if (page >= 0 && page < kPageCount) SetFocus(Grid(page).Handle());
}

void TfrmMain::GiveForegroundBack() { transfer_->ReturnToTarget(); }

namespace {

FileDialogSpec BackupDialog(const wchar_t* title) {
  FileDialogSpec spec;
  spec.title = title;
  for (const wchar_t* part : {L"タブカードのバックアップ (*.tcb)", L"*.tcb", L"すべてのファイル (*.*)", L"*.*"}) {
    spec.filter += part;
    spec.filter.push_back(L'\0');
  }
  spec.extension = L"tcb";
  spec.folder = DocumentsFolder();
  return spec;
}

}  // namespace

std::wstring TfrmMain::AskBackupPath(const std::string& suggestedName) {
  FileDialogSpec spec = BackupDialog(L"バックアップ");
  spec.name = Widen(suggestedName);
  return AskSaveFile(hwnd(), spec);
}

std::wstring TfrmMain::AskRestorePath() { return AskOpenFile(hwnd(), BackupDialog(L"復元")); }

bool TfrmMain::Confirm(const std::string& text, const std::string& caption) {
  return Ask(hwnd(), std::string_view(text), std::string_view(caption));
}

bool TfrmMain::SaveBackup(const std::wstring& path, std::string* reason) {
  Backup backup;
  return CaptureBackup(store_, &backup, reason) &&
         SaveBackupFile(path, WriteBackup(backup, WindowsCp932()), reason);
}

bool TfrmMain::LoadBackup(const std::wstring& path, Backup* backup, std::string* reason) {
  std::string bytes;
  return LoadBackupFile(path, &bytes, reason) && ReadBackup(bytes, WindowsCp932(), backup, reason);
}

bool TfrmMain::RestoreBackup(const Backup& backup, std::string* reason) {
  return tabcard::RestoreBackup(store_, backup, reason);
}

BackupTime TfrmMain::Now() { return LocalBackupTime(); }

std::wstring TfrmMain::Beside(const std::wstring& path, const std::string& name) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return (slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1)) + Widen(name);
}

void TfrmMain::SetGridHint(int page, const std::string& text) { Grid(page).SetHint(text); }

}  // namespace tabcard
