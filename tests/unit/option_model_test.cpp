// The options dialog's model against the in-memory store and a view that
// keeps the state the controls would be left in.
#include "options/option_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/integer_text.h"
#include "store/memory_registry.h"

namespace tabcard {
namespace {

class FakeView : public OptionView {
 public:
  void SetItemNames(const std::vector<std::string>& n) override {
    names = n;
    selected = -1;
  }
  int SelectedItem() const override { return selected; }
  GridShape PreviewShape(int page) const override { return shapes[page]; }
  void SetGridCells(int page, const CellTexts& c) override { cells[page] = c; }
  void SetCellText(int page, GridCell c, std::string_view t) override {
    cells[page].Set(c.col, c.row, std::string(t));
  }
  void SetGridMarks(int page, const CellTexts& m) override { marks[page] = m; }
  void SetCellMark(int page, GridCell c, std::string_view m) override {
    marks[page].Set(c.col, c.row, std::string(m));
  }
  GridCell CurrentCell(int page) const override { return current[page]; }
  void SetCurrentCell(int page, GridCell c) override { current[page] = c; }
  DropSpot SpotUnderPointer() const override { return spot; }
  void BeginDrag(int h) override { holder = h; }
  void EndDrag() override { holder = kFree; }

  int ActiveTab(OptionTabs t) const override { return tabs[static_cast<int>(t)]; }
  void ShowTab(OptionTabs t, int tab) override { tabs[static_cast<int>(t)] = tab; }
  std::string FieldText(CellField f) const override { return fields[f]; }
  void SetFieldText(CellField f, std::string_view t) override { fields[f] = std::string(t); }
  void EnableColWidth(bool on) override { widthEnabled = on; }
  bool FixedWidthChosen() const override { return fixed; }
  void ChooseWidthMode(bool f) override { fixed = f; }
  void EnableItemAssignment(bool on) override { assignEnabled = on; }
  ValueForm ChosenForm() const override { return chosenForm; }
  void ShowCellForm(std::optional<ValueForm> f) override { shownForm = f; }
  bool Checked(BehaviourBox b) const override { return checks[b]; }
  void SetChecked(BehaviourBox b, bool on) override { checks[b] = on; }
  HotKey ChosenHotKey(HotKeyBox b) const override { return hotKeys[b]; }
  void SetHotKey(HotKeyBox b, HotKey k) override { hotKeys[b] = k; }
  void SetGridCounts(int page, int c, int r) override { shapes[page] = {c, r}; }
  void SetGridColWidth(int page, int w) override { widths[page] = w; }
  void SetGridRowHeight(int page, int h) override { heights[page] = h; }
  std::string GridFontFace(int page) const override { return fonts[page].face; }
  void SetGridFont(int page, const GridFont& f) override { fonts[page] = f; }
  std::optional<GridFont> PickFont(
      const GridFont& initial, const std::function<void(const GridFont&)>& onApply) override {
    openedOn = initial;
    for (const GridFont& f : applied) onApply(f);
    return answer;
  }
  void SetPasteKeyLines(const std::vector<std::u16string>& l, int s) override {
    ruleLines = l;
    ruleSelected = s;
  }
  int SelectedPasteKeyLine() const override { return ruleSelected; }
  void Warn(std::string_view text, std::string_view caption) override {
    warnings.push_back(std::string(caption) + ": " + std::string(text));
  }

  const std::string& Cell(int page, int col, int row) const { return cells[page].At(col, row); }
  // The user clicks the line that shows name.
  void Select(const char* name) {
    selected = static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
  }

  static constexpr int kFree = -2;
  std::vector<std::string> names;
  int selected = -1;
  std::array<GridShape, 4> shapes{};
  std::array<CellTexts, 4> cells{CellTexts({}), CellTexts({}), CellTexts({}), CellTexts({})};
  std::array<CellTexts, 4> marks{CellTexts({}), CellTexts({}), CellTexts({}), CellTexts({})};
  ValueForm chosenForm = ValueForm::kAsStored;
  std::optional<ValueForm> shownForm;
  std::array<GridCell, 4> current{GridCell{0, 0}, GridCell{0, 0}, GridCell{0, 0}, GridCell{0, 0}};
  DropSpot spot;
  int holder = kFree;
  std::array<int, 3> tabs{-1, -1, -1};
  std::array<std::string, 4> fields;
  bool widthEnabled = true, fixed = false, assignEnabled = true;
  std::array<bool, 5> checks{};
  std::array<HotKey, 2> hotKeys{};
  std::array<int, 4> widths{}, heights{};
  std::array<GridFont, 4> fonts{};
  std::vector<GridFont> applied;  // the fonts of the user's Apply presses
  std::optional<GridFont> answer;  // what the font dialog's OK gives, none for Cancel
  GridFont openedOn;
  std::vector<std::string> warnings;  // "caption: text"
  std::vector<std::u16string> ruleLines;
  int ruleSelected = -1;
};

// The palette's window: another program holds one chord; a refused
// registration keeps what was registered.
struct FakeRegistrar : HotKeyRegistrar {
  bool Register(const HotKeys& keys, HotKey* taken) override {
    for (HotKey k : {keys.show, keys.step}) {
      if (k == held && k != kNoHotKey) {
        *taken = k;
        return false;
      }
    }
    registered = keys;
    return true;
  }
  HotKey held = kNoHotKey;
  HotKeys registered;  // the standard chords, as the palette's start leaves them
};

// The Startup folder: whether its shortcut starts this copy, and whether
// the next change to it fails.
struct FakeStartup : StartupShortcut {
  bool StartsThisCopy() override { return here; }
  bool Make(std::string* reason) override { return Change("make", true, reason); }
  bool Remove(std::string* reason) override { return Change("remove", false, reason); }
  bool Change(const char* what, bool made, std::string* reason) {
    done += what;
    if (fails) {
      *reason = "denied";
      return false;
    }
    here = made;
    return true;
  }
  bool here = false;
  bool fails = false;
  std::string done;
};

const FontFace kStandardFont = StandardFont(true);

struct Fixture {
  MemoryRegistry store;
  FakeView view;
  FakeRegistrar registrar;
  FakeStartup startup;
  OptionModel model{store, kStandardFont, view, DpiScale(), &registrar, &startup};

  // The standard configuration stored as a first run leaves it, every flag set.
  void StoreStandard() {
    OptionModel first{store, kStandardFont, view, DpiScale()};
    first.FormCreate();
    view.checks = {true, true, true, false};
    ASSERT_TRUE(first.SaveSettings());
  }
  void ShowPage(int page, int settingsTab) {
    view.tabs[1] = page;
    view.tabs[2] = settingsTab;
    model.TabChanged();
  }
  void Update(std::array<std::string, 4> fields) {
    view.fields = std::move(fields);
    model.ApplyCellSettings();
  }
  RegValue Stored(const std::string& key, const char* name) {
    RegValue v;
    if (store.Open(key, false)) store.Query(name, &v);
    store.Close();
    return v;
  }
  // A left press on the list (-1) or a personal grid, then the release over spot.
  void Drag(int from, DropSpot over) {
    const MouseButton left = MouseButton::Left;
    if (from < 0) model.ListPress(left);
    if (from >= 0) model.GridPress(from, left);
    view.spot = over;
    if (from < 0) model.ListRelease(left);
    if (from >= 0) model.GridRelease(from, left);
  }
};

TEST(OptionModelTest, EmptyStoreOpensOnTheStandardConfigurationAndTheUnseenSaveWritesIt) {
  Fixture f;
  f.model.FormCreate();
  EXPECT_EQ(f.view.checks, (std::array<bool, 5>{}));
  for (int page = 0; page < kPageCount; ++page) {
    const bool personal = page < kPersonalPageCount;
    EXPECT_EQ(f.view.shapes[page].cols, personal ? 2 : 1);
    EXPECT_EQ(f.view.shapes[page].rows, personal ? 6 : 10);
    EXPECT_EQ(f.view.heights[page], 14);
    EXPECT_EQ(f.view.fonts[page], (GridFont{"ＭＳ Ｐゴシック", 9, false, false}));
  }
  EXPECT_EQ(f.view.Cell(kPageKojin1, 1, 5), "年齢");
  // The tabs were chosen without their change handler: the boxes stay empty.
  EXPECT_EQ(f.view.tabs, (std::array<int, 3>{0, kPageKojin1, kPersonalSettingsTab}));
  EXPECT_EQ(f.view.fields, (std::array<std::string, 4>{}));
  EXPECT_FALSE(f.view.widthEnabled);

  EXPECT_TRUE(f.model.SaveSettings());
  EXPECT_EQ(f.Stored(ItemsKey(kPageKojin2), "Item011").text, "ｅｔｃ３");
  EXPECT_EQ(f.Stored(ConfigKey(kPageList), "RowCount").dword, 10u);
}

TEST(OptionModelTest, OneMissingValueOfTheListPageGivesStandardValuesEverywhere) {
  Fixture f;
  f.StoreStandard();
  f.store.PutDword(ConfigKey(kPageKojin1), "ColCount", 3);
  f.store.PutString(ItemsKey(kPageKojin1), "Item000", "ｅｔｃ５");
  f.store.DeleteTree(ConfigKey(kPageList));
  for (const char* name : {"ColCount", "RowCount", "ColWidth", "RowHeight", "ColWidthMode",
                           "FontSize", "FontBold"}) {  // no FontItalic
    f.store.PutDword(ConfigKey(kPageList), name, 1);
  }
  f.model.FormCreate();
  EXPECT_EQ(f.view.checks, (std::array<bool, 5>{}));
  EXPECT_EQ(f.model.configs(), StandardPageConfigs(kStandardFont));
  EXPECT_EQ(f.view.Cell(kPageKojin1, 0, 0), "氏名");
}

TEST(OptionModelTest, UpdateReflowsTheSlotsKeepsTheAutomaticWidthAndShrinksWithoutLoss) {
  Fixture f;
  f.StoreStandard();
  f.model.FormCreate();
  f.ShowPage(kPageKojin1, kCellSettingsTab);
  EXPECT_EQ(f.view.fields, (std::array<std::string, 4>{"2", "6", "50", "14"}));
  f.Update({"3", "4", "", "20"});
  EXPECT_TRUE(f.view.warnings.empty());
  EXPECT_EQ(f.view.Cell(kPageKojin1, 1, 2), "〒");        // slot 6: column 1 row 0 before
  EXPECT_EQ(f.view.Cell(kPageKojin1, 1, 3), "都道府県");  // slot 7: column 1 row 1 before
  EXPECT_EQ(f.view.widths[kPageKojin1], 50);
  EXPECT_EQ(f.model.configs()[kPageKojin1].ColWidth, 50);

  // A save after shrinking to six cells leaves Item006-Item011 stored; they
  // come back when the page grows again in the same opening.
  f.Update({"1", "6", "", "20"});
  EXPECT_TRUE(f.model.SaveSettings());
  EXPECT_EQ(f.Stored(ItemsKey(kPageKojin1), "ItemCount").dword, 6u);
  EXPECT_EQ(f.Stored(ItemsKey(kPageKojin1), "Item011").text, "年齢");
  f.Update({"2", "6", "", "20"});
  EXPECT_EQ(f.view.Cell(kPageKojin1, 1, 5), "年齢");

  f.view.fixed = true;
  f.model.WidthModeChosen();
  EXPECT_TRUE(f.view.widthEnabled);
  f.Update({"2", "6", " $1E", "20"});
  EXPECT_EQ(f.view.widths[kPageKojin1], 30);
  EXPECT_TRUE(f.model.configs()[kPageKojin1].ColWidthMode);
}

TEST(OptionModelTest, UpdateRefusesMissingValuesNonIntegersAndValuesBeyondTheLimits) {
  struct Case {
    int page;
    bool fixed;
    std::array<std::string, 4> fields;
    const char* shown;  // the message, or the conversion error raised
  };
  const Case cases[] = {
      {kPageKojin1, false, {"", "", "", ""}, "セルの設定: 列数が入力されていません！"},
      {kPageKojin1, false, {"2", "", "", ""}, "セルの設定: 行数が入力されていません！"},
      {kPageKojin1, true, {"2", "6", "", ""}, "セルの設定: セル幅が入力されていません！"},
      {kPageKojin1, false, {"2", "6", "", ""}, "セルの設定: セル高さが入力されていません！"},
      {kPageKojin1, false, {"2", "6", "", " "}, "error: ' ' は整数ではありません"},
      {kPageKojin1, false, {"2", "6x", "", "14"}, "error: '6x' は整数ではありません"},
      {kPageMemo, false, {"0", "6", "", "14"}, "セルの設定: 列数は 1 から 256 までの値を入力してください！"},
      {kPageMemo, false, {"1", "257", "", "14"}, "セルの設定: 行数は 1 から 256 までの値を入力してください！"},
      {kPageKojin2, false, {"16", "17", "", "14"}, "セルの設定: 個人ページのセル（列数×行数）は 256 個までです！"},
      {kPageKojin2, true, {"2", "6", "1000", "14"}, "セルの設定: セル幅は 1 から 999 までの値を入力してください！"},
      {kPageList, false, {"2", "6", "", "0"}, "セルの設定: セル高さは 1 から 999 までの値を入力してください！"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fields[0] + "/" + c.fields[1] + "/" + c.fields[2] + "/" + c.fields[3]);
    Fixture f;
    f.model.FormCreate();
    f.ShowPage(c.page, kCellSettingsTab);
    f.view.fixed = c.fixed;
    try {
      f.Update(c.fields);
    } catch (const ConvertError& e) {
      f.view.warnings.push_back(std::string("error: ") + e.what());
    }
    EXPECT_EQ(f.view.warnings, std::vector<std::string>{c.shown});
    EXPECT_EQ(f.model.configs(), StandardPageConfigs(kStandardFont));
    EXPECT_EQ(f.view.shapes[c.page].rows, c.page < kPersonalPageCount ? 6 : 10);
  }
  // The memo page is no personal page: it may have more than 256 cells.
  Fixture f;
  f.model.FormCreate();
  f.ShowPage(kPageMemo, kCellSettingsTab);
  f.Update({"16", "17", "", "999"});
  EXPECT_EQ(f.model.configs()[kPageMemo].RowCount, 17);
}

TEST(OptionModelTest, ATabChangeDropsUnappliedFieldsAndStandardRestoresOnePageOnly) {
  Fixture f;
  f.StoreStandard();
  f.store.PutDword(ConfigKey(kPageList), "RowHeight", 30);
  f.store.PutDword(ConfigKey(kPageKojin1), "ColWidthMode", 1);
  f.model.FormCreate();
  EXPECT_TRUE(f.view.widthEnabled);  // 個１'s record chose the fixed width
  f.ShowPage(kPageList, kPersonalSettingsTab);
  EXPECT_FALSE(f.view.assignEnabled);
  f.ShowPage(kPageList, kCellSettingsTab);
  EXPECT_EQ(f.view.fields[kRowHeightField], "30");
  EXPECT_FALSE(f.view.widthEnabled);
  f.view.fields[kColCountField] = "5";
  f.ShowPage(kPageKojin2, kCellSettingsTab);
  f.ShowPage(kPageList, kCellSettingsTab);
  EXPECT_EQ(f.view.fields[kColCountField], "1");

  f.model.RestoreStandardPage();
  EXPECT_EQ(f.view.fields[kRowHeightField], "14");
  EXPECT_EQ(f.view.heights[kPageList], 14);
  EXPECT_TRUE(f.model.StoreOnOk());
  EXPECT_EQ(f.Stored(ConfigKey(kPageList), "RowHeight").dword, 14u);
  EXPECT_EQ(f.Stored(ConfigKey(kPageKojin1), "ColWidthMode").dword, 1u);
}

TEST(OptionModelTest, FontDialogApplyThenCancelRestoresAndOkStoresTheWholeName) {
  Fixture f;
  f.model.FormCreate();
  f.ShowPage(kPageMemo, kCellSettingsTab);
  const GridFont before = f.view.fonts[kPageMemo];
  f.view.applied = {GridFont{"Arial", 20, true, false}};
  f.model.ChoosePageFont();
  EXPECT_EQ(f.view.openedOn, before);
  EXPECT_EQ(f.view.fonts[kPageMemo], before);
  EXPECT_EQ(f.model.configs(), StandardPageConfigs(kStandardFont));

  // 16 double-byte characters: the preview's face keeps 15 of them.
  const std::string name = "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰ";
  f.view.answer = GridFont{name, 12, false, true};
  f.model.ChoosePageFont();
  EXPECT_EQ(f.model.configs()[kPageMemo].FontName, name);
  EXPECT_EQ(f.view.fonts[kPageMemo], (GridFont{name.substr(0, 30), 12, false, true}));
}

TEST(OptionModelTest, FailedSaveIsToldOnOkOnlyAndTheBoxesAreWrittenNotTheLoadedFlags) {
  Fixture f;
  f.StoreStandard();
  f.model.FormCreate();
  EXPECT_EQ(f.view.checks, (std::array<bool, 5>{true, true, true, false, false}));
  // The main window's TAB toggle, not yet stored, is not what the box
  // shows; OK writes the box.
  f.view.checks[kTabModeBox] = false;
  f.store.FailWritesAfter(2);
  EXPECT_FALSE(f.model.SaveSettings());
  EXPECT_TRUE(f.view.warnings.empty());
  EXPECT_FALSE(f.model.StoreOnOk());
  EXPECT_EQ(f.view.warnings, std::vector<std::string>{"オプション: 設定を保存できませんでした。\n"
                                                      "もう一度 OK を押すか、ｷｬﾝｾﾙで閉じてください。"});
  f.store.FailWritesAfter(-1);
  EXPECT_TRUE(f.model.StoreOnOk());
  EXPECT_EQ(f.Stored(kBaseKey, "TabMode").dword, 0u);
  EXPECT_EQ(f.Stored(kBaseKey, "CloseInTaskTray").dword, 1u);
}

constexpr HotKey kCtrlAltK = MakeHotKey('K', hotkeyf::kControl | hotkeyf::kAlt);
constexpr HotKey kCtrlShiftF9 = MakeHotKey(0x78, hotkeyf::kControl | hotkeyf::kShift);

// OK registers the chosen chords before it saves: a chord another program
// holds, or one chord in both boxes, is told, nothing is stored (the other
// changes neither), and the dialog turns to ホットキー. While it is open the
// palette holds no chord, so a chord pressed in a box reaches the box.
TEST(OptionModelTest, OkRegistersTheChosenChordsBeforeItSavesAnything) {
  const std::string twice =
      "オプション: 「パレットを表示」と「連続入力」に同じホットキー Ctrl+Alt+K が選ばれています。\n"
      "どちらかを別の組み合わせにしてください。";
  struct Case {
    const char* name;
    HotKeys chosen;
    HotKey held;          // by another program
    std::string refusal;  // "": OK stores
    HotKeys registered;   // when OK stores
  };
  const HotKeys none{kNoHotKey, kNoHotKey};
  const Case cases[] = {
      {"new chords", {kCtrlAltK, kCtrlShiftF9}, kNoHotKey, "", {kCtrlAltK, kCtrlShiftF9}},
      {"none", none, kNoHotKey, "", none},
      {"a held chord", {kStandardShowHotKey, kCtrlShiftF9}, kCtrlShiftF9,
       "オプション: " + HotKeyTakenText(kCtrlShiftF9), {}},
      // Told at start already; the other chord and settings are still saved.
      {"a held stored chord kept", {kStandardShowHotKey, kCtrlShiftF9}, kStandardShowHotKey, "",
       {kNoHotKey, kCtrlShiftF9}},
      {"one chord twice", {kCtrlAltK, kCtrlAltK}, kNoHotKey, twice, {}},
      // The extended-key bit is no part of a registration.
      {"twice, once extended",
       {kCtrlAltK, MakeHotKey('K', hotkeyf::kControl | hotkeyf::kAlt | hotkeyf::kExt)},
       kNoHotKey, twice, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    f.StoreStandard();
    f.registrar.held = c.held;
    f.model.FormCreate();
    EXPECT_EQ(f.view.hotKeys, (std::array<HotKey, 2>{kStandardShowHotKey, kStandardStepHotKey}));
    EXPECT_EQ(f.registrar.registered, none);
    f.view.hotKeys = {c.chosen.show, c.chosen.step};
    f.view.checks[kTabModeBox] = false;
    const bool stores = c.refusal.empty();
    EXPECT_EQ(f.model.StoreOnOk(), stores);
    EXPECT_EQ(f.view.warnings, stores ? std::vector<std::string>{} : std::vector{c.refusal});
    EXPECT_EQ(f.registrar.registered, stores ? c.registered : none);
    EXPECT_EQ(f.Stored(kBaseKey, "HotKeyShow").dword, stores ? c.chosen.show : kStandardShowHotKey);
    EXPECT_EQ(f.Stored(kBaseKey, "HotKeyStep").dword, stores ? c.chosen.step : kStandardStepHotKey);
    EXPECT_EQ(f.Stored(kBaseKey, "TabMode").dword, stores ? 0u : 1u);
    EXPECT_EQ(f.view.tabs[0], stores ? 0 : kHotKeyTab);
  }
}

// Closed without OK, the dialog hands the stored chords back, each that
// can be: one another program took meanwhile leaves the other registered.
TEST(OptionModelTest, WithoutOkTheStoredChordsAreRegisteredAgainEachThatCan) {
  Fixture f;
  f.StoreStandard();
  f.model.FormCreate();
  f.registrar.held = kStandardShowHotKey;
  f.model.RegisterStoredHotKeys();
  EXPECT_EQ(f.registrar.registered, (HotKeys{kNoHotKey, kStandardStepHotKey}));
}

TEST(ItemAssignTest, NothingIsSelectedAtFirstAndSetAndDeleteActOnPersonalPagesOnly) {
  Fixture f;
  f.model.FormCreate();
  f.view.current[kPageKojin1] = {1, 2};
  f.model.SetSelectedItem();
  EXPECT_EQ(f.model.slots()[kPageKojin1][8], "住所１");
  f.view.Select("年齢");  // a double-click selects, then sets
  f.model.SetSelectedItem();
  EXPECT_EQ(f.model.slots()[kPageKojin1][8], "年齢");
  EXPECT_EQ(f.view.Cell(kPageKojin1, 1, 2), "年齢");

  f.ShowPage(kPageMemo, kPersonalSettingsTab);
  f.model.DeleteSelectedItem();  // the popup menu and Del reach it on メモ
  f.model.SetSelectedItem();
  EXPECT_EQ(f.model.slots()[kPageKojin1][8], "年齢");
  f.ShowPage(kPageKojin1, kPersonalSettingsTab);
  EXPECT_TRUE(f.view.assignEnabled);
  f.model.DeleteSelectedItem();
  EXPECT_EQ(f.model.slots()[kPageKojin1][8], "");
  EXPECT_EQ(f.view.Cell(kPageKojin1, 1, 2), "");
}

TEST(ItemAssignTest, OneDragStateForTheListAndBothGrids) {
  struct Case {
    const char* what;
    int from;         // -1: the list
    GridCell source;  // the current cell when a grid is pressed
    DropSpot over;
    int page;  // the page whose slots change
    std::vector<std::pair<int, std::string>> changes;
  };
  const Case cases[] = {
      {"list onto 個２", -1, {}, {kPageKojin2, {1, 3}}, kPageKojin2, {{9, "E-Mail2"}}},
      {"list onto the list", -1, {}, {-1, kNoCell}, kPageKojin2, {}},
      {"list beside the cells", -1, {}, {kPageKojin1, kNoCell}, kPageKojin1, {}},
      {"a move overwrites", kPageKojin1, {0, 0}, {kPageKojin1, {1, 0}}, kPageKojin1,
       {{0, ""}, {6, "氏名"}}},
      // A press beside the cells leaves the current cell, which is moved.
      {"a move of the current cell", kPageKojin2, {0, 0}, {kPageKojin2, {1, 1}}, kPageKojin2,
       {{0, ""}, {7, "勤務先名"}}},
      {"a move onto itself", kPageKojin1, {0, 0}, {kPageKojin1, {0, 0}}, kPageKojin1, {}},
      {"a move onto the other grid", kPageKojin1, {0, 0}, {kPageKojin2, {0, 1}}, kPageKojin2, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fixture f;
    f.model.FormCreate();
    ItemAssignment::Slots expected = f.model.slots();
    for (const auto& [slot, name] : c.changes) expected[c.page][slot] = name;
    f.view.Select("E-Mail2");
    if (c.from >= 0) f.view.current[c.from] = c.source;
    f.Drag(c.from, c.over);
    EXPECT_FALSE(f.model.Dragging());
    EXPECT_EQ(f.view.holder, FakeView::kFree);
    EXPECT_EQ(f.model.slots(), expected);
    if (c.changes.empty()) continue;
    EXPECT_EQ(f.view.current[c.page], c.over.cell);
    EXPECT_EQ(f.view.Cell(c.page, c.over.cell.col, c.over.cell.row), c.changes.back().second);
  }
}

TEST(ItemAssignTest, OtherButtonsEmptyCellsAndALostCaptureMoveNothing) {
  Fixture f;
  f.model.FormCreate();
  const ItemAssignment::Slots before = f.model.slots();
  f.view.current[kPageKojin1] = {1, 0};
  f.model.DeleteSelectedItem();
  f.Drag(kPageKojin1, {kPageKojin1, {0, 0}});  // from the emptied cell
  EXPECT_EQ(f.model.slots()[kPageKojin1][0], "氏名");

  f.view.selected = 0;
  f.model.ListPress(MouseButton::Left);
  f.view.current[kPageKojin1] = {0, 0};
  f.model.GridPress(kPageKojin1, MouseButton::Left);  // ignored while dragging
  EXPECT_EQ(f.view.holder, kItemListHolder);
  f.model.ListRelease(MouseButton::Right);  // other buttons end nothing
  EXPECT_TRUE(f.model.Dragging());
  f.model.DragCaptureLost();
  EXPECT_FALSE(f.model.Dragging());
  EXPECT_EQ(f.view.holder, FakeView::kFree);
  f.view.spot = {kPageKojin1, {0, 1}};
  f.model.ListRelease(MouseButton::Left);
  EXPECT_EQ(f.model.slots()[kPageKojin1][1], before[kPageKojin1][1]);
}

// 形式 shows and sets the format of the previewed page's current cell and
// marks it at once; the format belongs to the cell: an item set or dropped
// there keeps it, a delete takes it off, a move carries it along. OK stores
// it beside the item.
TEST(ItemAssignTest, AFormatBelongsToItsCellAndOkStoresIt) {
  Fixture f;
  f.StoreStandard();
  f.store.PutString(ItemsKey(kPageKojin2), "Form001", "カタカナ");
  f.model.FormCreate();
  EXPECT_EQ(f.view.shownForm, std::optional(ValueForm::kAsStored));
  EXPECT_EQ(f.view.marks[kPageKojin2].At(0, 1), "形式：カタカナ");
  const auto formOf = [&](int page, int slot) { return f.model.forms()[page][slot]; };
  struct Step {
    const char* what;
    std::function<void()> act;
    int slot;  // of 個１, column by column
    ValueForm form;
    const char* mark;
    std::optional<ValueForm> shown;
  };
  const Step steps[] = {
      {"chosen for ＴＥＬ",
       [&] {
         f.view.current[kPageKojin1] = {0, 4};
         f.model.PreviewCellChanged();
         f.view.chosenForm = ValueForm::kDigitsOnly;
         f.model.FormChosen();
       },
       4, ValueForm::kDigitsOnly, "形式：数字のみ", ValueForm::kAsStored},
      {"another cell selected",
       [&] { f.view.current[kPageKojin1] = {1, 0}; f.model.PreviewCellChanged(); },
       4, ValueForm::kDigitsOnly, "形式：数字のみ", ValueForm::kAsStored},
      {"an item set into the cell",
       [&] {
         f.view.current[kPageKojin1] = {0, 4};
         f.view.Select("勤TEL");
         f.model.SetSelectedItem();
       },
       4, ValueForm::kDigitsOnly, "形式：数字のみ", ValueForm::kAsStored},
      {"an item dropped on it", [&] { f.Drag(-1, {kPageKojin1, {0, 4}}); },
       4, ValueForm::kDigitsOnly, "形式：数字のみ", ValueForm::kDigitsOnly},
      {"moved to (1, 1)", [&] { f.Drag(kPageKojin1, {kPageKojin1, {1, 1}}); },
       7, ValueForm::kDigitsOnly, "形式：数字のみ", ValueForm::kDigitsOnly},
      {"its source left as deleted", [] {}, 4, ValueForm::kAsStored, "", ValueForm::kDigitsOnly},
      {"the item deleted", [&] { f.model.DeleteSelectedItem(); },
       7, ValueForm::kAsStored, "", ValueForm::kAsStored},
      {"a page without formats", [&] { f.ShowPage(kPageMemo, kPersonalSettingsTab); },
       7, ValueForm::kAsStored, "", std::nullopt},
      {"chosen there: nothing", [&] { f.view.chosenForm = ValueForm::kFullWidth; f.model.FormChosen(); },
       7, ValueForm::kAsStored, "", std::nullopt},
      {"back on 個１, set for (0, 0)",
       [&] {
         f.ShowPage(kPageKojin1, kCellSettingsTab);
         f.view.current[kPageKojin1] = {0, 0};
         f.model.FormChosen();
       },
       0, ValueForm::kFullWidth, "形式：全角", ValueForm::kAsStored},
      {"re-flowed over 3 rows", [&] { f.Update({"2", "3", "", "14"}); },
       0, ValueForm::kFullWidth, "形式：全角", ValueForm::kFullWidth},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    EXPECT_EQ(formOf(kPageKojin1, step.slot), step.form);
    const GridCell cell{step.slot / f.view.shapes[kPageKojin1].rows,
                        step.slot % f.view.shapes[kPageKojin1].rows};
    EXPECT_EQ(f.view.marks[kPageKojin1].At(cell.col, cell.row), step.mark);
    EXPECT_EQ(f.view.shownForm, step.shown);
  }
  EXPECT_EQ(f.model.slots()[kPageKojin1][7], "");
  EXPECT_TRUE(f.model.HasUnsavedChanges());
  ASSERT_TRUE(f.model.StoreOnOk());
  EXPECT_EQ(f.Stored(ItemsKey(kPageKojin1), "Form000").text, "全角");
  EXPECT_EQ(f.Stored(ItemsKey(kPageKojin1), "Form004").text, "");
  EXPECT_EQ(f.Stored(ItemsKey(kPageKojin2), "Form001").text, "カタカナ");
}

// What the end of the session would lose: only a change of what OK stores.
TEST(OptionModelTest, UnsavedChangesAreTheOnesOkWouldStore) {
  struct Case {
    const char* name;
    void (*change)(Fixture& f);
    bool unsaved;
  };
  const Case cases[] = {
      {"nothing", [](Fixture&) {}, false},
      {"a tab turned", [](Fixture& f) { f.ShowPage(kPageMemo, kCellSettingsTab); }, false},
      {"a shape", [](Fixture& f) {
         f.ShowPage(kPageMemo, kCellSettingsTab);
         f.view.fixed = false;
         f.Update({"3", "4", "", "14"});
       }, true},
      {"an item", [](Fixture& f) {
         f.view.selected = 5;
         f.model.SetSelectedItem();
       }, true},
      {"a check box", [](Fixture& f) { f.view.checks[kTabModeBox] = !f.view.checks[kTabModeBox]; },
       true},
      {"a hotkey emptied", [](Fixture& f) { f.model.ClearHotKey(kStepHotKeyBox); }, true},
      {"start with Windows", [](Fixture& f) { f.view.checks[kStartWithWindowsBox] = true; }, true},
      {"a format", [](Fixture& f) {
         f.view.chosenForm = ValueForm::kHiragana;
         f.model.FormChosen();
       }, true},
      {"a paste-key rule switched", [](Fixture& f) {
         f.view.ruleSelected = 0;
         f.model.SwitchPasteKey();
       }, true},
      {"no rule selected", [](Fixture& f) { f.model.RemovePasteKey(); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    f.StoreStandard();
    ASSERT_TRUE(SavePasteKeys(f.store, {{u"a.exe", PasteKey::kCtrlV}}));
    f.model.FormCreate();
    c.change(f);
    EXPECT_EQ(f.model.HasUnsavedChanges(), c.unsaved);
  }
}

// The box shows whether the shortcut starts this copy. OK with it checked
// makes the shortcut anew (replacing another copy's); unchecked removes only
// this copy's. A failure is told, saves nothing and shows the box's tab.
TEST(OptionModelTest, OkMakesTheStartupShortcutOrRemovesOnlyThisCopysOne) {
  struct Case {
    const char* name;
    bool here;     // the shortcut starts this copy
    bool checked;  // when OK is pressed
    bool fails;
    std::string done;
  };
  const Case cases[] = {
      {"checked", false, true, false, "make"},
      {"checked again", true, true, false, "make"},
      {"unchecked", true, false, false, "remove"},
      {"none or another copy's, unchecked", false, false, false, ""},
      {"a make that fails", false, true, true, "make"},
      {"a removal that fails", true, false, true, "remove"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    f.StoreStandard();
    f.startup.here = c.here;
    f.startup.fails = c.fails;
    f.model.FormCreate();
    EXPECT_EQ(f.view.checks[kStartWithWindowsBox], c.here);
    f.view.checks[kStartWithWindowsBox] = c.checked;
    f.view.checks[kTabModeBox] = false;
    EXPECT_EQ(f.model.StoreOnOk(), !c.fails);
    EXPECT_EQ(f.startup.done, c.done);
    EXPECT_EQ(f.startup.here, c.fails ? c.here : c.checked);
    EXPECT_EQ(f.Stored(kBaseKey, "TabMode").dword, c.fails ? 1u : 0u);
    EXPECT_EQ(f.view.warnings, c.fails ? std::vector<std::string>{"オプション: denied"}
                                       : std::vector<std::string>{});
    EXPECT_EQ(f.view.tabs[0], c.fails ? kBehaviourTab : 0);
  }
}

// 貼り付けキー lists the learnt rules; OK stores them as switched and removed,
// beside 「貼り付けた後、クリップボードを元に戻す」.
TEST(OptionModelTest, PasteKeyRulesAndTheRestoreBox) {
  Fixture f;
  f.StoreStandard();
  ASSERT_TRUE(SavePasteKeys(f.store, {{u"a.exe", PasteKey::kShiftInsert},
                                      {u"b.exe", PasteKey::kShiftInsert},
                                      {u"WordPad.exe", PasteKey::kCtrlV}}));
  f.model.FormCreate();
  EXPECT_EQ(f.view.ruleLines, (std::vector<std::u16string>{u"a.exe\tShift+Insert",
                                                          u"b.exe\tShift+Insert",
                                                          u"WordPad.exe\tCtrl+V"}));
  EXPECT_FALSE(f.view.checks[kRestoreClipboardBox]);
  f.view.ruleSelected = 2;
  f.model.SwitchPasteKey();
  EXPECT_EQ(f.view.ruleLines[2], u"WordPad.exe\tShift+Insert");
  EXPECT_EQ(f.view.ruleSelected, 2);
  f.view.ruleSelected = 0;
  f.model.RemovePasteKey();
  f.model.RemovePasteKey();  // the next line was selected
  EXPECT_EQ(f.view.ruleLines, std::vector<std::u16string>{u"WordPad.exe\tShift+Insert"});
  f.view.checks[kRestoreClipboardBox] = true;
  ASSERT_TRUE(f.model.StoreOnOk());
  PasteKeyRules stored;
  ASSERT_TRUE(LoadPasteKeys(f.store, &stored));
  EXPECT_EQ(stored, (PasteKeyRules{{u"WordPad.exe", PasteKey::kShiftInsert}}));
  EXPECT_EQ(f.Stored(kBaseKey, "RestoreClipboard").dword, 1u);
}

}  // namespace
}  // namespace tabcard
