#include "store/backup_text.h"

#include <array>

#include "core/text.h"

namespace tabcard::backup_text {
namespace {

constexpr Problem kBadEscape = "エスケープが正しくありません";
constexpr Problem kBadUtf8 = "UTF-8 として正しくない文字があります";
constexpr Problem kRawControl = "制御文字がエスケープされていません";
constexpr Problem kNotCp932 = "Shift-JIS にない文字があります";
constexpr Problem kNotQuoted = "文字列が引用符で囲まれていません";

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsHigh(std::uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(std::uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Characters written as escapes although UTF-8 could hold them: controls,
// line and paragraph separators, the BOM, private use and U+FFF0-U+FFFF, so
// that nothing invisible or line-breaking stands in the text.
bool WrittenAsEscape(std::uint32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 || c == 0xFEFF ||
         (c >= 0xD800 && c <= 0xF8FF) || (c >= 0xFFF0 && c <= 0xFFFF);
}

void AppendUtf8(std::uint32_t c, std::string* out) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | c >> 6));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | c >> 12));
    out->push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | c >> 18));
    out->push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// One character of UTF-8 at text[*pos]: its code point, *pos moved past it.
// False for an invalid, overlong or surrogate sequence.
bool NextUtf8(std::string_view text, std::size_t* pos, std::uint32_t* c) {
  const auto lead = static_cast<unsigned char>(text[*pos]);
  int extra = 0;
  std::uint32_t min = 0;
  if (lead < 0x80) {
    *c = lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1, min = 0x80, *c = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2, min = 0x800, *c = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3, min = 0x10000, *c = lead & 0x07u;
  } else {
    return false;
  }
  if (text.size() - *pos <= static_cast<std::size_t>(extra)) return false;
  for (int k = 1; k <= extra; ++k) {
    const auto b = static_cast<unsigned char>(text[*pos + static_cast<std::size_t>(k)]);
    if ((b & 0xC0) != 0x80) return false;
    *c = *c << 6 | (b & 0x3Fu);
  }
  if (*c < min || *c > 0x10FFFF || IsHigh(*c) || IsLow(*c)) return false;
  *pos += static_cast<std::size_t>(extra) + 1;
  return true;
}

int HexValue(char h) {
  if (h >= '0' && h <= '9') return h - '0';
  if (h >= 'a' && h <= 'f') return h - 'a' + 10;
  if (h >= 'A' && h <= 'F') return h - 'A' + 10;
  return -1;
}

bool ParseHex(std::string_view digits, std::uint32_t* out) {
  *out = 0;
  for (const char h : digits) {
    const int v = HexValue(h);
    if (v < 0) return false;
    *out = *out << 4 | static_cast<std::uint32_t>(v);
  }
  return true;
}

void AppendHexByte(unsigned char b, std::string* out) {
  out->push_back(kHexDigits[b >> 4]);
  out->push_back(kHexDigits[b & 0x0F]);
}

// The escapes shared by both kinds of string; 0 when c has none.
char ShortEscape(std::uint32_t c) {
  switch (c) {
    case '\\': return '\\';
    case '"': return '"';
    case '\r': return 'r';
    case '\n': return 'n';
    case '\t': return 't';
    default: return 0;
  }
}

int ShortUnescape(char e) {
  switch (e) {
    case '\\': return '\\';
    case '"': return '"';
    case 'r': return '\r';
    case 'n': return '\n';
    case 't': return '\t';
    default: return -1;
  }
}

// count hex digits at body[*pos] into *value.
bool TakeHex(std::string_view body, std::size_t* pos, std::size_t count, std::uint32_t* value) {
  if (body.size() - *pos < count || !ParseHex(body.substr(*pos, count), value)) return false;
  *pos += count;
  return true;
}

// Walks the body of a quoted string: raw ASCII, a short escape and the
// string's own escape (the letter, then that many hex digits) go to
// unit(value), any other character to wide(code point).
template <typename Unit, typename Wide>
Problem WalkQuoted(std::string_view quoted, char escape, std::size_t digits, Unit unit, Wide wide) {
  if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') return kNotQuoted;
  const std::string_view body = quoted.substr(1, quoted.size() - 2);
  for (std::size_t pos = 0; pos < body.size();) {
    const auto b = static_cast<unsigned char>(body[pos]);
    if (b == '\\') {
      if (pos + 1 >= body.size()) return kBadEscape;
      const char letter = body[pos + 1];
      const int plain = ShortUnescape(letter);
      std::uint32_t value = static_cast<std::uint32_t>(plain);
      pos += 2;
      if (plain < 0 && (letter != escape || !TakeHex(body, &pos, digits, &value))) return kBadEscape;
      unit(value);
    } else if (b < 0x20 || b == 0x7F || b == '"') {
      return kRawControl;
    } else if (b < 0x80) {
      unit(b);
      ++pos;
    } else {
      std::uint32_t c = 0;
      if (!NextUtf8(body, &pos, &c)) return kBadUtf8;
      if (Problem p = wide(c)) return p;
    }
  }
  return nullptr;
}

// Appends the character of a non-ASCII CP932 character's bytes when it
// converts to exactly one character and back to the same bytes.
bool AppendCharacter(std::string_view character, const Cp932Codec& codec, std::string* out) {
  const std::u16string units = codec.Decode(character);
  std::string back;
  if (units.size() != 1 || units[0] < 0x80 || WrittenAsEscape(units[0]) || !codec.Encode(units, &back) ||
      back != character) {
    return false;
  }
  AppendUtf8(units[0], out);
  return true;
}

}  // namespace

std::string QuoteUnits(std::u16string_view units) {
  std::string out = "\"";
  for (std::size_t i = 0; i < units.size(); ++i) {
    const std::uint32_t u = units[i];
    if (IsHigh(u) && i + 1 < units.size() && IsLow(units[i + 1])) {
      AppendUtf8(0x10000 + ((u - 0xD800) << 10) + (units[++i] - 0xDC00u), &out);
    } else if (const char e = ShortEscape(u)) {
      out += '\\';
      out += e;
    } else if (WrittenAsEscape(u)) {
      out += "\\u";
      AppendHexByte(static_cast<unsigned char>(u >> 8), &out);
      AppendHexByte(static_cast<unsigned char>(u & 0xFF), &out);
    } else {
      AppendUtf8(u, &out);
    }
  }
  return out + '"';
}

Problem UnquoteUnits(std::string_view quoted, std::u16string* out) {
  std::u16string units;
  const Problem p = WalkQuoted(
      quoted, 'u', 4, [&](std::uint32_t u) { units.push_back(static_cast<char16_t>(u)); },
      [&](std::uint32_t c) -> Problem {
        if (c < 0x10000) {
          units.push_back(static_cast<char16_t>(c));
        } else {
          units.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
          units.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
        return nullptr;
      });
  if (!p) *out = std::move(units);
  return p;
}

std::string QuoteMemo(std::string_view bytes, const Cp932Codec& codec) {
  std::string out = "\"";
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    const std::size_t n = IsLeadByte(b) && i + 1 < bytes.size() ? 2 : 1;
    const std::string_view character = bytes.substr(i, n);
    i += n;
    if (const char e = ShortEscape(b)) {
      out += '\\';
      out += e;
    } else if (b < 0x80 && !WrittenAsEscape(b)) {
      out += static_cast<char>(b);
    } else if (b < 0x80 || !AppendCharacter(character, codec, &out)) {
      for (const char c : character) {
        out += "\\x";
        AppendHexByte(static_cast<unsigned char>(c), &out);
      }
    }
  }
  return out + '"';
}

Problem UnquoteMemo(std::string_view quoted, const Cp932Codec& codec, std::string* out) {
  std::string bytes;
  const Problem p = WalkQuoted(
      quoted, 'x', 2, [&](std::uint32_t b) { bytes.push_back(static_cast<char>(b)); },
      [&](std::uint32_t c) -> Problem {
        // Only what the writer puts there: a character whose CP932 bytes
        // convert back to it.
        const std::u16string units(1, static_cast<char16_t>(c));
        std::string character;
        if (c > 0xFFFF || !codec.Encode(units, &character) || character.empty() || character.size() > 2 ||
            static_cast<unsigned char>(character[0]) < 0x80 || codec.Decode(character) != units) {
          return kNotCp932;
        }
        bytes += character;
        return nullptr;
      });
  if (!p) *out = std::move(bytes);
  return p;
}

std::string Hex(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char c : bytes) AppendHexByte(static_cast<unsigned char>(c), &out);
  return out;
}

bool Unhex(std::string_view digits, std::string* out) {
  if (digits.size() % 2 != 0) return false;
  out->assign(digits.size() / 2, '\0');
  for (std::size_t i = 0; i < out->size(); ++i) {
    std::uint32_t b = 0;
    if (!ParseHex(digits.substr(2 * i, 2), &b)) return false;
    (*out)[i] = static_cast<char>(b);
  }
  return true;
}

std::string Hex32(std::uint32_t n) {
  std::string out;
  for (int shift = 24; shift >= 0; shift -= 8) AppendHexByte(static_cast<unsigned char>(n >> shift), &out);
  return out;
}

bool Unhex32(std::string_view digits, std::uint32_t* n) { return digits.size() == 8 && ParseHex(digits, n); }

bool ParseDecimal(std::string_view digits, std::uint64_t max, std::uint64_t* out) {
  if (digits.empty() || digits.size() > 20 || (digits[0] == '0' && digits.size() > 1)) return false;
  std::uint64_t v = 0;
  for (const char d : digits) {
    if (d < '0' || d > '9') return false;
    const auto digit = static_cast<std::uint64_t>(d - '0');
    if (digit > max || v > (max - digit) / 10) return false;
    v = v * 10 + digit;
  }
  *out = v;
  return true;
}

std::uint32_t Crc32(std::uint32_t crc, std::string_view bytes) {
  static const std::array<std::uint32_t, 256> kTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
    return table;
  }();
  crc = ~crc;
  for (const char b : bytes) crc = kTable[(crc ^ static_cast<unsigned char>(b)) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

}  // namespace tabcard::backup_text
