#include "core/integer_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

namespace tabcard {
namespace {

TEST(OptionIntegerTextTest, AcceptsBlanksSignAndHexadecimalAndNothingAfter) {
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  const struct {
    const char* text;
    std::optional<std::int32_t> value;
  } cases[] = {
      {"12", 12},           {"  -7", -7},         {"+007", 7},
      {"$1e", 30},          {"-0x1F", -31},       {"0X10", 16},
      {"$FFFFFFFF", -1},    {"2147483647", std::numeric_limits<std::int32_t>::max()},
      {"-2147483648", kMin}, {"2147483648", {}},  {"$100000000", {}},
      {"", {}},             {" ", {}},            {"12 ", {}},
      {"1 2", {}},          {"- 1", {}},          {"$", {}},
      {"0x", {}},           {"1.5", {}},          {"１２", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseInteger(c.text), c.value) << '"' << c.text << '"';
  }
}

}  // namespace
}  // namespace tabcard
