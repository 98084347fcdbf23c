// LoadSettings, SaveSettings and the memo slot count over the in-memory registry.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "core/text.h"
#include "store/layout.h"
#include "store/memory_registry.h"
#include "store/paste_keys.h"
#include "store/settings.h"
#include "store_fixture.h"

namespace tabcard {
namespace {

using testing::RecordingRegistry;
using testing::Value;
using Type = RegValue::Type;

const FontFace kFont = StandardFont(true);

// A complete store whose values all differ from the standard ones, without
// the value skipName of skipKey when one is given.
void PutSettings(MemoryRegistry& reg, const std::string& skipKey = "", std::string_view skipName = "") {
  const auto dword = [&](const std::string& key, std::string_view name, std::uint32_t v) {
    if (key != skipKey || name != skipName) reg.PutDword(key, name, v);
  };
  const auto text = [&](const std::string& key, std::string_view name, std::string_view v) {
    if (key != skipKey || name != skipName) reg.PutString(key, name, v);
  };
  dword(kBaseKey, "BootInTaskTray", 1);
  dword(kBaseKey, "CloseInTaskTray", 0);
  dword(kBaseKey, "TabMode", 7);  // any non-zero is true
  for (int page = 0; page < kPageCount; ++page) {
    const std::string key = ConfigKey(page);
    dword(key, "ColCount", 3 + page);
    dword(key, "RowCount", 4);
    dword(key, "ColWidth", 60 + page);
    dword(key, "RowHeight", 20);
    dword(key, "ColWidthMode", 1);
    text(key, "FontName", "ＭＳ ゴシック");
    dword(key, "FontSize", 11);
    dword(key, "FontBold", 1);
    dword(key, "FontItalic", 0);
  }
  for (int page = 0; page < kPersonalPageCount; ++page) {
    dword(ItemsKey(page), "ItemCount", 14);
    for (int k = 0; k < 14; ++k) text(ItemsKey(page), Numbered("Item", k), "住所" + std::to_string(k));
  }
}

PaletteSettings Prefilled() {
  PaletteSettings s;
  for (auto& items : s.items) items.fill("old");
  for (auto& forms : s.forms) forms.fill(ValueForm::kKatakana);
  return s;
}

void ExpectStandard(const PaletteSettings& s) {
  EXPECT_FALSE(s.BootInTaskTray);
  EXPECT_FALSE(s.CloseInTaskTray);
  EXPECT_FALSE(s.TabMode);
  EXPECT_EQ(s.configs, StandardPageConfigs(kFont));
  for (int page = 0; page < kPersonalPageCount; ++page) {
    for (int k = 0; k < kStandardSlotCount; ++k) {
      EXPECT_EQ(s.items[page][k], StandardPageItems(page)[k]) << page << " " << k;
      EXPECT_EQ(s.forms[page][k], ValueForm::kAsStored) << page << " " << k;
    }
  }
  EXPECT_EQ(s.MemoCount, 10);
}

TEST(StandardValues, FontFollowsTheSystemCharacterSet) {
  EXPECT_EQ(StandardFont(true).name, "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E");
  EXPECT_EQ(StandardFont(true).size, 9);
  EXPECT_EQ(StandardFont(false).name, "MS Sans Serif");
  EXPECT_EQ(StandardFont(false).size, 8);
}

TEST(StandardValues, KeyPathsAndUserNames) {
  EXPECT_EQ(ConfigKey(kPageList), "Software\\orrery\\Tabcard\\Config\\List");
  EXPECT_EQ(ItemsKey(kPageKojin2), "Software\\orrery\\Tabcard\\Config\\Kojin2\\Items");
  EXPECT_EQ(UserKey(0), "Software\\orrery\\Tabcard\\User1");
  EXPECT_EQ(StandardUserName(3), "ＵＳＥＲ４");
}

TEST(LoadSettings, NoBaseKeyGivesStandardValuesAndCreatesNothing) {
  MemoryRegistry reg;
  PaletteSettings s = Prefilled();
  EXPECT_FALSE(LoadSettings(reg, kFont, &s));
  ExpectStandard(s);
  EXPECT_EQ(s.items[0][12], "old");  // beyond the standard twelve: left as it was
  EXPECT_FALSE(reg.HasKey(kBaseKey));
  EXPECT_FALSE(reg.HasKey("Software\\orrery"));
}

TEST(LoadSettings, ReadsACompleteStoreOneKeyAtATime) {
  MemoryRegistry reg;
  PutSettings(reg);
  PaletteSettings s = Prefilled();
  ASSERT_TRUE(LoadSettings(reg, kFont, &s));
  EXPECT_TRUE(s.BootInTaskTray);
  EXPECT_FALSE(s.CloseInTaskTray);
  EXPECT_TRUE(s.TabMode);
  EXPECT_FALSE(s.RestoreClipboard);  // an older store: missing reads as off
  EXPECT_EQ(s.configs[kPageList].ColCount, 6);
  EXPECT_EQ(s.configs[kPageKojin2].ColWidth, 61);
  EXPECT_TRUE(s.configs[kPageMemo].ColWidthMode);
  EXPECT_EQ(s.configs[kPageMemo].FontName, "ＭＳ ゴシック");
  EXPECT_TRUE(s.configs[kPageMemo].FontBold);
  EXPECT_EQ(s.items[1][13], "住所13");
  EXPECT_EQ(s.items[1][14], "old");
  // A store from before the formats: every slot read is as stored, the rest as they were.
  EXPECT_EQ(s.forms[1][13], ValueForm::kAsStored);
  EXPECT_EQ(s.forms[1][14], ValueForm::kKatakana);
  EXPECT_EQ(s.MemoCount, 5 * 4);
  EXPECT_EQ(reg.maxOpenAtOnce(), 1);
  EXPECT_EQ(reg.opens(), 1 + kPageCount + kPersonalPageCount);
}

TEST(LoadSettings, OneMissingPageFailsAllPages) {
  MemoryRegistry reg;
  PutSettings(reg);
  reg.DeleteTree(ConfigKey(kPageList));
  PaletteSettings s = Prefilled();
  EXPECT_FALSE(LoadSettings(reg, kFont, &s));
  ExpectStandard(s);
}

TEST(LoadSettings, FailureKeepsSlotsReadBeyondTheStandardTwelve) {
  MemoryRegistry reg;
  PutSettings(reg);
  reg.PutString(ItemsKey(kPageKojin2), "ItemCount", "14");
  PaletteSettings s = Prefilled();
  EXPECT_FALSE(LoadSettings(reg, kFont, &s));
  ExpectStandard(s);
  EXPECT_EQ(s.items[0][13], "住所13");
  EXPECT_EQ(s.items[1][13], "old");
}

// Every integer and boolean is required; of the type it must be a DWORD.
struct RequiredValue {
  std::string key;
  const char* name;
};

std::vector<RequiredValue> RequiredValues() {
  std::vector<RequiredValue> all = {
      {kBaseKey, "BootInTaskTray"}, {kBaseKey, "CloseInTaskTray"}, {kBaseKey, "TabMode"}};
  for (int page = 0; page < kPageCount; ++page) {
    for (const char* name : {"ColCount", "RowCount", "ColWidth", "RowHeight", "ColWidthMode", "FontSize",
                             "FontBold", "FontItalic"}) {
      all.push_back({ConfigKey(page), name});
    }
  }
  all.push_back({ItemsKey(kPageKojin1), "ItemCount"});
  all.push_back({ItemsKey(kPageKojin2), "ItemCount"});
  return all;
}

TEST(LoadSettings, EveryRequiredValueMissingOrOfAnotherTypeFails) {
  const Type wrongTypes[] = {Type::String, Type::ExpandString, Type::Other};
  for (const RequiredValue& v : RequiredValues()) {
    for (int variant = -1; variant < 3; ++variant) {
      MemoryRegistry reg;
      if (variant < 0) {
        PutSettings(reg, v.key, v.name);
      } else {
        PutSettings(reg);
        reg.Put(v.key, v.name, Value(wrongTypes[variant], 2, "2"));
      }
      PaletteSettings s = Prefilled();
      EXPECT_FALSE(LoadSettings(reg, kFont, &s)) << v.key << ":" << v.name << " variant " << variant;
      ExpectStandard(s);
    }
  }
}

TEST(LoadSettings, FontNameMayBeMissingOrUnexpandedButNotAnotherType) {
  struct Case {
    const char* label;
    bool present;
    RegValue value;
    bool ok;
    std::string font;
  };
  const Case cases[] = {
      {"missing", false, {}, true, ""},
      {"expand_sz", true, Value(Type::ExpandString, 0, "%WINDIR%"), true, "%WINDIR%"},
      {"embedded_zero", true, Value(Type::String, 0, std::string("Ari\0al", 6)), true, "Ari"},
      {"dword", true, Value(Type::Dword, 5), false, ""},
      {"binary", true, Value(Type::Other, 0, "MS"), false, ""},
  };
  for (const Case& c : cases) {
    MemoryRegistry reg;
    PutSettings(reg, ConfigKey(kPageMemo), "FontName");
    if (c.present) reg.Put(ConfigKey(kPageMemo), "FontName", c.value);
    PaletteSettings s;
    EXPECT_EQ(LoadSettings(reg, kFont, &s), c.ok) << c.label;
    if (c.ok) {
      EXPECT_EQ(s.configs[kPageMemo].FontName, c.font) << c.label;
      EXPECT_EQ(s.configs[kPageMemo].FontSize, 11) << c.label;
    }
  }
}

TEST(LoadSettings, MissingSlotIsEmptyAndAWrongTypedSlotFails) {
  MemoryRegistry reg;
  PutSettings(reg, ItemsKey(kPageKojin1), "Item005");
  reg.PutDword(ItemsKey(kPageKojin1), "ItemCount", 12);
  PaletteSettings s = Prefilled();
  ASSERT_TRUE(LoadSettings(reg, kFont, &s));
  EXPECT_EQ(s.items[0][4], "住所4");
  EXPECT_EQ(s.items[0][5], "");
  EXPECT_EQ(s.items[0][11], "住所11");
  EXPECT_EQ(s.items[0][12], "old");  // stored, but beyond ItemCount

  reg.Put(ItemsKey(kPageKojin1), "Item003", Value(Type::Dword, 3));
  EXPECT_FALSE(LoadSettings(reg, kFont, &s));
}

// A format is its name as the drop-down shows it; anything else is none and
// never fails the load.
TEST(LoadSettings, FormatsAreReadByNameAndAnythingElseIsAsStored) {
  struct Case {
    const char* label;
    RegValue value;  // Type::Other: not stored
    ValueForm form;
  };
  const Case cases[] = {
      {"digits", Value(Type::String, 0, "数字のみ"), ValueForm::kDigitsOnly},
      {"half_kana", Value(Type::String, 0, "半角カナ"), ValueForm::kHalfWidthKana},
      {"unexpanded", Value(Type::ExpandString, 0, "全角"), ValueForm::kFullWidth},
      {"named_as_stored", Value(Type::String, 0, "そのまま"), ValueForm::kAsStored},
      {"missing", Value(Type::Other), ValueForm::kAsStored},
      {"empty", Value(Type::String), ValueForm::kAsStored},
      {"unknown", Value(Type::String, 0, "ローマ字"), ValueForm::kAsStored},
      {"trailing_space", Value(Type::String, 0, "全角 "), ValueForm::kAsStored},
      {"dword", Value(Type::Dword, 3), ValueForm::kAsStored},
  };
  for (const Case& c : cases) {
    MemoryRegistry reg;
    PutSettings(reg);
    if (c.value.type != Type::Other) reg.Put(ItemsKey(kPageKojin2), "Form004", c.value);
    reg.PutString(ItemsKey(kPageKojin2), "Form200", "全角");  // beyond ItemCount: never read
    PaletteSettings s = Prefilled();
    ASSERT_TRUE(LoadSettings(reg, kFont, &s)) << c.label;
    EXPECT_EQ(s.forms[1][4], c.form) << c.label;
    EXPECT_EQ(s.items[1][4], "住所4") << c.label;
    EXPECT_EQ(s.forms[1][5], ValueForm::kAsStored) << c.label;
    EXPECT_EQ(s.forms[1][200], ValueForm::kKatakana) << c.label;
    EXPECT_EQ(s.forms[0][4], ValueForm::kAsStored) << c.label;
  }
}

TEST(LoadSettings, ItemCountBeyondTheSlotsOrNegative) {
  struct Case {
    std::int32_t count;
    const char* slot255;
    const char* slot0;
  };
  const Case cases[] = {{300, "item255", "item0"},
                        {std::numeric_limits<std::int32_t>::max(), "item255", "item0"},
                        {-1, "old", "old"},
                        {std::numeric_limits<std::int32_t>::min(), "old", "old"}};
  for (const Case& c : cases) {
    MemoryRegistry reg;
    PutSettings(reg);
    reg.PutDword(ItemsKey(kPageKojin2), "ItemCount", static_cast<std::uint32_t>(c.count));
    for (int k = 0; k < 300; ++k) {
      // A slot past 255 of the wrong type would fail the load if it were read.
      if (k < kSlotCount) {
        reg.PutString(ItemsKey(kPageKojin2), Numbered("Item", k), "item" + std::to_string(k));
      } else {
        reg.Put(ItemsKey(kPageKojin2), Numbered("Item", k), Value(Type::Dword, 1));
      }
    }
    PaletteSettings s = Prefilled();
    ASSERT_TRUE(LoadSettings(reg, kFont, &s)) << c.count;
    EXPECT_EQ(s.items[1][255], c.slot255) << c.count;
    EXPECT_EQ(s.items[1][0], c.slot0) << c.count;
  }
}

// Whichever series holds the values, a count far above them costs what is
// stored; a store without formats asks for none past its last item.
TEST(LoadSettings, SlotsAreAskedForOnlyUntilTheStoredOnesWereMet) {
  struct Case {
    const char* label;
    std::vector<int> formSlots;
  };
  const Case cases[] = {{"no_formats", {}}, {"formats_inside", {0, 7}}, {"format_last", {13}}};
  for (const Case& c : cases) {
    const auto queries = [&](std::uint32_t count) {
      MemoryRegistry reg;
      PutSettings(reg);
      for (int k : c.formSlots) reg.PutString(ItemsKey(kPageKojin1), Numbered("Form", k), "全角");
      reg.PutDword(ItemsKey(kPageKojin1), "ItemCount", count);
      PaletteSettings s = Prefilled();
      EXPECT_TRUE(LoadSettings(reg, kFont, &s)) << c.label << count;
      EXPECT_EQ(s.items[0][13], "住所13") << c.label << count;
      EXPECT_EQ(s.items[0][255], count == 14 ? "old" : "") << c.label << count;
      for (int k : c.formSlots) EXPECT_EQ(s.forms[0][k], ValueForm::kFullWidth) << c.label << k;
      return reg.queries();
    };
    const int stored = queries(14);
    EXPECT_EQ(stored, queries(static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())))
        << c.label;
    if (c.formSlots.empty()) {
      // The other pages' reads, ItemCount, then Item000 .. Item013 with the
      // Forms between them (none after the last item).
      MemoryRegistry reg;
      PutSettings(reg);
      reg.DeleteTree(ItemsKey(kPageKojin1));
      reg.PutDword(ItemsKey(kPageKojin1), "ItemCount", 0);
      PaletteSettings s;
      ASSERT_TRUE(LoadSettings(reg, kFont, &s));
      EXPECT_EQ(stored - reg.queries(), 14 + 13);
    }
  }
}

TEST(LoadSettings, CountsAreKeptWithinOneTo256) {
  MemoryRegistry reg;
  PutSettings(reg);
  reg.PutDword(ConfigKey(kPageKojin1), "ColCount", 0);
  reg.PutDword(ConfigKey(kPageKojin1), "RowCount", static_cast<std::uint32_t>(-5));
  reg.PutDword(ConfigKey(kPageMemo), "ColCount", 100000);
  reg.PutDword(ConfigKey(kPageMemo), "RowCount", 100000);
  PaletteSettings s;
  ASSERT_TRUE(LoadSettings(reg, kFont, &s));
  EXPECT_EQ(s.configs[kPageKojin1].ColCount, 1);
  EXPECT_EQ(s.configs[kPageKojin1].RowCount, 1);
  EXPECT_EQ(s.configs[kPageMemo].ColCount, 256);
  EXPECT_EQ(s.MemoCount, 256 * 256);

  reg.PutDword(ConfigKey(kPageMemo), "ColCount", 0);
  reg.PutDword(ConfigKey(kPageMemo), "RowCount", 7);
  ASSERT_TRUE(LoadSettings(reg, kFont, &s));
  EXPECT_EQ(s.MemoCount, 7);
}

TEST(LoadSettings, MegabyteFontNameReadsWhole) {
  MemoryRegistry reg;
  PutSettings(reg);
  const std::string big(1 << 20, 'a');
  reg.PutString(ConfigKey(kPageKojin2), "FontName", big);
  PaletteSettings s;
  ASSERT_TRUE(LoadSettings(reg, kFont, &s));
  EXPECT_EQ(s.configs[kPageKojin2].FontName.size(), big.size());
}

PaletteSettings Custom() {
  PaletteSettings s;
  s.BootInTaskTray = true;
  s.TabMode = true;
  s.RestoreClipboard = true;
  s.configs = StandardPageConfigs(StandardFont(false));
  s.configs[kPageKojin1].ColCount = 3;
  s.configs[kPageKojin1].RowCount = 4;
  s.configs[kPageKojin2].FontItalic = true;
  s.configs[kPageList].FontName = "";
  for (int k = 0; k < kSlotCount; ++k) s.items[0][k] = "k" + std::to_string(k);
  s.items[1][0] = "氏名";
  s.forms[0][2] = ValueForm::kHiragana;
  s.forms[0][12] = ValueForm::kDigitsOnly;  // beyond the 3 x 4 cells
  s.forms[1][0] = ValueForm::kHalfWidthAlnum;
  return s;
}

TEST(SaveSettings, RoundTripsThroughLoadSettings) {
  MemoryRegistry reg;
  const PaletteSettings saved = Custom();
  ASSERT_TRUE(SaveSettings(reg, saved));
  PaletteSettings loaded;
  ASSERT_TRUE(LoadSettings(reg, kFont, &loaded));
  EXPECT_EQ(loaded.configs, saved.configs);
  EXPECT_EQ(loaded.BootInTaskTray, saved.BootInTaskTray);
  EXPECT_EQ(loaded.CloseInTaskTray, saved.CloseInTaskTray);
  EXPECT_EQ(loaded.TabMode, saved.TabMode);
  EXPECT_TRUE(loaded.RestoreClipboard);
  EXPECT_EQ(loaded.items[0][11], "k11");
  EXPECT_EQ(loaded.items[0][12], "");  // 3 x 4 cells: slot 12 was not stored
  EXPECT_EQ(loaded.items[1][0], "氏名");
  EXPECT_EQ(loaded.forms[0][2], ValueForm::kHiragana);
  EXPECT_EQ(loaded.forms[0][12], ValueForm::kAsStored);
  EXPECT_EQ(loaded.forms[1][0], ValueForm::kHalfWidthAlnum);
  EXPECT_EQ(loaded.forms[1][1], ValueForm::kAsStored);
  EXPECT_EQ(reg.maxOpenAtOnce(), 1);
  // Stored by name; none is an empty value, so a format taken off stays off.
  EXPECT_EQ(reg.KeyValues(ItemsKey(kPageKojin1))->at("form002").text, "ひらがな");
  EXPECT_EQ(reg.KeyValues(ItemsKey(kPageKojin1))->at("form003").text, "");
}

TEST(SaveSettings, WritesInOrder) {
  MemoryRegistry inner;
  RecordingRegistry reg(inner);
  ASSERT_TRUE(SaveSettings(reg, Custom()));
  std::vector<std::string> expected = {std::string(kBaseKey) + ":BootInTaskTray",
                                       std::string(kBaseKey) + ":CloseInTaskTray",
                                       std::string(kBaseKey) + ":TabMode",
                                       std::string(kBaseKey) + ":HotKeyShow",
                                       std::string(kBaseKey) + ":HotKeyStep",
                                       std::string(kBaseKey) + ":RestoreClipboard"};
  for (int page = 0; page < kPageCount; ++page) {
    for (const char* name : {"ColCount", "RowCount", "ColWidth", "RowHeight", "ColWidthMode", "FontName",
                             "FontSize", "FontBold", "FontItalic"}) {
      expected.push_back(ConfigKey(page) + ":" + name);
    }
  }
  for (int page = 0; page < kPersonalPageCount; ++page) {
    expected.push_back(ItemsKey(page) + ":ItemCount");
    for (int k = 0; k < 12; ++k) expected.push_back(ItemsKey(page) + ":" + Numbered("Item", k));
    for (int k = 0; k < 12; ++k) expected.push_back(ItemsKey(page) + ":" + Numbered("Form", k));
  }
  EXPECT_EQ(reg.writes, expected);
  for (const std::string& open : reg.opened) EXPECT_EQ(open[0], 'W') << open;
}

TEST(SaveSettings, ItemCountIsTheCellCountKeptWithinTheSlots) {
  struct Case {
    std::int32_t cols, rows, itemCount;
  };
  const Case cases[] = {{3, 4, 12}, {16, 16, 256}, {20, 20, 256}, {-1, 5, 0}, {0, 0, 0},
                        {70000, 70000, 256}};
  for (const Case& c : cases) {
    MemoryRegistry reg;
    reg.PutString(ItemsKey(kPageKojin1), "Item300", "stale");
    PaletteSettings s = Custom();
    s.configs[kPageKojin1].ColCount = c.cols;
    s.configs[kPageKojin1].RowCount = c.rows;
    ASSERT_TRUE(SaveSettings(reg, s));
    const auto* values = reg.KeyValues(ItemsKey(kPageKojin1));
    ASSERT_NE(values, nullptr);
    EXPECT_EQ(values->at("itemcount").dword, static_cast<std::uint32_t>(c.itemCount)) << c.cols;
    // Exactly ItemCount slots, each an item and a format, plus the count and
    // the stale value that stays.
    EXPECT_EQ(values->size(), 2 * static_cast<std::size_t>(c.itemCount) + 2) << c.cols;
    EXPECT_EQ(values->count("item256"), 0u) << c.cols;
    EXPECT_EQ(values->count("form256"), 0u) << c.cols;
  }
}

TEST(SaveSettings, FirstFailedWriteEndsTheSave) {
  for (int n : {0, 1, 3, 10, 39, 40, 45}) {
    MemoryRegistry inner;
    inner.FailWritesAfter(n);
    RecordingRegistry reg(inner);
    EXPECT_FALSE(SaveSettings(reg, Custom())) << n;
    EXPECT_EQ(reg.succeeded, n);
    EXPECT_EQ(reg.writes.size(), static_cast<std::size_t>(n) + 1) << n;
  }
}

TEST(ReadMemoSlotCount, ProductWhenBothCountsRead) {
  struct Case {
    const char* label;
    bool putCols;
    RegValue rows;
    std::int32_t count;
    bool fromStore;
  };
  const Case cases[] = {
      {"both", true, Value(Type::Dword, 6), 12, true},
      {"rows_as_text", true, Value(Type::String, 0, "6"), 10, false},
      {"cols_missing", false, Value(Type::Dword, 6), 10, false},
      {"rows_zero", true, Value(Type::Dword, 0), 2, true},
      {"rows_huge", true, Value(Type::Dword, 1000000), 512, true},
  };
  for (const Case& c : cases) {
    MemoryRegistry reg;
    if (c.putCols) reg.PutDword(ConfigKey(kPageMemo), "ColCount", 2);
    reg.Put(ConfigKey(kPageMemo), "RowCount", c.rows);
    bool fromStore = !c.fromStore;
    EXPECT_EQ(ReadMemoSlotCount(reg, &fromStore), c.count) << c.label;
    EXPECT_EQ(fromStore, c.fromStore) << c.label;
  }
  MemoryRegistry empty;
  bool fromStore = true;
  EXPECT_EQ(ReadMemoSlotCount(empty, &fromStore), 10);
  EXPECT_FALSE(fromStore);
  EXPECT_FALSE(empty.HasKey(kBaseKey));
}

TEST(PasteKeys, RoundTripAndWhatIsNoRule) {
  MemoryRegistry reg;
  PasteKeyRules rules;
  ASSERT_TRUE(LoadPasteKeys(reg, &rules));  // no key: no rules, nothing created
  EXPECT_TRUE(rules.empty());
  EXPECT_FALSE(reg.HasKey(std::string(kBaseKey) + "\\PasteKeys"));

  ASSERT_TRUE(SavePasteKeys(reg, {{u"WordPad.exe", PasteKey::kCtrlV}, {u"b.exe", PasteKey::kCtrlV}}));
  ASSERT_TRUE(StorePasteKey(reg, u"a.exe", PasteKey::kShiftInsert));
  ASSERT_TRUE(StorePasteKey(reg, u"B.EXE", PasteKey::kShiftInsert));  // the same value
  const std::string key = std::string(kBaseKey) + "\\PasteKeys";
  struct Damaged {
    const char* name;
    RegValue value;
  };
  const Damaged damaged[] = {{"c.exe", {RegValue::Type::Dword, 1, ""}},
                             {"d.exe", {RegValue::Type::String, 0, "Alt+V"}},
                             {"", {RegValue::Type::String, 0, "Ctrl+V"}}};
  for (const Damaged& d : damaged) reg.Put(key, d.name, d.value);
  reg.PutString(key, "e.exe", "ctrl+v");  // typed by hand
  ASSERT_TRUE(LoadPasteKeys(reg, &rules));
  const PasteKeyRules expected = {{u"a.exe", PasteKey::kShiftInsert},
                                  {u"b.exe", PasteKey::kShiftInsert},
                                  {u"e.exe", PasteKey::kCtrlV},
                                  {u"WordPad.exe", PasteKey::kCtrlV}};
  EXPECT_EQ(rules, expected);
  ASSERT_NE(FindPasteKeyRule(rules, u"WORDPAD.EXE"), nullptr);
  EXPECT_EQ(FindPasteKeyRule(rules, u"WORDPAD.EXE")->key, PasteKey::kCtrlV);
  EXPECT_EQ(FindPasteKeyRule(rules, u"wordpad"), nullptr);

  ASSERT_TRUE(SavePasteKeys(reg, {{u"a.exe", PasteKey::kCtrlV}}));  // the rest removed
  ASSERT_TRUE(LoadPasteKeys(reg, &rules));
  EXPECT_EQ(rules, (PasteKeyRules{{u"a.exe", PasteKey::kCtrlV}}));
}

}  // namespace
}  // namespace tabcard
