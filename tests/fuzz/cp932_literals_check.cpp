// The clang build compiles CP932 copies of the sources: known literals of the
// product must hold the bytes GCC's -fexec-charset=CP932 gives them. ソ ends
// in 0x5C, the byte that pasting raw CP932 into a literal would break.
#include <cstdio>
#include <string>

#include "core/integer_text.h"
#include "store/catalogue.h"
#include "store/layout.h"

int main() {
  using namespace tabcard;
  std::string convertError;
  try {
    StrToInt("x");
  } catch (const ConvertError& e) {
    convertError = e.what();
  }
  struct Case {
    const char* what;
    std::string got;
    std::string expected;
  };
  const Case cases[] = {
      {"catalogue name", kCatalogue[0].name, "\x8e\x81\x96\xbc"},
      {"half-width page caption", kPageCaptions[kPageList], "\xd8\xbd\xc4"},
      {"katakana table (trail byte 0x5C)", ToKatakana("\x82\xbb"), "\x83\x5c"},
      {"standard user", StandardUserName(0), "\x82\x74\x82\x72\x82\x64\x82\x71\x82\x50"},
      {"standard font", StandardFont(true).name,
       "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e"},
      {"message", convertError,
       "'x' \x82\xcd\x90\xae\x90\x94\x82\xc5\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1"},
  };
  int failed = 0;
  for (const Case& c : cases) {
    if (c.got == c.expected) continue;
    std::fprintf(stderr, "%s: bytes differ from the GCC build\n", c.what);
    ++failed;
  }
  std::printf("%d of %zu literals as GCC compiles them\n", static_cast<int>(std::size(cases)) - failed,
              std::size(cases));
  return failed == 0 ? 0 : 1;
}
