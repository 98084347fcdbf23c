// The integer conversion of what a user types into a number box: blanks,
// an optional sign, then decimal digits, or hexadecimal ones after "$" or
// "0x"; nothing may follow. A decimal number must fit a signed 32-bit
// integer; a hexadecimal one may use all 32 bits ("$FFFFFFFF" is -1).
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace tabcard {

std::optional<std::int32_t> ParseInteger(std::string_view text);

// What StrToInt throws for text that is not an integer; what() is the CP932
// message "'text' は整数ではありません", for the application's error display.
class ConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::int32_t StrToInt(std::string_view text);

}  // namespace tabcard
