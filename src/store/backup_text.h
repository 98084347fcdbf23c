// The text forms of a backup file's fields: quoted UTF-16 strings, memo
// strings of CP932 bytes, hex bytes, and the file's CRC-32. The format is
// described in backup.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "store/backup.h"

namespace tabcard::backup_text {

// Why a field could not be read, for the user; nullptr when it was read.
using Problem = const char*;

std::string QuoteUnits(std::u16string_view units);
// quoted includes its quotes.
Problem UnquoteUnits(std::string_view quoted, std::u16string* out);

std::string QuoteMemo(std::string_view bytes, const Cp932Codec& codec);
Problem UnquoteMemo(std::string_view quoted, const Cp932Codec& codec, std::string* out);

std::string Hex(std::string_view bytes);
bool Unhex(std::string_view digits, std::string* out);
// A number as exactly 8 hex digits.
std::string Hex32(std::uint32_t n);
bool Unhex32(std::string_view digits, std::uint32_t* n);

// Decimal digits without leading zeros, at most max.
bool ParseDecimal(std::string_view digits, std::uint64_t max, std::uint64_t* out);

std::uint32_t Crc32(std::uint32_t crc, std::string_view bytes);

}  // namespace tabcard::backup_text
