#include "app/main_commands.h"

#include <vector>

#include "core/text.h"
#include "store/memo.h"

namespace tabcard {

namespace {

constexpr char kMemoSaveFailed[] = "メモファイルの保存に失敗しました！";
constexpr char kMemoSaveCaption[] = "メモ保存";
constexpr char kListSaveFailed[] = "リストの保存に失敗しました！";
constexpr char kListReadFailed[] = "リストの読込みに失敗しました！";
constexpr char kListAddCaption[] = "リスト追加";
constexpr char kListDelCaption[] = "リスト削除";
constexpr char kBackupCaption[] = "バックアップ";
constexpr char kRestoreCaption[] = "復元";

// Whether the cell showing phrase n showed the same phrase before a reload.
bool ShowedSamePhrase(const std::vector<std::string>& before,
                      const std::vector<std::string>& after, int n) {
  const auto i = static_cast<std::size_t>(n);
  return i < before.size() && i < after.size() && before[i] == after[i];
}

}  // namespace

void MainCommands::FirstRunDialogs() {
  if (!model_.FirstRun) return;
  // Cleared first: a show while the editor is open must not open another.
  model_.FirstRun = false;
  if (host_.ShowDialog(ModalDialog::kProperty)) model_.RefreshAfterProfileEditor();
  // Silent: the next start reads what is there, or tries again.
  model_.SaveOptionsUnshown();
}

bool MainCommands::SysCommand(int id) {
  if (id >= kSysUserFirst && id < kSysUserFirst + kUserCount) {
    // Also the current user: choosing it reloads the profile.
    model_.SwitchUser(id - kSysUserFirst);
    return true;
  }
  switch (id) {
    case kSysMinimize:
      host_.Minimize();
      return true;
    case kSysProperty: {
      const bool ok = ShowLowered(ModalDialog::kProperty);
      RestoreTopMost();
      if (ok) model_.RefreshAfterProfileEditor();
      return true;
    }
    case kSysOption:
      if (ShowLowered(ModalDialog::kOption)) model_.RefreshAfterOptions();
      RestoreTopMost();
      return true;
    case kSysHelp:
      host_.OpenHelpContents();
      return true;
    case kSysAbout:
      ShowLowered(ModalDialog::kAbout);
      RestoreTopMost();
      return true;
    case kSysTopMost:
      model_.WndTopMost = !model_.WndTopMost;
      host_.SetTopMost(model_.WndTopMost);
      return true;
    case kSysTabMode:
      model_.TabMode = !model_.TabMode;
      return true;
    case kSysReturn:
      ReturnFromPalette();
      return true;
    default:
      return false;
  }
}

bool MainCommands::Command(int id) {
  switch (id) {
    case kMnuView: ShowPalette(); return true;
    case kMnuProp: OpenProperty(); return true;
    case kMnuOpt: OpenOptions(); return true;
    case kMnuAbout: OpenAbout(); return true;
    case kMnuHelp: ShowHelp(); return true;
    case kMnuExit: Exit(); return true;
    case kMnuBackup: Backup(); return true;
    case kMnuRestore: Restore(); return true;
    case kMnuCopyMemo: CopyClipboardToMemo(); return true;
    case kMnuDelMemo: EmptyCurrentMemo(); return true;
    case kMnuAddList: AddPhraseFromDialog(); return true;
    case kMnuDelList: DeleteCurrentPhrase(); return true;
    default: return false;
  }
}

void MainCommands::IconReleased(MouseButton button) {
  if (button != MouseButton::Right) return;
  const int chosen = host_.PopupTaskMenu(host_.CursorPos());
  if (chosen) Command(chosen);
}

void MainCommands::IconDoubleClicked() { host_.ShowAndActivate(); }

void MainCommands::ShowHotKey() {
  if (host_.PaletteActive()) {
    ReturnFromPalette();
    return;
  }
  hiddenBeforeShow_ = !model_.Shown();
  host_.BringPaletteForward();
}

void MainCommands::ReturnFromPalette() {
  host_.GiveForegroundBack();
  if (hiddenBeforeShow_) model_.HideIntoTray();
  hiddenBeforeShow_ = false;
}

void MainCommands::ShowPalette() { host_.ShowAndActivate(); }
void MainCommands::OpenProperty() { host_.SendSystemCommand(kSysProperty); }
void MainCommands::OpenOptions() { host_.SendSystemCommand(kSysOption); }
void MainCommands::OpenAbout() { host_.SendSystemCommand(kSysAbout); }
void MainCommands::ShowHelp() { host_.SendSystemCommand(kSysHelp); }

void MainCommands::Exit() {
  // FormClose lets the close go on even with CloseInTaskTray set.
  model_.Exiting = true;
  host_.CloseMainWindow();
}

void MainCommands::Backup() {
  const std::wstring path = host_.AskBackupPath(DefaultBackupName(host_.Now()));
  if (path.empty()) return;
  std::string reason;
  if (!host_.SaveBackup(path, &reason)) host_.ShowMessage(reason, kBackupCaption);
}

// Everything the file holds is checked before anything changes, and what
// the store held is kept beside the file first, so a restore is undone by
// restoring that.
void MainCommands::Restore() {
  const std::wstring path = host_.AskRestorePath();
  if (path.empty()) return;
  tabcard::Backup backup;
  std::string reason;
  if (!host_.LoadBackup(path, &backup, &reason)) {
    host_.ShowMessage(reason, kRestoreCaption);
    return;
  }
  const std::string safetyName = SafetyBackupName(host_.Now());
  if (!host_.Confirm("いまの設定、プロフィール、リストとメモを、選んだバックアップの内容に置き換えます。\n"
                     "いまの内容は、同じフォルダーに「" + safetyName + "」として残します。\n"
                     "よろしいですか？",
                     kRestoreCaption)) {
    return;
  }
  if (!host_.SaveBackup(host_.Beside(path, safetyName), &reason)) {
    host_.ShowMessage("いまの内容を残せなかったため、復元しませんでした。\n" + reason, kRestoreCaption);
    return;
  }
  const bool restored = host_.RestoreBackup(backup, &reason);
  // Reloaded either way: a failed restore has put back what it could.
  model_.ReloadAll();
  host_.RegisterStoredHotKeys();
  if (!restored) host_.ShowMessage(reason, kRestoreCaption);
}

void MainCommands::CopyClipboardToMemo() {
  const GridCell cell = host_.CurrentCell(kPageMemo);
  if (!cell.IsCell()) return;
  const ClipboardText clip = host_.ReadClipboardText();
  if (clip.state == ClipboardText::State::kBusy) {
    host_.Beep();
    return;
  }
  if (clip.state != ClipboardText::State::kText) return;
  const std::string title(Trim(CutDoubleByte(clip.text, kMemoTitleCapacity)));
  StoreMemo(cell, clip.text, title);
}

void MainCommands::EmptyCurrentMemo() {
  const GridCell cell = host_.CurrentCell(kPageMemo);
  if (cell.IsCell()) StoreMemo(cell, std::string(), std::string());
}

void MainCommands::AddPhraseFromDialog() {
  if (!EnsureListRead(kListAddCaption)) return;
  const ClipboardText clip = host_.ReadClipboardText();
  const std::string prefill = clip.state == ClipboardText::State::kText ? clip.text : "";
  host_.SetTopMost(false);
  ListEntry entry;
  const bool ok = host_.ShowListDialog(prefill, &entry);
  RestoreTopMost();
  if (!ok || entry.phrase.empty()) return;
  const std::string hint = entry.hint;
  if (model_.AddPhrase(std::move(entry.phrase), std::move(entry.hint)) == ListEdit::kSaved) {
    host_.SetGridHint(kPageList, hint);
  } else {
    host_.ShowMessage(kListSaveFailed, kListAddCaption);
  }
}

void MainCommands::DeleteCurrentPhrase() {
  const GridCell cell = host_.CurrentCell(kPageList);
  if (!cell.IsCell()) return;
  const int n = CellNumber(kPageList, cell);
  if (!model_.ListRead()) {
    const std::vector<std::string> shown = model_.list().ListPhrases;
    if (!EnsureListRead(kListDelCaption)) return;
    // The user chose the cell on the list as it was shown before.
    if (!ShowedSamePhrase(shown, model_.list().ListPhrases, n)) return;
  }
  if (model_.DeletePhrase(n) == ListEdit::kNotSaved) {
    host_.ShowMessage(kListSaveFailed, kListDelCaption);
  }
}

SystemMenuState MainCommands::MenuState() const {
  SystemMenuState state;
  state.userNames = model_.userNames;
  state.UserNo = model_.UserNo;
  state.TabMode = model_.TabMode;
  state.WndTopMost = model_.WndTopMost;
  state.showHotKey = model_.settings().hotKeys.show;
  return state;
}

bool MainCommands::ShowLowered(ModalDialog dialog) {
  // A topmost palette would cover its own dialog.
  host_.SetTopMost(false);
  return host_.ShowDialog(dialog);
}

void MainCommands::RestoreTopMost() {
  if (model_.WndTopMost) host_.SetTopMost(true);
}

int MainCommands::CellNumber(int page, GridCell cell) const {
  return cell.col + cell.row * model_.Shape(page).cols;
}

void MainCommands::StoreMemo(GridCell cell, const std::string& text, const std::string& title) {
  // The file first: the cell never shows a title the file does not hold.
  if (WriteMemoFile(CellNumber(kPageMemo, cell), text) < 0) {
    host_.ShowMessage(kMemoSaveFailed, kMemoSaveCaption);
    return;
  }
  model_.SetMemoTitle(cell, title);
}

bool MainCommands::EnsureListRead(const char* caption) {
  if (model_.ListRead() || model_.ReloadList()) return true;
  host_.ShowMessage(kListReadFailed, caption);
  return false;
}

}  // namespace tabcard
