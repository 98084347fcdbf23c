#include "store/catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tabcard {
namespace {

ProfileFields Fields(std::initializer_list<std::pair<int, const char*>> set) {
  ProfileFields f;
  for (const auto& [pos, text] : set) f[pos] = text;
  return f;
}

TEST(Catalogue, FieldNamesInStorageOrder) {
  EXPECT_STREQ(kFieldNames[0], "KanjSei");
  EXPECT_STREQ(kFieldNames[11], "TEL");
  EXPECT_STREQ(kFieldNames[14], "Older");
  EXPECT_STREQ(kFieldNames[19], "K_ZIP");
  EXPECT_STREQ(kFieldNames[22], "K_TEL");
  EXPECT_STREQ(kFieldNames[28], "etc5");
  std::set<std::string> unique(kFieldNames.begin(), kFieldNames.end());
  EXPECT_EQ(unique.size(), static_cast<std::size_t>(kFieldCount));
}

struct FindCase {
  const char* name;
  int number;
};

TEST(Catalogue, FindItemMatchesBytesExactly) {
  const FindCase cases[] = {
      {"氏名", 0},       {"ＴＥＬ", 12},  {"TEL", -1},       {"勤TEL", 24},
      {"勤ＴＥＬ", -1},  {"", -1},        {"ｅｔｃ５", 33},  {"etc5", -1},
      {"〒", 14},        {"勤〒", 26},    {"氏名 ", -1},     {"e-mail1", -1},
      {"E-Mail1", 9},    {"勤E-Mail", 22}, {"住所1", -1},    {"住所１", 16},
  };
  for (const auto& c : cases) EXPECT_EQ(FindItem(c.name), c.number) << c.name;
}

TEST(Catalogue, EveryNameFindsItself) {
  std::set<std::string> menus;
  for (int i = 0; i < kItemCount; ++i) {
    EXPECT_EQ(FindItem(kCatalogue[i].name), i);
    menus.insert(kCatalogue[i].menuName);
  }
  EXPECT_EQ(menus.size(), static_cast<std::size_t>(kItemCount));
  EXPECT_EQ(kCatalogue[18].submenu, nullptr);  // 職業 and 年齢 sit in the menu itself
  EXPECT_EQ(kCatalogue[19].submenu, nullptr);
}

TEST(DeriveItemValues, JoinsWithoutSeparator) {
  const ItemValues v = DeriveItemValues(Fields({{0, "甲"}}));
  EXPECT_EQ(v[0], "甲");
  EXPECT_EQ(v[1], "甲");
  EXPECT_EQ(v[2], "");
  const ItemValues w = DeriveItemValues(Fields({{0, "山田"}, {1, "太郎"}, {2, "やまだ"}, {3, "たろう"}}));
  EXPECT_EQ(w[0], "山田太郎");
  EXPECT_EQ(w[3], "やまだたろう");
  EXPECT_EQ(w[6], "ヤマダタロウ");
  EXPECT_EQ(w[7], "ヤマダ");
  EXPECT_EQ(w[8], "タロウ");
}

// The item order differs from the storage order: each item must read its own field.
TEST(DeriveItemValues, EveryItemReadsItsField) {
  ProfileFields f;
  for (int i = 0; i < kFieldCount; ++i) f[i] = kFieldNames[i];
  const ItemValues v = DeriveItemValues(f);
  const char* expected[kItemCount] = {
      "KanjSeiKanjMei", "KanjSei", "KanjMei", "KanaSeiKanaMei", "KanaSei", "KanaMei", "", "", "",
      "EMail1", "EMail2", "HPURL", "TEL", "FAX", "ZIP", "KenMei", "Jusyo1", "Jusyo2", "JOB",
      "Older", "Kinmusaki", "Syozoku", "K_EMail", "K_URL", "K_TEL", "K_FAX", "K_ZIP", "K_Jusyo1",
      "K_Jusyo2", "etc1", "etc2", "etc3", "etc4", "etc5"};
  for (int i = 0; i < kItemCount; ++i) EXPECT_EQ(v[i], expected[i]) << kCatalogue[i].name;
}

TEST(DeriveItemValues, KanaItemsKeepWhatKatakanaDrops) {
  const ItemValues v = DeriveItemValues(Fields({{2, "あい う"}, {3, "えお"}}));
  EXPECT_EQ(v[4], "あい う");  // せい keeps the reading with its space
  EXPECT_EQ(v[7], "");         // セイ: an ASCII space spoils the whole reading
  EXPECT_EQ(v[6], "エオ");
}

struct KanaCase {
  const char* in;
  const char* out;
};

TEST(ToKatakana, ConvertsTheEightyHiraganaOnly) {
  const KanaCase cases[] = {
      {"", ""},
      {"あいう", "アイウ"},
      {"へ", "ヘ"},
      {"へい", "ヘイ"},
      {"きょう", "キョウ"},
      {"がっこう", "ガッコウ"},
      {"らーめん", "ラメン"},
      {"あい　う", "アイウ"},
      {"あい う", ""},
      {"アイウ", ""},  // katakana input gives nothing
      {"山田やまだ", "ヤマダ"},
      {"ゐゑゎ", ""},
      {"ぱぴぷぺぽぁぃぅぇぉっゃゅょ", "パピプペポァィゥェォッャュョ"},
      {"わをん", "ワヲン"},
      {"ｱｲｳ", ""},  // half-width katakana are single-byte
      {"あa", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ToKatakana(c.in), c.out) << c.in;
}

TEST(ToKatakana, HostileBytesGiveEmpty) {
  EXPECT_EQ(ToKatakana("\x82"), "");          // lead byte without its trail
  EXPECT_EQ(ToKatakana("\x82\xA0\x82"), "");  // trailing half character
  EXPECT_EQ(ToKatakana(std::string(100000, '\x82')), "");  // pairs 82 82: no hiragana
}

}  // namespace
}  // namespace tabcard
