// The main window's commands without a window: the system-menu commands,
// the tray icon's menu and mouse events, and the memo and list menus, over
// PaletteModel and a CommandHost that the main window implements.
#pragma once

#include <string>

#include "app/desktop.h"
#include "app/main_menus.h"
#include "app/palette_model.h"
#include "store/backup.h"
#include "store/backup_store.h"
#include "forms/input.h"
#include "ui/clipboard_text.h"
#include "ui/grid_geometry.h"

namespace tabcard {

enum class ModalDialog {
  kProperty,  // TfrmProperty, the profile editor
  kOption,    // TfrmOption
  kAbout,     // TAboutBox
};

// TfrmListDlg's two fields: txtListMemo and txtListHint.
struct ListEntry {
  std::string phrase;
  std::string hint;
};

// What the commands need of the main window and the desktop.
class CommandHost {
 public:
  virtual ~CommandHost() = default;

  // Creates the dialog owned by the application, shows it modally and
  // disposes of it; true when it closed with OK.
  virtual bool ShowDialog(ModalDialog dialog) = 0;
  // The list-entry dialog with its phrase field prefilled; on OK, *entry
  // holds both fields as the user left them.
  virtual bool ShowListDialog(const std::string& phrase, ListEntry* entry) = 0;

  virtual void SetTopMost(bool topMost) = 0;
  virtual void Minimize() = 0;
  // Shows the main window (FormShow runs when it was hidden) and brings it
  // to the front.
  virtual void ShowAndActivate() = 0;
  // Asks the main window to close; its FormClose decides.
  virtual void CloseMainWindow() = 0;
  // WM_SYSCOMMAND to the main window, so every dialog opens in one place.
  virtual void SendSystemCommand(int command) = 0;
  virtual void OpenHelpContents() = 0;

  virtual ScreenPoint CursorPos() = 0;
  // TaskMenu at a screen point; the chosen command, 0 for none.
  virtual int PopupTaskMenu(ScreenPoint at) = 0;
  // The whole of the clipboard's text; the open is retried for a moment
  // while another program holds the clipboard.
  virtual ClipboardText ReadClipboardText() = 0;
  virtual void Beep() = 0;
  // A message box with OK and the exclamation icon.
  virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;

  virtual GridCell CurrentCell(int page) const = 0;

  // The show hotkey's work. Whether the palette is the active window.
  virtual bool PaletteActive() const = 0;
  // Remembers the window in front as the target, shows the palette (on the
  // pointer's monitor) and gives its page's grid the keyboard focus.
  virtual void BringPaletteForward() = 0;
  // The foreground back to the target.
  virtual void GiveForegroundBack() = 0;

  // Backup and restore. The standard save and open dialogs; an empty path
  // when the user cancelled. The save dialog starts in Documents.
  virtual std::wstring AskBackupPath(const std::string& suggestedName) = 0;
  virtual std::wstring AskRestorePath() = 0;
  // A question with Yes and No; true for Yes.
  virtual bool Confirm(const std::string& text, const std::string& caption) = 0;
  // Everything of the store and the memo files into a backup file; false
  // with a reason for the user.
  virtual bool SaveBackup(const std::wstring& path, std::string* reason) = 0;
  // A backup file read and checked whole; false with the reason it is refused.
  virtual bool LoadBackup(const std::wstring& path, Backup* backup, std::string* reason) = 0;
  // The store and the memo files made what the backup holds.
  virtual bool RestoreBackup(const Backup& backup, std::string* reason) = 0;
  virtual BackupTime Now() = 0;
  // A file of that name (CP932) in the folder of path.
  virtual std::wstring Beside(const std::wstring& path, const std::string& name) = 0;
  // The stored hotkeys registered again (after a restore changed them).
  virtual void RegisterStoredHotKeys() = 0;
  // The grid's tooltip text.
  virtual void SetGridHint(int page, const std::string& text) = 0;
};

class MainCommands {
 public:
  MainCommands(PaletteModel& model, CommandHost& host) : model_(model), host_(host) {}
  MainCommands(const MainCommands&) = delete;
  MainCommands& operator=(const MainCommands&) = delete;

  // WM_SYSCOMMAND with the whole wParam; false for an identifier of none of
  // the additions. The message goes on to default processing either way.
  bool SysCommand(int id);
  // WM_COMMAND of TaskMenu, MemoMenu and ListMenu; false for other ids.
  bool Command(int id);

  // The tray icon's events.
  void IconReleased(MouseButton button);
  void IconDoubleClicked();

  // The show hotkey: the palette to the front, or, pressed again, back out
  // of the way to the window it came from (into the tray when it was
  // there). Esc in the palette returns as the second press does.
  void ShowHotKey();
  void ReturnFromPalette();

  // TaskMenu.
  void ShowPalette();
  void OpenProperty();
  void OpenOptions();
  void OpenAbout();
  void ShowHelp();
  void Exit();

  // TaskMenu's バックアップ and 復元.
  void Backup();
  void Restore();

  // MemoMenu and ListMenu, on the grid's current cell.
  void CopyClipboardToMemo();
  void EmptyCurrentMemo();
  void AddPhraseFromDialog();
  void DeleteCurrentPhrase();

  // The end of the first FormShow after a start that could not read its
  // settings, profile or window state: the profile editor, with the window
  // kept topmost, then the options dialog's unshown save. Runs once;
  // nothing when the start read everything.
  void FirstRunDialogs();

  // For building the system menu and for WM_INITMENU.
  SystemMenuState MenuState() const;

 private:
  bool ShowLowered(ModalDialog dialog);
  void RestoreTopMost();
  int CellNumber(int page, GridCell cell) const;
  void StoreMemo(GridCell cell, const std::string& text, const std::string& title);
  bool EnsureListRead(const char* caption);

  PaletteModel& model_;
  CommandHost& host_;
  bool hiddenBeforeShow_ = false;
};

}  // namespace tabcard
