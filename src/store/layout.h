// The shape of Tabcard's registry subtree below HKEY_CURRENT_USER: key paths,
// page numbering, the per-page records and their standard values. Every
// store operation builds its paths here, so the layout lives in one place.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/value_form.h"

namespace tabcard {

// Pages in the order of the main window, the options dialog and the keys.
enum PageIndex : int { kPageKojin1 = 0, kPageKojin2 = 1, kPageMemo = 2, kPageList = 3 };
constexpr int kPageCount = 4;
constexpr int kPersonalPageCount = 2;  // Kojin1 and Kojin2 carry items keys
// 個１ and 個２ show profile items; メモ and ﾘｽﾄ show memos and phrases.
constexpr bool IsPersonal(int page) { return page == kPageKojin1 || page == kPageKojin2; }
constexpr int kUserCount = 4;

// A personal page has this many item slots; slots above 255 are never read
// or written, whatever a stored count says.
constexpr int kSlotCount = 256;
// Grid sides are kept within 1..256 when loaded: a grid needs a cell, and a
// stored count of 100000 must not make the palette build billions of cells
// or open that many memo files.
constexpr int kMaxGridSide = 256;
// The standard assignment fills slots 0-11 (a 2 x 6 grid, column by column).
constexpr int kStandardSlotCount = 12;

extern const char kBaseKey[];                                // "Software\orrery\Tabcard"
extern const std::array<const char*, kPageCount> kPageKeyNames;  // Kojin1 Kojin2 Memo List
inline constexpr std::array<const char*, kPageCount> kPageCaptions = {"個１", "個２", "メモ", "ﾘｽﾄ"};

std::string ConfigKey(int page);      // base\Config\Kojin1 ...
std::string ItemsKey(int page);       // base\Config\Kojin1\Items (personal pages)
std::string UserKey(int user);        // user 0 -> base\User1
std::string ListItemsKey();           // base\ListItems
std::string ListHintKey();            // base\ListHint

struct PageConfig {
  std::int32_t ColCount = 1;
  std::int32_t RowCount = 1;
  bool ColWidthMode = false;  // false: computed; true: fixed at ColWidth
  std::int32_t ColWidth = 0;
  std::int32_t RowHeight = 0;
  std::string FontName;
  std::int32_t FontSize = 0;
  bool FontBold = false;
  bool FontItalic = false;
};
bool operator==(const PageConfig& a, const PageConfig& b);
inline bool operator!=(const PageConfig& a, const PageConfig& b) { return !(a == b); }

using PageConfigs = std::array<PageConfig, kPageCount>;
using PageItems = std::array<std::string, kSlotCount>;  // item names, "" = empty cell
// The format each slot's value is sent in; it belongs to the cell, not to
// the item that stands there.
using PageForms = std::array<ValueForm, kSlotCount>;

struct FontFace {
  std::string name;
  std::int32_t size = 0;  // points
};

// The face a newly created font gets from the platform: "ＭＳ Ｐゴシック"
// 9 pt on a Shift-JIS system, "MS Sans Serif" 8 pt elsewhere.
FontFace StandardFont(bool shiftJisSystem);

PageConfigs StandardPageConfigs(const FontFace& standardFont);
// Slots 0-11 of the standard assignment of a personal page.
const std::array<const char*, kStandardSlotCount>& StandardPageItems(int personalPage);
// "ＵＳＥＲ１" ... "ＵＳＥＲ４" for users 0-3.
std::string StandardUserName(int user);

}  // namespace tabcard
