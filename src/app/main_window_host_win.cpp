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
  return TrackPopup(hwnd(), BuildPopupMenu(TaskMenuLayout(model_->settings().hotKeys.show)),
                    POINT{at.x, at.y});
}

// A command the user chose waits a moment for a clipboard that another
// program (a clipboard manager, Wine's X bridge) has open for a moment.
ClipboardText TfrmMain::ReadClipboardText() {
  return tabcard::ReadClipboardText(hwnd(), std::numeric_limits<std::size_t>::max(),
                                    kClipboardRetryMs);
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

void TfrmMain::SetGridHint(int page, const std::string& text) { Grid(page).SetHint(text); }

}  // namespace tabcard
