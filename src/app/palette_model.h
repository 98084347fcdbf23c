// The main window's state and lifecycle without a window: the fields that
// TfrmMain holds, the fixed order of FormCreate, what FormShow, FormResize,
// FormClose and a display change do, and the refills after the menus and
// dialogs. The window implements PaletteWindowView and only applies the results.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/transfer.h"
#include "forms/palette.h"
#include "store/layout.h"
#include "store/paste_keys.h"
#include "store/phrase_list.h"
#include "store/placement.h"
#include "store/profile_store.h"
#include "store/registry.h"
#include "store/settings.h"
#include "store/window_state.h"
#include "ui/dpi_scale.h"

namespace tabcard {

// What the model needs of the window. Sizes are device pixels; the model
// scales configured and design values with the DpiScale it is given.
class PaletteWindowView {
 public:
  virtual ~PaletteWindowView() = default;

  virtual void SetGridGeometry(int page, int cols, int rows, int colWidth, int rowHeight) = 0;
  // At the window's DPI; every other attribute of the grid's font kept.
  virtual void SetGridFont(int page, const GridFont& font) = 0;
  virtual void SetGridColumns(int page, int cols, int colWidth) = 0;
  virtual int GridClientWidth(int page) const = 0;
  virtual void SetGridCells(int page, const CellTexts& cells) = 0;
  virtual void SetCellText(int page, GridCell cell, const std::string& text) = 0;
  // The cells' marks, after their texts: a label marks a cell, "" none.
  virtual void SetGridMarks(int page, const CellTexts& marks) = 0;

  virtual int PageControlWidth() const = 0;
  virtual void SetTabWidth(int width) = 0;
  virtual int ActivePage() const = 0;
  virtual void SetActivePage(int page) = 0;

  virtual WindowBounds Bounds() const = 0;
  virtual void SetBounds(const WindowBounds& bounds) = 0;
  virtual bool IsVisible() const = 0;
  virtual void ShowWindow() = 0;  // runs FormShow
  virtual void HideWindow() = 0;
  virtual void SetTopMost(bool topMost) = 0;
  // Whether the notification-area icon is there: without it the window is
  // the only way back to the program, so it never hides into the tray.
  virtual bool TrayIconShown() const = 0;

  // Primary screen size, and every monitor's rectangle (primary first).
  virtual void ScreenSize(std::int32_t* width, std::int32_t* height) const = 0;
  virtual std::vector<MonitorRect> Monitors() const = 0;
};

// The outcome of an edit of the phrase list.
enum class ListEdit {
  kNoSuchPhrase,  // nothing changed
  kSaved,
  kNotSaved,  // the list was read back from the store and shown as stored
};

class PaletteModel : public PaletteContent, public PasteKeyBook {
 public:
  PaletteModel(RegistryBackend& store, const FontFace& standardFont, PaletteWindowView& view,
               DpiScale scale);

  // Lifecycle handlers of TfrmMain.
  void FormCreate();
  void FormShow();
  void FormResize();
  // False when the close is refused (the window was hidden instead).
  bool FormClose();
  // Windows ends the session (sign-out, shutdown, restart) and the process
  // with it, with no close: the state is kept as a close would keep it.
  void SessionEnding();
  void PageShown();
  // WM_DISPLAYCHANGE: keeps the window on the new screen arrangement.
  void DisplayChanged();
  // WM_DPICHANGED: every scaled size again at the new DPI.
  void DpiChanged(DpiScale scale);

  // The loads and fills, in the names the menus and dialogs use.
  bool LoadSettings();
  bool LoadUserNames();
  bool LoadProfile(int user);
  bool LoadList();
  bool LoadWindowState();
  bool SaveWindowState();
  bool SaveList();
  void ApplyPageGeometry(int page);
  // The items' names and the formats' marks.
  void FillPersonalCells(int page);
  void FillMemoTitles();
  // A memo the memo menu wrote: its cell and hint show the new title.
  void SetMemoTitle(GridCell cell, std::string title);
  void FillListCells();
  void FitColumnWidths();
  void FitTabWidth();
  // Keeps the window inside the monitor it is on (the showing rule).
  void KeepOnScreen();
  // Whether the palette is on the screen (shown, minimised or not).
  bool Shown() const { return view_.IsVisible(); }
  // Back into the tray, as a close with タスクトレイに常駐する does; nothing
  // while no icon is there to bring it back.
  void HideIntoTray();

  // Everything read again and shown, as at start (a restore replaced it).
  void ReloadAll();

  // Refills after the commands that change what the grids show.
  void SwitchUser(int user);
  void RefreshAfterProfileEditor();
  // The pages' standard font on this system, which the options dialog also
  // falls back on.
  const FontFace& standardFont() const { return standardFont_; }
  void RefreshAfterOptions();
  // Both store the list; a failed save reloads it.
  ListEdit AddPhrase(std::string phrase, std::string hint);
  ListEdit DeletePhrase(int index);
  // LoadList, then FillListCells; gives ListRead().
  bool ReloadList();
  // The first start's save: what the options dialog would open on (the
  // stored configuration, or the standard one where it cannot be read),
  // written in full, without its window.
  bool SaveOptionsUnshown();

  // State fields of TfrmMain.
  bool BootInTaskTray = false;
  bool CloseInTaskTray = false;
  bool WndTopMost = true;
  bool TabMode = false;
  std::int32_t UserNo = 0;
  UserNames userNames;
  bool FirstRun = false;
  bool Exiting = false;

  const PaletteSettings& settings() const { return settings_; }
  const Profile& profile() const { return profile_; }
  const PhraseList& list() const { return list_; }
  // The last LoadList succeeded or found no list stored: only then may the
  // list be saved, or a save would replace a stored list it could not read.
  bool ListRead() const { return listRead_; }
  const DpiScale& scale() const { return scale_; }

  // PaletteContent: what the grids show and their cells send.
  GridShape Shape(int page) const override;
  const PageItems& Items(int page) const override;
  const PageForms& Forms(int page) const override;
  const ItemValues& CurrentItemValues() const override { return profile_.values; }
  std::string MemoTitle(int slot) const override;
  std::string MemoHead(int slot) const override;
  const PhraseList& List() const override { return list_; }
  bool SendsTab() const override { return TabMode; }
  bool RestoresClipboard() const override { return settings_.RestoreClipboard; }

  // PasteKeyBook: the rules read with the settings; a learnt one is stored
  // at once.
  std::optional<PasteKey> RuleFor(std::u16string_view program) const override;
  void Learn(std::u16string_view program, PasteKey key) override;
  const PasteKeyRules& pasteKeys() const { return pasteKeys_; }

 private:
  ListEdit StoreEditedList();
  bool LoadAndFillEverything();

  RegistryBackend& store_;
  FontFace standardFont_;
  PaletteWindowView& view_;
  DpiScale scale_;
  PaletteSettings settings_;
  PasteKeyRules pasteKeys_;
  Profile profile_;
  PhraseList list_;
  std::vector<std::string> memoTitles_;  // by slot, as the memo page shows them
  bool listRead_ = false;
};

}  // namespace tabcard
