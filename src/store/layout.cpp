#include "store/layout.h"

namespace tabcard {

const char kBaseKey[] = "Software\\orrery\\Tabcard";
const std::array<const char*, kPageCount> kPageKeyNames = {"Kojin1", "Kojin2", "Memo", "List"};

std::string ConfigKey(int page) {
  return std::string(kBaseKey) + "\\Config\\" + kPageKeyNames.at(static_cast<std::size_t>(page));
}

std::string ItemsKey(int page) { return ConfigKey(page) + "\\Items"; }

std::string UserKey(int user) { return std::string(kBaseKey) + "\\User" + std::to_string(user + 1); }

std::string ListItemsKey() { return std::string(kBaseKey) + "\\ListItems"; }

std::string ListHintKey() { return std::string(kBaseKey) + "\\ListHint"; }

bool operator==(const PageConfig& a, const PageConfig& b) {
  return a.ColCount == b.ColCount && a.RowCount == b.RowCount && a.ColWidthMode == b.ColWidthMode &&
         a.ColWidth == b.ColWidth && a.RowHeight == b.RowHeight && a.FontName == b.FontName &&
         a.FontSize == b.FontSize && a.FontBold == b.FontBold && a.FontItalic == b.FontItalic;
}

FontFace StandardFont(bool shiftJisSystem) {
  if (shiftJisSystem) return FontFace{"ＭＳ Ｐゴシック", 9};
  return FontFace{"MS Sans Serif", 8};
}

PageConfigs StandardPageConfigs(const FontFace& standardFont) {
  PageConfigs configs;
  for (int page = 0; page < kPageCount; ++page) {
    const bool personal = page < kPersonalPageCount;
    PageConfig& c = configs[static_cast<std::size_t>(page)];
    c.ColCount = personal ? 2 : 1;
    c.RowCount = personal ? 6 : 10;
    c.ColWidthMode = false;
    c.ColWidth = personal ? 50 : 90;
    c.RowHeight = 14;
    c.FontName = standardFont.name;
    c.FontSize = standardFont.size;
    c.FontBold = false;
    c.FontItalic = false;
  }
  return configs;
}

const std::array<const char*, kStandardSlotCount>& StandardPageItems(int personalPage) {
  static const std::array<const char*, kStandardSlotCount> kKojin1 = {
      "氏名", "フリガナ", "E-Mail1", "HP-URL", "ＴＥＬ", "ＦＡＸ",
      "〒",   "都道府県", "住所１",  "住所２", "職業",   "年齢"};
  static const std::array<const char*, kStandardSlotCount> kKojin2 = {
      "勤務先名", "所属",     "勤E-Mail", "勤URL",    "勤TEL",    "勤FAX",
      "勤〒",     "勤住所１", "勤住所２", "ｅｔｃ１", "ｅｔｃ２", "ｅｔｃ３"};
  return personalPage == kPageKojin2 ? kKojin2 : kKojin1;
}

std::string StandardUserName(int user) {
  static const std::array<const char*, kUserCount> kNames = {"ＵＳＥＲ１", "ＵＳＥＲ２", "ＵＳＥＲ３",
                                                             "ＵＳＥＲ４"};
  if (user < 0 || user >= kUserCount) return {};
  return kNames[static_cast<std::size_t>(user)];
}

}  // namespace tabcard
