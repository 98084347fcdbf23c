// Files of the source tree (resources the program builds in), reached from a
// test under Wine or on Windows.
#pragma once

#include <string>

namespace tabcard {

inline std::wstring SourcePath(const char* relative) {
  const std::string path = std::string(TABCARD_SOURCE_DIR) + relative;
  std::wstring wide(path.begin(), path.end());
  for (auto& c : wide) {
    if (c == L'/') c = L'\\';
  }
  return wide[0] == L'\\' ? L"Z:" + wide : wide;
}

}  // namespace tabcard
