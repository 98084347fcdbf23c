// The profile item catalogue: the 29 stored fields of a user and the 34 items
// derived from them. The item name is what cells, the registry and menus share.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tabcard {

constexpr int kFieldCount = 29;
constexpr int kItemCount = 34;

using ProfileFields = std::array<std::string, kFieldCount>;
using ItemValues = std::array<std::string, kItemCount>;

// Registry value names of the fields, in storage order (KanjSei ... etc5).
extern const std::array<const char*, kFieldCount> kFieldNames;

struct CatalogueItem {
  const char* name;      // item name, CP932 ("氏名", "ＴＥＬ")
  const char* menuName;  // name of its entry in the item menu (mnuKnjShimei)
  const char* submenu;   // caption of the submenu holding it, or nullptr
};
extern const std::array<CatalogueItem, kItemCount> kCatalogue;

// Item number 0-33 whose name equals name byte for byte, or -1.
int FindItem(std::string_view name);

ItemValues DeriveItemValues(const ProfileFields& fields);

// Katakana of a hiragana reading; empty when the text holds any single-byte
// character. Double-byte characters outside the 80 hiragana are dropped.
std::string ToKatakana(std::string_view text);

}  // namespace tabcard
