#include "app/palette_model.h"

#include <utility>

#include "options/option_model.h"
#include "store/memo.h"

namespace tabcard {

PaletteModel::PaletteModel(RegistryBackend& store, const FontFace& standardFont,
                           PaletteWindowView& view, DpiScale scale)
    : store_(store), standardFont_(standardFont), view_(view), scale_(scale) {
  for (int i = 0; i < kUserCount; ++i) userNames[i] = StandardUserName(i);
  settings_.configs = StandardPageConfigs(standardFont_);
  settings_.MemoCount = CellCount(settings_.configs[kPageMemo].ColCount,
                                  settings_.configs[kPageMemo].RowCount);
}

// The user the window state restored is the profile loaded, so the profile
// and the mark in the system menu always name the same user. True when
// everything could be read.
bool PaletteModel::LoadAndFillEverything() {
  const bool ok1 = LoadSettings();
  LoadUserNames();
  for (int page = 0; page < kPageCount; ++page) ApplyPageGeometry(page);
  FillPersonalCells(kPageKojin1);
  FillPersonalCells(kPageKojin2);
  FillMemoTitles();
  LoadList();
  FillListCells();
  FitColumnWidths();
  FitTabWidth();
  const bool ok3 = LoadWindowState();
  const bool ok2 = LoadProfile(UserNo);
  return ok1 && ok2 && ok3;
}

void PaletteModel::FormCreate() {
  FirstRun = !LoadAndFillEverything();
  if (BootInTaskTray && view_.TrayIconShown()) {
    view_.HideWindow();
  } else {
    view_.ShowWindow();
  }
  if (!WndTopMost) view_.SetTopMost(false);
}

void PaletteModel::FormShow() {
  KeepOnScreen();
  FitColumnWidths();
  FitTabWidth();
}

void PaletteModel::FormResize() {
  FitTabWidth();
  FitColumnWidths();
}

bool PaletteModel::FormClose() {
  SessionEnding();
  if (CloseInTaskTray && !Exiting && view_.TrayIconShown()) {
    view_.HideWindow();
    return false;
  }
  return true;
}

void PaletteModel::SessionEnding() {
  // A palette hidden in the tray was saved when it was hidden.
  if (view_.IsVisible()) SaveWindowState();
}

void PaletteModel::PageShown() { FitColumnWidths(); }

void PaletteModel::DisplayChanged() { KeepOnScreen(); }

void PaletteModel::DpiChanged(DpiScale scale) {
  scale_ = scale;
  for (int page = 0; page < kPageCount; ++page) ApplyPageGeometry(page);
  FitColumnWidths();
  FitTabWidth();
}

bool PaletteModel::LoadSettings() {
  const bool ok = tabcard::LoadSettings(store_, standardFont_, &settings_);
  BootInTaskTray = settings_.BootInTaskTray;
  CloseInTaskTray = settings_.CloseInTaskTray;
  TabMode = settings_.TabMode;
  // Rules that cannot be read are no reason to call the settings unread.
  LoadPasteKeys(store_, &pasteKeys_);
  return ok;
}

std::optional<PasteKey> PaletteModel::RuleFor(std::u16string_view program) const {
  const PasteKeyRule* rule = FindPasteKeyRule(pasteKeys_, program);
  return rule ? std::optional<PasteKey>(rule->key) : std::nullopt;
}

void PaletteModel::Learn(std::u16string_view program, PasteKey key) {
  if (program.empty()) return;
  // Remembered for this run even when the store refuses it.
  StorePasteKey(store_, program, key);
  PutPasteKeyRule(&pasteKeys_, program, key);
}

bool PaletteModel::LoadUserNames() { return tabcard::LoadUserNames(store_, &userNames); }

bool PaletteModel::LoadProfile(int user) { return tabcard::LoadProfile(store_, user, &profile_); }

bool PaletteModel::LoadList() {
  const bool ok = tabcard::LoadList(store_, &list_);
  // No list stored at all is an empty list, which may be saved.
  listRead_ = ok || !ListStored(store_);
  return ok;
}

bool PaletteModel::ReloadList() {
  LoadList();
  FillListCells();
  return listRead_;
}

bool PaletteModel::SaveList() { return tabcard::SaveList(store_, list_); }

bool PaletteModel::SaveOptionsUnshown() { return SaveOpeningSettings(store_, standardFont_); }

bool PaletteModel::LoadWindowState() {
  std::int32_t screenWidth = 0, screenHeight = 0;
  view_.ScreenSize(&screenWidth, &screenHeight);
  WindowState state;
  state.Page = view_.ActivePage();
  const bool ok = tabcard::LoadWindowState(store_, screenWidth, screenHeight, &state);
  if (!ok) {
    // The standard 130 x 160 is a design size: scaled, and centred again.
    state.bounds.width = scale_.Px(state.bounds.width);
    state.bounds.height = scale_.Px(state.bounds.height);
    state.bounds.left = (screenWidth - state.bounds.width) / 2;
    state.bounds.top = (screenHeight - state.bounds.height) / 2;
  }
  WndTopMost = state.WndTopMost;
  UserNo = state.UserNo;
  view_.SetActivePage(state.Page);
  view_.SetBounds(PlaceWindow(state.bounds, view_.Monitors()));
  return ok;
}

bool PaletteModel::SaveWindowState() {
  WindowState state;
  state.bounds = view_.Bounds();
  state.WndTopMost = WndTopMost;
  state.TabMode = TabMode;
  state.Page = view_.ActivePage();
  state.UserNo = UserNo;
  return tabcard::SaveWindowState(store_, state);
}

GridShape PaletteModel::Shape(int page) const {
  const PageConfig& c = settings_.configs[static_cast<std::size_t>(page)];
  return GridShape{c.ColCount, c.RowCount};
}

const PageItems& PaletteModel::Items(int page) const {
  return settings_.items[static_cast<std::size_t>(page)];
}

const PageForms& PaletteModel::Forms(int page) const {
  return settings_.forms[static_cast<std::size_t>(page)];
}

std::string PaletteModel::MemoTitle(int slot) const {
  return slot >= 0 && static_cast<std::size_t>(slot) < memoTitles_.size()
             ? memoTitles_[static_cast<std::size_t>(slot)]
             : std::string();
}

std::string PaletteModel::MemoHead(int slot) const {
  return ReadMemoHead(slot, kMemoTextCapacity);
}

void PaletteModel::ApplyPageGeometry(int page) {
  const PageConfig& c = settings_.configs[static_cast<std::size_t>(page)];
  view_.SetGridGeometry(page, c.ColCount, c.RowCount, scale_.Px(c.ColWidth),
                        scale_.Px(c.RowHeight));
  view_.SetGridFont(page, FontOf(c));
}

void PaletteModel::FillPersonalCells(int page) {
  const auto i = static_cast<std::size_t>(page);
  view_.SetGridCells(page, PersonalCells(Shape(page), settings_.items[i]));
  view_.SetGridMarks(page, PersonalMarks(Shape(page), settings_.forms[i]));
}

void PaletteModel::FillMemoTitles() {
  memoTitles_.clear();
  for (int slot = 0; slot < settings_.MemoCount; ++slot) memoTitles_.push_back(tabcard::MemoTitle(slot));
  view_.SetGridCells(kPageMemo, MemoCells(Shape(kPageMemo), settings_.MemoCount,
                                          [this](int slot) { return MemoTitle(slot); }));
}

void PaletteModel::SetMemoTitle(GridCell cell, std::string title) {
  const GridShape shape = Shape(kPageMemo);
  const int slot = MemoSlot(shape, settings_.MemoCount, cell.col, cell.row);
  if (slot < 0) return;
  if (static_cast<std::size_t>(slot) < memoTitles_.size()) {
    memoTitles_[static_cast<std::size_t>(slot)] = title;
  }
  view_.SetCellText(kPageMemo, cell, title);
}

void PaletteModel::FillListCells() {
  view_.SetGridCells(kPageList, ListCells(Shape(kPageList), list_.ListPhrases));
}

void PaletteModel::FitColumnWidths() {
  // The arithmetic counts 2-pixel grid lines; at another DPI the lines are
  // wider, and the difference is taken off the client width first.
  const int extraLine = scale_.Px(kGridLineWidth) - kGridLineWidth;
  for (int page = 0; page < kPageCount; ++page) {
    const PageConfig& c = settings_.configs[static_cast<std::size_t>(page)];
    const int cols = c.ColCount;
    const int width =
        c.ColWidthMode
            ? scale_.Px(c.ColWidth)
            : AutoColumnWidth(view_.GridClientWidth(page) - extraLine * cols, cols);
    view_.SetGridColumns(page, cols, width);
  }
}

void PaletteModel::FitTabWidth() {
  const int extraMargin = scale_.Px(kTabMargin) - kTabMargin;
  view_.SetTabWidth(TabWidth(view_.PageControlWidth() - extraMargin));
}

void PaletteModel::HideIntoTray() {
  if (!view_.TrayIconShown() || !view_.IsVisible()) return;
  SaveWindowState();
  view_.HideWindow();
}

void PaletteModel::KeepOnScreen() { view_.SetBounds(PlaceWindow(view_.Bounds(), view_.Monitors())); }

void PaletteModel::ReloadAll() {
  LoadAndFillEverything();
  // As a show would: the restored place may be on a monitor this PC lacks.
  FormShow();
  view_.SetTopMost(WndTopMost);
}

void PaletteModel::SwitchUser(int user) {
  UserNo = user;
  LoadProfile(UserNo);
}

void PaletteModel::RefreshAfterProfileEditor() {
  LoadUserNames();
  LoadProfile(UserNo);
  FillMemoTitles();
  LoadList();
  FillListCells();
}

void PaletteModel::RefreshAfterOptions() {
  LoadSettings();
  for (int page = 0; page < kPageCount; ++page) ApplyPageGeometry(page);
  FillPersonalCells(kPageKojin1);
  FillPersonalCells(kPageKojin2);
  FillMemoTitles();
  FillListCells();
  FitColumnWidths();
}

ListEdit PaletteModel::StoreEditedList() {
  if (SaveList()) return ListEdit::kSaved;
  // A save stops at its first failure: what is stored now may be neither
  // the old list nor the new one.
  ReloadList();
  return ListEdit::kNotSaved;
}

ListEdit PaletteModel::AddPhrase(std::string phrase, std::string hint) {
  list_.ListPhrases.push_back(std::move(phrase));
  list_.ListHints.push_back(std::move(hint));
  FillListCells();
  return StoreEditedList();
}

ListEdit PaletteModel::DeletePhrase(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= list_.ListPhrases.size()) {
    return ListEdit::kNoSuchPhrase;
  }
  list_.ListPhrases.erase(list_.ListPhrases.begin() + index);
  if (static_cast<std::size_t>(index) < list_.ListHints.size()) {
    list_.ListHints.erase(list_.ListHints.begin() + index);
  }
  FillListCells();
  return StoreEditedList();
}

}  // namespace tabcard
