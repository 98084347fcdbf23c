#include "options/option_model.h"

#include <string>

#include "core/integer_text.h"
#include "forms/option_form.h"
#include "forms/palette.h"

namespace tabcard {
namespace {

using forms::kCellSettingsCaption;

// What "更新" read from the boxes; the width only in fixed mode.
struct CellInput {
  std::int32_t cols = 0;
  std::int32_t rows = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

std::string RangeMessage(const char* what, int max) {
  return std::string(what) + "は 1 から " + std::to_string(max) + " までの値を入力してください！";
}

bool Within(std::int32_t v, int max) { return v >= 1 && v <= max; }

// Why the input cannot be applied to the page, or empty when it can.
std::string Refusal(int page, const CellInput& in, bool fixed) {
  if (!Within(in.cols, kMaxGridSide)) return RangeMessage("列数", kMaxGridSide);
  if (!Within(in.rows, kMaxGridSide)) return RangeMessage("行数", kMaxGridSide);
  if (IsPersonal(page) && CellCount(in.cols, in.rows) > kSlotCount) {
    return "個人ページのセル（列数×行数）は " + std::to_string(kSlotCount) + " 個までです！";
  }
  if (fixed && !Within(in.width, kMaxCellPixels)) return RangeMessage("セル幅", kMaxCellPixels);
  if (!Within(in.height, kMaxCellPixels)) return RangeMessage("セル高さ", kMaxCellPixels);
  return {};
}

// Chords that RegisterHotKey cannot tell apart: the extended-key bit is no
// part of a registration.
bool SameChord(HotKey a, HotKey b) {
  return a != kNoHotKey && HotKeyVk(a) == HotKeyVk(b) &&
         RegisterModifiers(a) == RegisterModifiers(b);
}

std::string SameChordText(HotKey key) {
  return "「パレットを表示」と「連続入力」に同じホットキー " + ChordText(key) +
         " が選ばれています。\nどちらかを別の組み合わせにしてください。";
}

}  // namespace

std::string HotKeyTakenText(HotKey taken) {
  return "ホットキー " + ChordText(taken) +
         " は、ほかのプログラムが使っているため使えません。\n"
         "オプションの「ホットキー」で別の組み合わせを選んでください。";
}

bool SaveOpeningSettings(RegistryBackend& store, const FontFace& standardFont) {
  PaletteSettings settings;
  tabcard::LoadSettings(store, standardFont, &settings);
  return tabcard::SaveSettings(store, settings);
}

OptionModel::OptionModel(RegistryBackend& store, const FontFace& standardFont, OptionView& view,
                         DpiScale scale, HotKeyRegistrar* registrar, StartupShortcut* startup)
    : store_(store),
      standardFont_(standardFont),
      view_(view),
      scale_(scale),
      registrar_(registrar),
      startup_(startup) {}

void OptionModel::FormCreate() {
  assign_.FillItemList();
  LoadSettings();
  const bool flags[kBehaviourBoxCount] = {settings_.BootInTaskTray, settings_.CloseInTaskTray,
                                          settings_.TabMode, settings_.RestoreClipboard};
  for (int box = 0; box < kBehaviourBoxCount; ++box) {
    view_.SetChecked(static_cast<BehaviourBox>(box), flags[box]);
  }
  // Another copy's shortcut shows unchecked; OK with the box checked replaces it.
  startsThisCopy_ = startup_ && startup_->StartsThisCopy();
  view_.SetChecked(kStartWithWindowsBox, startsThisCopy_);
  view_.SetHotKey(kShowHotKeyBox, settings_.hotKeys.show);
  view_.SetHotKey(kStepHotKeyBox, settings_.hotKeys.step);
  pasteKeys_.Load(store_);
  for (int page = 0; page < kPageCount; ++page) ApplyConfig(page);
  assign_.Refill(kPageKojin1);
  assign_.Refill(kPageKojin2);
  // Chosen without TabChanged: the cell-settings boxes stay empty
  // until their tab is first shown.
  view_.ShowTab(OptionTabs::kDialog, 0);
  view_.ShowTab(OptionTabs::kPreview, kPageKojin1);
  view_.ShowTab(OptionTabs::kSettings, kPersonalSettingsTab);
  previewPage_ = kPageKojin1;
  ShowCellForm();
  HotKey taken = kNoHotKey;
  if (registrar_) registrar_->Register(HotKeys{kNoHotKey, kNoHotKey}, &taken);
}

bool OptionModel::LoadSettings() {
  const bool ok = tabcard::LoadSettings(store_, standardFont_, &settings_);
  loaded_ = settings_;
  return ok;
}

bool OptionModel::HasUnsavedChanges() const {
  return !(settings_.configs == loaded_.configs) || settings_.items != loaded_.items ||
         settings_.forms != loaded_.forms ||
         view_.Checked(kBootInTaskTrayBox) != loaded_.BootInTaskTray ||
         view_.Checked(kCloseInTaskTrayBox) != loaded_.CloseInTaskTray ||
         view_.Checked(kTabModeBox) != loaded_.TabMode ||
         view_.Checked(kRestoreClipboardBox) != loaded_.RestoreClipboard || pasteKeys_.Changed() ||
         !(ChosenHotKeys() == loaded_.hotKeys) ||
         (startup_ && view_.Checked(kStartWithWindowsBox) != startsThisCopy_);
}

HotKeys OptionModel::ChosenHotKeys() const {
  return HotKeys{view_.ChosenHotKey(kShowHotKeyBox), view_.ChosenHotKey(kStepHotKeyBox)};
}

bool OptionModel::SaveSettings() {
  // The flags come from the boxes, not from what was loaded.
  PaletteSettings out = settings_;
  out.BootInTaskTray = view_.Checked(kBootInTaskTrayBox);
  out.CloseInTaskTray = view_.Checked(kCloseInTaskTrayBox);
  out.TabMode = view_.Checked(kTabModeBox);
  out.RestoreClipboard = view_.Checked(kRestoreClipboardBox);
  out.hotKeys = ChosenHotKeys();
  return tabcard::SaveSettings(store_, out) && pasteKeys_.Save(store_);
}

bool OptionModel::RegisterChosenHotKeys() {
  const HotKeys chosen = ChosenHotKeys();
  std::string refusal;
  HotKey taken = kNoHotKey;
  if (SameChord(chosen.show, chosen.step)) {
    refusal = SameChordText(chosen.show);
  } else if (registrar_ && !registrar_->Register(chosen, &taken)) {
    // A stored chord another program holds was told at the palette's start;
    // left as it was, it does not stop the other settings being saved.
    const bool newlyChosen =
        (SameChord(taken, chosen.show) && !SameChord(chosen.show, loaded_.hotKeys.show)) ||
        (SameChord(taken, chosen.step) && !SameChord(chosen.step, loaded_.hotKeys.step));
    if (!newlyChosen) {
      RegisterEach(chosen);
      return true;
    }
    refusal = HotKeyTakenText(taken);
  }
  if (refusal.empty()) return true;
  view_.Warn(refusal, forms::kOptionCaption);
  view_.ShowTab(OptionTabs::kDialog, kHotKeyTab);
  return false;
}

void OptionModel::RegisterStoredHotKeys() { RegisterEach(loaded_.hotKeys); }

void OptionModel::RegisterEach(const HotKeys& keys) {
  if (!registrar_) return;
  // One at a time: a chord another program holds keeps the other.
  HotKeys kept{kNoHotKey, kNoHotKey};
  for (HotKey HotKeys::*which : {&HotKeys::show, &HotKeys::step}) {
    HotKeys tried = kept;
    tried.*which = keys.*which;
    HotKey taken = kNoHotKey;
    if (registrar_->Register(tried, &taken)) kept = tried;
  }
}

bool OptionModel::StoreOnOk() {
  // The chords first: one that cannot be registered keeps everything unsaved.
  if (!RegisterChosenHotKeys() || !ApplyStartup()) return false;
  if (SaveSettings()) return true;
  // Closing now would have the palette rebuilt from a half-written
  // configuration; the user's choices stay for another try.
  view_.Warn("設定を保存できませんでした。\nもう一度 OK を押すか、ｷｬﾝｾﾙで閉じてください。",
             forms::kOptionCaption);
  return false;
}

// Made again whenever checked, so the shortcut follows the current folder.
// Unchecked removes only this copy's: another copy's belongs to that copy.
bool OptionModel::ApplyStartup() {
  if (!startup_) return true;
  const bool wanted = view_.Checked(kStartWithWindowsBox);
  std::string reason;
  if (wanted ? startup_->Make(&reason) : !startsThisCopy_ || startup_->Remove(&reason)) {
    startsThisCopy_ = wanted;
    return true;
  }
  view_.Warn(reason, forms::kOptionCaption);
  view_.ShowTab(OptionTabs::kDialog, kBehaviourTab);
  return false;
}

void OptionModel::TabChanged() {
  const int page = view_.ActiveTab(OptionTabs::kPreview);
  if (page >= 0 && page < kPageCount) previewPage_ = page;
  ShowCellForm();
  if (view_.ActiveTab(OptionTabs::kSettings) == kPersonalSettingsTab) {
    view_.EnableItemAssignment(IsPersonal(previewPage_));
  } else {
    // Whatever was typed and not applied is dropped.
    ShowConfig(previewPage_);
  }
}

void OptionModel::WidthModeChosen() { view_.EnableColWidth(view_.FixedWidthChosen()); }

bool OptionModel::FieldsEntered(bool fixed) {
  struct Required {
    CellField field;
    const char* message;
  };
  static const Required kRequired[] = {
      {kColCountField, "列数が入力されていません！"},
      {kRowCountField, "行数が入力されていません！"},
      {kColWidthField, "セル幅が入力されていません！"},
      {kRowHeightField, "セル高さが入力されていません！"},
  };
  for (const Required& r : kRequired) {
    if (r.field == kColWidthField && !fixed) continue;
    // Blanks are content: only a box without any character is empty.
    if (view_.FieldText(r.field).empty()) {
      view_.Warn(r.message, kCellSettingsCaption);
      return false;
    }
  }
  return true;
}

void OptionModel::ApplyCellSettings() {
  const int page = previewPage_;
  const bool fixed = view_.FixedWidthChosen();
  if (!FieldsEntered(fixed)) return;
  CellInput in;
  in.cols = StrToInt(view_.FieldText(kColCountField));
  in.rows = StrToInt(view_.FieldText(kRowCountField));
  if (fixed) in.width = StrToInt(view_.FieldText(kColWidthField));
  in.height = StrToInt(view_.FieldText(kRowHeightField));
  const std::string refusal = Refusal(page, in, fixed);
  if (!refusal.empty()) {
    view_.Warn(refusal, kCellSettingsCaption);
    return;
  }
  view_.SetGridCounts(page, in.cols, in.rows);
  if (fixed) view_.SetGridColWidth(page, scale_.Px(in.width));
  view_.SetGridRowHeight(page, scale_.Px(in.height));
  // The cell order follows the row count.
  assign_.Refill(page);
  ShowCellForm();
  PageConfig& c = Config(page);
  c.ColCount = in.cols;
  c.RowCount = in.rows;
  c.ColWidthMode = fixed;
  // In automatic mode the stored width stays; the palette computes its own.
  if (fixed) c.ColWidth = in.width;
  c.RowHeight = in.height;
}

void OptionModel::RestoreStandardPage() {
  const int page = previewPage_;
  // The item assignment is not part of the standard values restored here.
  Config(page) = StandardPageConfigs(standardFont_)[static_cast<std::size_t>(page)];
  ApplyConfig(page);
  assign_.Refill(page);
  ShowCellForm();
  ShowConfig(page);
}

void OptionModel::ChoosePageFont() {
  const int page = previewPage_;
  const GridFont kept = previewFonts_[static_cast<std::size_t>(page)];
  const std::optional<GridFont> chosen =
      view_.PickFont(kept, [this, page](const GridFont& font) {
        view_.SetGridFont(page, PreviewFont(page, font));
      });
  if (!chosen) {
    // Undoes any Apply.
    view_.SetGridFont(page, kept);
    return;
  }
  PageConfig& c = Config(page);
  c.FontName = chosen->face;
  c.FontSize = chosen->points;
  c.FontBold = chosen->bold;
  c.FontItalic = chosen->italic;
  SetPreviewFont(page, *chosen);
}

void OptionModel::ScaleChanged(DpiScale scale) {
  scale_ = scale;
  for (int page = 0; page < kPageCount; ++page) {
    const PageConfig& c = Config(page);
    // The preview's width is always the stored one: automatic mode leaves
    // both alone.
    view_.SetGridColWidth(page, scale_.Px(c.ColWidth));
    view_.SetGridRowHeight(page, scale_.Px(c.RowHeight));
    view_.SetGridFont(page, previewFonts_[static_cast<std::size_t>(page)]);
  }
}

void OptionModel::ApplyConfig(int page) {
  const PageConfig& c = Config(page);
  view_.SetGridCounts(page, c.ColCount, c.RowCount);
  // The width whatever the mode: the preview does not compute widths.
  view_.SetGridColWidth(page, scale_.Px(c.ColWidth));
  view_.SetGridRowHeight(page, scale_.Px(c.RowHeight));
  SetPreviewFont(page, FontOf(c));
  // How the width choice gets its first state: the dialog opens on 個１.
  if (page == kPageKojin1) ChooseWidthMode(c.ColWidthMode);
}

void OptionModel::ShowConfig(int page) {
  const PageConfig& c = Config(page);
  view_.SetFieldText(kColCountField, std::to_string(c.ColCount));
  view_.SetFieldText(kRowCountField, std::to_string(c.RowCount));
  view_.SetFieldText(kColWidthField, std::to_string(c.ColWidth));
  view_.SetFieldText(kRowHeightField, std::to_string(c.RowHeight));
  ChooseWidthMode(c.ColWidthMode);
}

void OptionModel::ChooseWidthMode(bool fixed) {
  view_.ChooseWidthMode(fixed);
  // The enabled state follows every change of the choice, not only clicks.
  WidthModeChosen();
}

GridFont OptionModel::PreviewFont(int page, const GridFont& font) const {
  GridFont shown = font;
  // A face of more than 31 bytes does not fit a font; an empty one keeps
  // the grid's face.
  shown.face = GridFontFace(font.face, view_.GridFontFace(page));
  return shown;
}

void OptionModel::SetPreviewFont(int page, const GridFont& font) {
  GridFont& shown = previewFonts_[static_cast<std::size_t>(page)];
  shown = PreviewFont(page, font);
  view_.SetGridFont(page, shown);
}

}  // namespace tabcard
