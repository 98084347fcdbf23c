// What the fuzz targets share: a check that stops the run on a broken
// property, a reader of the fuzzed bytes, the CP932 character boundaries of
// a text and a private working directory for memo files.
#pragma once

#include <dirent.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// A broken property is a finding, like a crash: libFuzzer saves the input.
#define FUZZ_CHECK(cond)                                                           \
  do {                                                                             \
    if (!(cond)) {                                                                 \
      std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #cond);      \
      std::abort();                                                                \
    }                                                                              \
  } while (0)

namespace tabcard::fuzz {

// Reads the input from the front; past its end every read gives zeros.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Empty() const { return pos_ >= size_; }
  std::uint8_t U8() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::uint16_t U16() { return static_cast<std::uint16_t>(U8() | (U8() << 8)); }
  std::uint32_t U32() { return U16() | (static_cast<std::uint32_t>(U16()) << 16); }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  std::string Bytes(std::size_t n) {
    const std::size_t take = n < size_ - pos_ ? n : size_ - pos_;
    std::string out(reinterpret_cast<const char*>(data_ + (pos_ < size_ ? pos_ : size_)),
                    pos_ < size_ ? take : 0);
    pos_ += out.size();
    return out;
  }
  std::string Rest() { return Bytes(size_); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// Where characters start in CP932 text: a lead byte followed by a valid trail
// byte is one character, any other byte stands alone. boundary[i] tells
// whether a cut before byte i keeps every character whole (i in 0..size).
inline std::vector<bool> CharBoundaries(std::string_view text) {
  auto lead = [](unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); };
  auto trail = [](unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; };
  std::vector<bool> boundary(text.size() + 1, true);
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (lead(static_cast<unsigned char>(text[i])) && trail(static_cast<unsigned char>(text[i + 1]))) {
      boundary[++i] = false;
    }
  }
  return boundary;
}

inline bool EndsWhole(std::string_view text, std::size_t cut) { return CharBoundaries(text)[cut]; }

// Memo files live in the current directory: each target works in a fresh
// one below TABCARD_FUZZ_TMP (or /tmp), removed again at exit.
inline std::string& ScratchDirectory() {
  static std::string dir;
  return dir;
}

inline void RemoveScratchDirectory() {
  const std::string& dir = ScratchDirectory();
  if (DIR* d = ::opendir(dir.c_str())) {
    while (const dirent* e = ::readdir(d)) {
      if (e->d_name[0] != '.') ::unlink((dir + "/" + e->d_name).c_str());
    }
    ::closedir(d);
  }
  ::rmdir(dir.c_str());
}

inline void EnterScratchDirectory() {
  const char* base = std::getenv("TABCARD_FUZZ_TMP");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/tabcard-fuzz-XXXXXX";
  if (!::mkdtemp(pattern.data()) || ::chdir(pattern.c_str()) != 0) std::abort();
  ScratchDirectory() = pattern;
  std::atexit(RemoveScratchDirectory);
}

}  // namespace tabcard::fuzz
