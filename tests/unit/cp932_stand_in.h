// A few characters of code page 932 as Windows converts them, with one of
// its NEC/IBM duplicates: 0x8790 reads as U+2252 like 0x81E0, which is what
// U+2252 converts back to.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "store/backup.h"

namespace tabcard::testing {

class Cp932StandIn : public Cp932Codec {
 public:
  std::u16string Decode(std::string_view character) const override {
    if (character.size() == 1 && static_cast<unsigned char>(character[0]) < 0x80) {
      return std::u16string(1, static_cast<char16_t>(character[0]));
    }
    if (character == "\x87\x90") return u"\u2252";
    for (const auto& [bytes, unit] : kTable) {
      if (character == bytes) return std::u16string(1, unit);
    }
    return {};
  }

  bool Encode(std::u16string_view text, std::string* bytes) const override {
    bytes->clear();
    for (const char16_t u : text) {
      if (u < 0x80) {
        bytes->push_back(static_cast<char>(u));
        continue;
      }
      bool found = false;
      for (const auto& [cp932, unit] : kTable) {
        if (unit == u) *bytes += cp932, found = true;
      }
      if (!found) return false;
    }
    return true;
  }

 private:
  static constexpr std::pair<std::string_view, char16_t> kTable[] = {
      {"\x82\xA0", u'\u3042'},  // あ
      {"\x95\x5C", u'\u8868'},  // 表, whose trail byte is '\'
      {"\x81\xE0", u'\u2252'},  // ≒
      {"\x87\x40", u'\u2460'},  // ①
      {"\xB1", u'\uFF71'},      // ｱ
  };
};

}  // namespace tabcard::testing
