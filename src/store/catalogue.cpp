#include "store/catalogue.h"

#include "core/text.h"

namespace tabcard {

const std::array<const char*, kFieldCount> kFieldNames = {
    "KanjSei", "KanjMei", "KanaSei",  "KanaMei",  "EMail1",  "EMail2",   "HPURL",    "ZIP",
    "KenMei",  "Jusyo1",  "Jusyo2",   "TEL",      "FAX",     "JOB",      "Older",    "Kinmusaki",
    "Syozoku", "K_EMail", "K_URL",    "K_ZIP",    "K_Jusyo1", "K_Jusyo2", "K_TEL",   "K_FAX",
    "etc1",    "etc2",    "etc3",     "etc4",     "etc5"};

namespace {

constexpr const char* kName = "氏名";
constexpr const char* kContact = "連絡先";
constexpr const char* kAddress = "住所";
constexpr const char* kWork = "勤務先情報";
constexpr const char* kEtc = "ｅｔｃ";

enum Field {
  KanjSei, KanjMei, KanaSei, KanaMei, EMail1, EMail2, HPURL, ZIP, KenMei, Jusyo1, Jusyo2,
  TEL, FAX, JOB, Older, Kinmusaki, Syozoku, K_EMail, K_URL, K_ZIP, K_Jusyo1, K_Jusyo2,
  K_TEL, K_FAX, etc1, etc2, etc3, etc4, etc5
};

// How an item's text comes from the fields: one field, or two joined, each
// optionally turned into katakana.
struct Rule {
  int first;
  int second;  // -1: none
  bool katakana;
};

constexpr Rule kRules[kItemCount] = {
    {KanjSei, KanjMei, false}, {KanjSei, -1, false}, {KanjMei, -1, false},
    {KanaSei, KanaMei, false}, {KanaSei, -1, false}, {KanaMei, -1, false},
    {KanaSei, KanaMei, true},  {KanaSei, -1, true},  {KanaMei, -1, true},
    {EMail1, -1, false},       {EMail2, -1, false},  {HPURL, -1, false},
    {TEL, -1, false},          {FAX, -1, false},     {ZIP, -1, false},
    {KenMei, -1, false},       {Jusyo1, -1, false},  {Jusyo2, -1, false},
    {JOB, -1, false},          {Older, -1, false},   {Kinmusaki, -1, false},
    {Syozoku, -1, false},      {K_EMail, -1, false}, {K_URL, -1, false},
    {K_TEL, -1, false},        {K_FAX, -1, false},   {K_ZIP, -1, false},
    {K_Jusyo1, -1, false},     {K_Jusyo2, -1, false}, {etc1, -1, false},
    {etc2, -1, false},         {etc3, -1, false},    {etc4, -1, false},
    {etc5, -1, false}};

// The 80 hiragana and their katakana, position for position.
constexpr const char kHiragana[] =
    "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
    "がぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽぁぃぅぇぉっゃゅょ";
constexpr const char kKatakana[] =
    "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲン"
    "ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポァィゥェォッャュョ";
static_assert(sizeof kHiragana == 2 * 80 + 1, "80 double-byte hiragana");
static_assert(sizeof kKatakana == 2 * 80 + 1, "80 double-byte katakana");

std::string ItemText(const ProfileFields& f, const Rule& rule) {
  auto part = [&](int field) {
    return rule.katakana ? ToKatakana(f[field]) : f[field];
  };
  std::string text = part(rule.first);
  if (rule.second >= 0) text += part(rule.second);
  return text;
}

}  // namespace

const std::array<CatalogueItem, kItemCount> kCatalogue = {{
    {"氏名", "mnuKnjShimei", kName},      {"姓", "mnuKnjSei", kName},
    {"名", "mnuKnjMei", kName},           {"ふりがな", "mnuHiraShimei", kName},
    {"せい", "mnuHiraSei", kName},        {"めい", "mnuHiraMei", kName},
    {"フリガナ", "mnuKataShimei", kName}, {"セイ", "mnuKataSei", kName},
    {"メイ", "mnuKataMei", kName},        {"E-Mail1", "mnuEMail1", kContact},
    {"E-Mail2", "mnuEMail2", kContact},   {"HP-URL", "mnuHPURL", kContact},
    {"ＴＥＬ", "mnuTEL", kContact},       {"ＦＡＸ", "mnuFAX", kContact},
    {"〒", "mnuZip", kAddress},           {"都道府県", "mnuKenMei", kAddress},
    {"住所１", "mnuAddress1", kAddress},  {"住所２", "mnuAddress2", kAddress},
    {"職業", "mnuJob", nullptr},          {"年齢", "mnuOlder", nullptr},
    {"勤務先名", "mnuKinmusaki", kWork},  {"所属", "mnuSyozoku", kWork},
    {"勤E-Mail", "mnuKEMail", kWork},     {"勤URL", "mnuKURL", kWork},
    {"勤TEL", "mnuKTEL", kWork},          {"勤FAX", "mnuKFAX", kWork},
    {"勤〒", "mnuKZip", kWork},           {"勤住所１", "mnuKAddress1", kWork},
    {"勤住所２", "mnuKAddress2", kWork},  {"ｅｔｃ１", "mnuEtc1", kEtc},
    {"ｅｔｃ２", "mnuEtc2", kEtc},        {"ｅｔｃ３", "mnuEtc3", kEtc},
    {"ｅｔｃ４", "mnuEtc4", kEtc},        {"ｅｔｃ５", "mnuEtc5", kEtc},
}};

int FindItem(std::string_view name) {
  for (int i = 0; i < kItemCount; ++i) {
    if (name == kCatalogue[i].name) return i;
  }
  return -1;
}

ItemValues DeriveItemValues(const ProfileFields& fields) {
  ItemValues values;
  for (int i = 0; i < kItemCount; ++i) values[i] = ItemText(fields, kRules[i]);
  return values;
}

std::string ToKatakana(std::string_view text) {
  // Any single-byte character makes the reading unusable as a whole.
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsLeadByte(static_cast<unsigned char>(text[i])) || i + 1 == text.size()) return {};
    ++i;
  }
  std::string out;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    for (std::size_t k = 0; k + 1 < sizeof kHiragana; k += 2) {
      if (text[i] == kHiragana[k] && text[i + 1] == kHiragana[k + 1]) {
        out.append(kKatakana + k, 2);
        break;
      }
    }
  }
  return out;
}

}  // namespace tabcard
