// The options dialog TfrmOption without its window: the working copy of the
// four page configurations, the personal pages' item slots and the loaded
// behaviour flags; the handlers of the page settings, the font dialog and the
// item assignment; the load at creation and the save on OK. The window
// implements OptionView and only mirrors its controls.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "forms/palette.h"
#include "options/item_assign.h"
#include "options/paste_key_list.h"
#include "store/layout.h"
#include "store/registry.h"
#include "store/settings.h"
#include "ui/dpi_scale.h"

namespace tabcard {

// The dialog's three page controls.
enum class OptionTabs {
  kDialog,    // PageControl1: ページの設定, 起動／複写動作, ホットキー, 貼り付けキー
  kPreview,   // PageControl2: the four pages, in page order
  kSettings,  // PageControl3: the two tabs below
};
inline constexpr int kPersonalSettingsTab = 0;  // 個人ページの設定
inline constexpr int kCellSettingsTab = 1;      // セルの設定
inline constexpr int kHotKeyTab = 2;            // ホットキー, of PageControl1
inline constexpr int kPasteKeyTab = 3;          // 貼り付けキー, of PageControl1

// The cell-settings boxes (txtColCnt, txtRowCnt, txtColWidth, txtRowHeight).
enum CellField : int { kColCountField, kRowCountField, kColWidthField, kRowHeightField };
// The check boxes of 起動／複写動作: the stored flags in the order of their
// values, then the Startup shortcut's.
enum BehaviourBox : int {
  kBootInTaskTrayBox,
  kCloseInTaskTrayBox,
  kTabModeBox,
  kRestoreClipboardBox,
  kStartWithWindowsBox
};
inline constexpr int kBehaviourBoxCount = 4;  // the stored flags
inline constexpr int kBehaviourTab = 1;       // 起動／複写動作, of PageControl1
// The hot-key boxes of ホットキー: パレットを表示, 連続入力.
enum HotKeyBox : int { kShowHotKeyBox, kStepHotKeyBox };

// Limits of "更新": a side of 1 to 256 cells, at most 256 cells on a personal
// page (its slots), widths and heights of 1 to 999 pixels.
inline constexpr int kMaxCellPixels = 999;

// What the model needs of the dialog besides the item assignment. Preview
// grids are named by page; sizes are device pixels, which the model scales
// from configured pixels at 96 DPI.
class OptionView : public ItemAssignView, public PasteKeyListView {
 public:
  // The tab a page control shows, and showing one; ShowTab runs no handler.
  virtual int ActiveTab(OptionTabs tabs) const = 0;
  virtual void ShowTab(OptionTabs tabs, int tab) = 0;

  virtual std::string FieldText(CellField field) const = 0;
  virtual void SetFieldText(CellField field, std::string_view text) = 0;
  virtual void EnableColWidth(bool enabled) = 0;
  // rdoColWidthMode: whether its second choice "設定値で固定する" is chosen,
  // and choosing (runs no handler).
  virtual bool FixedWidthChosen() const = 0;
  virtual void ChooseWidthMode(bool fixed) = 0;
  // lstKojinItem, cmdSet and cmdDel together.
  virtual void EnableItemAssignment(bool enabled) = 0;
  // cboForm: the format chosen, and showing the selected preview cell's
  // (none: no personal cell is selected; nothing chosen, disabled).
  virtual ValueForm ChosenForm() const = 0;
  virtual void ShowCellForm(std::optional<ValueForm> form) = 0;

  virtual bool Checked(BehaviourBox box) const = 0;
  virtual void SetChecked(BehaviourBox box, bool checked) = 0;

  // The chord a hot-key box shows (kNoHotKey: なし), and showing one.
  virtual HotKey ChosenHotKey(HotKeyBox box) const = 0;
  virtual void SetHotKey(HotKeyBox box, HotKey key) = 0;

  // Counts below 1 show one column or row.
  virtual void SetGridCounts(int page, int cols, int rows) = 0;
  virtual void SetGridColWidth(int page, int width) = 0;
  virtual void SetGridRowHeight(int page, int height) = 0;
  virtual std::string GridFontFace(int page) const = 0;
  // Face, size, bold and italic as given; every other attribute as it was.
  virtual void SetGridFont(int page, const GridFont& font) = 0;

  // FontDialog1 (TrueType and existing fonts only, an Apply button, no
  // effects, no size limits) opened on initial; each Apply hands onApply the
  // font chosen then. The font chosen on OK, none otherwise.
  virtual std::optional<GridFont> PickFont(
      const GridFont& initial, const std::function<void(const GridFont&)>& onApply) = 0;

  // A message box with OK and the exclamation icon.
  virtual void Warn(std::string_view text, std::string_view caption) = 0;
};

// Who holds the global hotkeys (the palette's window): the dialog's OK
// registers the chosen chords at once.
class HotKeyRegistrar {
 public:
  virtual ~HotKeyRegistrar() = default;
  // Registers both (0: none). False, with the chord another program holds
  // in *taken, when one cannot be; the chords registered before then stay.
  virtual bool Register(const HotKeys& keys, HotKey* taken) = 0;
};

// "Tabcard.lnk" in the user's Startup folder, which starts Windows with
// Tabcard when it points at this copy.
class StartupShortcut {
 public:
  virtual ~StartupShortcut() = default;
  // Whether there is one that starts this Tabcard.exe.
  virtual bool StartsThisCopy() = 0;
  // Made or replaced to start this Tabcard.exe in the current directory,
  // where its memo files are; removed. False with a reason for the user.
  virtual bool Make(std::string* reason) = 0;
  virtual bool Remove(std::string* reason) = 0;
};

// What the user is told of a chord that another program holds.
std::string HotKeyTakenText(HotKey taken);

// What OK would store if the dialog opened and closed at once: the stored
// configuration, or all standard values once a value cannot be read.
bool SaveOpeningSettings(RegistryBackend& store, const FontFace& standardFont);

class OptionModel {
 public:
  // registrar: who holds the hotkeys; startup: the Startup shortcut; none
  // where they do not matter.
  OptionModel(RegistryBackend& store, const FontFace& standardFont, OptionView& view,
              DpiScale scale, HotKeyRegistrar* registrar = nullptr,
              StartupShortcut* startup = nullptr);

  // Also lets go of the hotkeys while the dialog is open, so that a chord
  // pressed in a hot-key box reaches the box rather than the palette.
  void FormCreate();
  // Only the stored configuration, or all standard values (and the standard
  // items in slots 0-11) once a value cannot be read; false then.
  bool LoadSettings();
  // The check boxes, the hotkeys, the four configurations, both pages'
  // items and the paste-key rules; stops at the first failed write, false then.
  bool SaveSettings();
  // Registers the chosen chords, then saves. False, with the user told and
  // nothing saved, when both boxes hold one chord or another program holds
  // a newly chosen one (the dialog then stays open on ホットキー); false too
  // when the save failed. A stored chord held elsewhere and left unchanged
  // is saved as it is. Then the Startup shortcut is made (checked) or this
  // copy's removed; a failure is told and saves nothing either.
  bool StoreOnOk();
  // The dialog closed without OK: the stored chords are registered again,
  // each that can be, as at the palette's start.
  void RegisterStoredHotKeys();
  // Whether OK would store anything else than what was loaded: a page's
  // shape or font, an item or a format, a check box, a hotkey, a paste-key rule.
  bool HasUnsavedChanges() const;

  // A tab of the previews or of the settings was chosen.
  void TabChanged();
  // 自動計算する or 設定値で固定する: the width box follows.
  void WidthModeChosen();
  // Throws ConvertError for a box that holds no integer; nothing has changed
  // then. A message names a missing value or one beyond the limits.
  void ApplyCellSettings();
  // 標準に戻す: the previewed page's standard shape and font.
  void RestoreStandardPage();
  // The font dialog; each Apply shows its font on the preview.
  void ChoosePageFont();
  // なし beside a hot-key box.
  void ClearHotKey(HotKeyBox box) { view_.SetHotKey(box, kNoHotKey); }
  // 貼り付けキー's buttons on the selected rule.
  void SwitchPasteKey() { pasteKeys_.SwitchSelected(); }
  void RemovePasteKey() { pasteKeys_.RemoveSelected(); }

  // 設定 and 削除 on the previewed page's current cell.
  void SetSelectedItem() { assign_.Set(previewPage_); }
  void DeleteSelectedItem() {
    assign_.Delete(previewPage_);
    ShowCellForm();
  }
  // 形式 chosen: the previewed page's current cell takes it.
  void FormChosen() { assign_.SetForm(previewPage_, view_.ChosenForm()); }
  // The user moved a preview's current cell: 形式 shows its format.
  void PreviewCellChanged() { ShowCellForm(); }
  // The item list's and the personal previews' mouse: the drags.
  void ListPress(MouseButton button) { assign_.ListPress(button); }
  void ListRelease(MouseButton button) {
    assign_.ListRelease(button);
    ShowCellForm();
  }
  void GridPress(int page, MouseButton button) { assign_.GridPress(page, button); }
  void GridRelease(int page, MouseButton button) {
    assign_.GridRelease(page, button);
    ShowCellForm();
  }
  // The list or a grid lost the mouse capture during a drag.
  void DragCaptureLost() { assign_.CaptureLost(); }

  // After a DPI change: the previews' sizes and fonts at the new scale.
  void ScaleChanged(DpiScale scale);

  const PageConfigs& configs() const { return settings_.configs; }
  const ItemAssignment::Slots& slots() const { return settings_.items; }
  const ItemAssignment::Forms& forms() const { return settings_.forms; }
  int previewPage() const { return previewPage_; }
  bool Dragging() const { return assign_.Dragging(); }

 private:
  PageConfig& Config(int page) { return settings_.configs[static_cast<std::size_t>(page)]; }
  void ApplyConfig(int page);
  void ShowConfig(int page);
  void ShowCellForm() { view_.ShowCellForm(assign_.CurrentForm(previewPage_)); }
  void ChooseWidthMode(bool fixed);
  void SetPreviewFont(int page, const GridFont& font);
  GridFont PreviewFont(int page, const GridFont& font) const;
  bool FieldsEntered(bool fixed);
  HotKeys ChosenHotKeys() const;
  bool RegisterChosenHotKeys();
  void RegisterEach(const HotKeys& keys);
  bool ApplyStartup();

  RegistryBackend& store_;
  FontFace standardFont_;
  OptionView& view_;
  DpiScale scale_;
  HotKeyRegistrar* registrar_;
  StartupShortcut* startup_;
  bool startsThisCopy_ = false;  // as the dialog found it or OK left it
  PaletteSettings settings_;
  PaletteSettings loaded_;  // as the dialog opened
  ItemAssignment assign_{view_, settings_.items, settings_.forms};
  PasteKeyList pasteKeys_{view_};
  // What each preview's font is, Apply aside.
  std::array<GridFont, kPageCount> previewFonts_{};
  int previewPage_ = kPageKojin1;
};

}  // namespace tabcard
