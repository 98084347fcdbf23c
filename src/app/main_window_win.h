// TfrmMain, the palette window: built from its form description, owned by
// the hidden application window, with the lifecycle of PaletteModel. The
// window applies what the model decides to its page control and grids.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "app/desktop_win.h"
#include "app/main_commands.h"
#include "app/palette_model.h"
#include "app/palette_transfer_win.h"
#include "app/transfer.h"
#include "options/option_model.h"
#include "store/registry.h"
#include "tray/task_tray_win.h"
#include "ui/form_window_win.h"
#include "ui/notice_tip_win.h"
#include "ui/string_grid_win.h"

namespace tabcard {

inline constexpr wchar_t kMainWindowClass[] = L"TfrmMain";
// Posted by the first FormShow that finds FirstRun set.
inline constexpr UINT kFirstRunMessage = WM_APP + 1;

class TfrmMain : public FormWindow,
                 private PaletteWindowView,
                 private CommandHost,
                 public HotKeyRegistrar {
 public:
  TfrmMain(RegistryBackend& store, HWND appWindow, std::wstring helpFile);
  ~TfrmMain() override;

  // Creates the window, its controls and Timer1, adds the tray icon
  // TaskTray1, then runs FormCreate (which shows the window unless it
  // starts in the tray).
  void Create();
  PaletteModel& model() { return *model_; }

  // HotKeyRegistrar: the palette's window receives both hotkeys.
  bool Register(const HotKeys& keys, HotKey* taken) override;

 protected:
  bool OnEvent(const forms::FormEvent& e) override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnScaleChanged() override;

 private:
  // The form's handlers.
  void FormCreate();
  void FormShow(const forms::FormEvent& e);
  void FormResize(const forms::FormEvent& e);
  void FormClose(const forms::FormEvent& e);
  void PageControl1Change(const forms::FormEvent& e);
  void SGridMouseDown(const forms::FormEvent& e);
  void SGridMouseMove(const forms::FormEvent& e);
  void SGridMouseUp(const forms::FormEvent& e);
  void SGridDblClik(const forms::FormEvent& e);
  void Timer1Timer(const forms::FormEvent& e);

  // PaletteWindowView
  void SetGridGeometry(int page, int cols, int rows, int colWidth, int rowHeight) override;
  void SetGridFont(int page, const GridFont& font) override;
  void SetGridColumns(int page, int cols, int colWidth) override;
  int GridClientWidth(int page) const override;
  void SetGridCells(int page, const CellTexts& cells) override;
  void SetCellText(int page, GridCell cell, const std::string& text) override;
  void SetGridMarks(int page, const CellTexts& marks) override;
  int PageControlWidth() const override;
  void SetTabWidth(int width) override;
  int ActivePage() const override;
  void SetActivePage(int page) override;
  WindowBounds Bounds() const override;
  void SetBounds(const WindowBounds& bounds) override;
  bool IsVisible() const override;
  void ShowWindow() override;
  void HideWindow() override;
  void SetTopMost(bool topMost) override;
  void ScreenSize(std::int32_t* width, std::int32_t* height) const override;
  std::vector<MonitorRect> Monitors() const override;
  bool TrayIconShown() const override;

  // CommandHost
  bool ShowDialog(ModalDialog dialog) override;
  bool ShowListDialog(const std::string& phrase, ListEntry* entry) override;
  void Minimize() override;
  void ShowAndActivate() override;
  void CloseMainWindow() override;
  void SendSystemCommand(int command) override;
  void OpenHelpContents() override;
  ScreenPoint CursorPos() override;
  int PopupTaskMenu(ScreenPoint at) override;
  ClipboardText ReadClipboardText() override;
  void Beep() override;
  void ShowMessage(const std::string& text, const std::string& caption) override;
  GridCell CurrentCell(int page) const override;
  void SetGridHint(int page, const std::string& text) override;
  bool PaletteActive() const override;
  void BringPaletteForward() override;
  void GiveForegroundBack() override;
  std::wstring AskBackupPath(const std::string& suggestedName) override;
  std::wstring AskRestorePath() override;
  bool Confirm(const std::string& text, const std::string& caption) override;
  bool SaveBackup(const std::wstring& path, std::string* reason) override;
  bool LoadBackup(const std::wstring& path, Backup* backup, std::string* reason) override;
  bool RestoreBackup(const Backup& backup, std::string* reason) override;
  BackupTime Now() override;
  std::wstring Beside(const std::wstring& path, const std::string& name) override;
  // The stored chords; one that another program holds is told once, by the
  // tray icon.
  void RegisterStoredHotKeys() override;

  bool DialogAlreadyOpen() const;
  void CreateTaskTray();
  // The grids' popup menus at a screen point; false for a window that has none.
  bool OnContextMenu(HWND from, LPARAM lp);
  bool OnGridKey(int page, const GridKeyNotify& key);
  void OnHotKey(int id);
  // Each monitor's work area, the primary's first.
  std::vector<MonitorRect> WorkAreas() const;
  StringGrid& Grid(int page) const;
  HWND PageControl() const;

  RegistryBackend& store_;
  HWND appWindow_;
  std::optional<PaletteModel> model_;
  mutable std::array<StringGrid, kPageCount> grids_;
  std::unique_ptr<DesktopWin> desktop_;
  std::unique_ptr<PaletteTransferView> transferView_;
  std::unique_ptr<ItemTransfer> transfer_;
  std::unique_ptr<MainCommands> commands_;
  std::unique_ptr<TTaskTray> TaskTray1;
  std::wstring helpFile_;
  UINT_PTR timerId_ = 0;
  HotKeys registered_{kNoHotKey, kNoHotKey};
  std::unique_ptr<NoticeTip> notice_;  // when no tray icon can tell
};

}  // namespace tabcard
