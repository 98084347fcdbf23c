// Fuzzed backup files through ReadBackup: whatever it accepts, written again
// and read back, is the same backup, and the second writing is the first;
// any cut of a written file is refused.
//
// Input: flags (1 byte), cut (2 bytes), then the file. Flag bit 0 seals the
// file: the harness appends the end line (count and CRC) that its lines call
// for, so the search reaches the records instead of stopping at the check.
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "store/backup.h"
#include "store/backup_text.h"

namespace tabcard {
namespace {

// A stand-in for code page 932 with one row of duplicates: half-width
// katakana, and double-byte characters as U+4E00 on by their place in the
// code table, where lead byte 0x87 reads like 0x81, which is what those
// characters convert back to. Other bytes are no character.
class FuzzCodec : public Cp932Codec {
 public:
  std::u16string Decode(std::string_view c) const override {
    const auto lead = static_cast<unsigned char>(c[0]);
    if (c.size() == 1) {
      if (lead < 0x80) return std::u16string(1, lead);
      if (lead >= 0xA1 && lead <= 0xDF) return std::u16string(1, static_cast<char16_t>(0xFF61 + lead - 0xA1));
      return {};
    }
    if (c.size() != 2) return {};
    const int row = LeadRow(lead == 0x87 ? 0x81 : lead);
    const int cell = TrailCell(static_cast<unsigned char>(c[1]));
    if (row < 0 || cell < 0) return {};
    return std::u16string(1, static_cast<char16_t>(kFirst + row * kCells + cell));
  }

  bool Encode(std::u16string_view text, std::string* bytes) const override {
    bytes->clear();
    for (const char16_t u : text) {
      if (u < 0x80) {
        bytes->push_back(static_cast<char>(u));
      } else if (u >= 0xFF61 && u <= 0xFF9F) {
        bytes->push_back(static_cast<char>(u - 0xFF61 + 0xA1));
      } else if (u >= kFirst && u < kFirst + 60 * kCells && (u - kFirst) / kCells != LeadRow(0x87)) {
        const int row = (u - kFirst) / kCells;
        const int cell = (u - kFirst) % kCells;
        bytes->push_back(static_cast<char>(row < 31 ? 0x81 + row : 0xE0 + row - 31));
        bytes->push_back(static_cast<char>(cell < 63 ? 0x40 + cell : 0x80 + cell - 63));
      } else {
        return false;
      }
    }
    return true;
  }

 private:
  static constexpr int kFirst = 0x4E00;
  static constexpr int kCells = 188;
  static int LeadRow(unsigned char b) {
    if (b >= 0x81 && b <= 0x9F) return b - 0x81;
    return b >= 0xE0 && b <= 0xFC ? b - 0xE0 + 31 : -1;
  }
  static int TrailCell(unsigned char b) {
    if (b >= 0x40 && b <= 0x7E) return b - 0x40;
    return b >= 0x80 && b <= 0xFC ? b - 0x80 + 63 : -1;
  }
};

// The end line the file's lines call for, after a last line end.
std::string Sealed(std::string text) {
  if (text.empty() || text.back() != '\n') text += '\n';
  std::size_t lines = 0;
  std::uint32_t crc = 0;
  const std::size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  for (std::size_t pos = start; pos < text.size(); ++lines) {
    const std::size_t end = text.find('\n', pos);
    std::string_view line(text.data() + pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    crc = backup_text::Crc32(backup_text::Crc32(crc, line), "\n");
    pos = end + 1;
  }
  return text + "end " + std::to_string(lines - 1) + " " + backup_text::Hex32(crc) + "\n";
}

}  // namespace
}  // namespace tabcard

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tabcard;
  static const FuzzCodec codec;
  fuzz::ByteReader in(data, size);
  const std::uint8_t flags = in.U8();
  const std::uint16_t cut = in.U16();
  std::string file = in.Rest();
  if (flags & 1) file = Sealed(std::move(file));

  Backup read;
  std::string reason;
  if (!ReadBackup(file, codec, &read, &reason)) {
    FUZZ_CHECK(!reason.empty());
    return 0;
  }
  const std::string written = WriteBackup(read, codec);
  Backup again;
  FUZZ_CHECK(ReadBackup(written, codec, &again, &reason));
  FUZZ_CHECK(again == read);
  FUZZ_CHECK(WriteBackup(again, codec) == written);
  Backup unused;
  FUZZ_CHECK(!ReadBackup(std::string_view(written).substr(0, cut % written.size()), codec, &unused, &reason));
  return 0;
}
