// The backup file: every value and memo byte comes back through the text,
// and a foreign, cut, damaged or malformed file is refused with its reason.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cp932_stand_in.h"
#include "store/backup.h"
#include "store/backup_text.h"

namespace tabcard {
namespace {

using namespace std::string_literals;
using testing::Cp932StandIn;

const Cp932StandIn kCodec;

std::string Dword(std::uint32_t v) {
  return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

Backup Sample() {
  Backup b;
  b.keys = {
      {u"",
       {{u"TabMode", kRegDword, Dword(1)},
        {u"", kRegSz, UnitBytes(u"既定\0"s)},
        {u"名前 \"引用\" \\ 付き", kRegSz, UnitBytes(u"表示≒①\r\n\tタブ\0"s)},
        {u"odd", kRegSz, "a\0b"s},
        {u"unterminated", kRegExpandSz, UnitBytes(u"%PATH%")},
        {u"zeros and halves", kRegSz, UnitBytes(u"a\0b\xD800z\xDC00\U00020BB7\uFEFF\u2028\0"s)},
        {u"multi", 7, UnitBytes(u"one\0two\0\0"s)},
        {u"blob", kRegBinary, "\x00\xFF\x10"s},
        {u"empty", kRegBinary, ""},
        {u"qword", 11, "\x01\x02\x03\x04\x05\x06\x07\x08"s},
        {u"short dword", kRegDword, "\x07\x00"s},
        {u"custom", 0x12345678, "xyz"},
        {u"none", 0, ""}}},
      {u"Config", {}},
      {u"Config\\Memo", {{u"ColCount", kRegDword, Dword(2)}, {u"RowCount", kRegDword, Dword(3)}}},
      {u"氏名\U00020BB7", {}},
  };
  // 表 ends in the byte '\'; 0x8790 and 0x81E0 are both ≒; a lone lead ends it.
  b.memos = {{0, "表\x87\x90\x81\xE0\r\n\t\"q\" \\ あ\x87\x40ｱ\0\x01\x7F\x80\xFF\x82"s}, {5, ""}};
  return b;
}

TEST(BackupFormat, EveryValueAndMemoComesBackByteForByte) {
  const Backup sample = Sample();
  const std::string file = WriteBackup(sample, kCodec);
  Backup back;
  std::string reason;
  ASSERT_TRUE(ReadBackup(file, kCodec, &back, &reason)) << reason;
  EXPECT_EQ(back, sample);

  // Readable where that is exact, escaped where it is not.
  for (const char* line :
       {u8"\r\nkey \"Config\" \"Memo\"\r\n", u8"\r\nvalue \"TabMode\" REG_DWORD 1\r\n",
        u8R"(value "名前 \"引用\" \\ 付き" REG_SZ "表示≒①\r\n\tタブ")", u8R"(value "odd" REG_SZ hex:610062)",
        u8R"(value "zeros and halves" REG_SZ "a\u0000b\uD800z\uDC00𠮷\uFEFF\u2028")",
        u8R"(value "custom" 0x12345678 hex:78797A)", u8R"(key "氏名𠮷")",
        u8R"(memo 0 "表\x87\x90≒\r\n\t\"q\" \\ あ①ｱ\x00\x01\x7F\x80\xFF\x82")"}) {
    EXPECT_NE(file.find(line), std::string::npos) << line;
  }

  // Without the BOM and with LF line ends it reads the same.
  std::string lf;
  for (const char c : file.substr(3)) {
    if (c != '\r') lf += c;
  }
  Backup fromLf;
  ASSERT_TRUE(ReadBackup(lf, kCodec, &fromLf, &reason)) << reason;
  EXPECT_EQ(fromLf, sample);
}

TEST(BackupFormat, AFileCutAnywhereIsRefused) {
  const std::string file = WriteBackup(Sample(), kCodec);
  const std::size_t headerRead = file.find('\r');
  for (std::size_t n = 0; n < file.size(); ++n) {
    Backup back;
    std::string reason;
    ASSERT_FALSE(ReadBackup(file.substr(0, n), kCodec, &back, &reason)) << n;
    EXPECT_NE(reason.find(n >= headerRead ? "途中で切れています" : "バックアップファイルではありません"),
              std::string::npos)
        << n;
  }
}

// A file whose end line fits its lines, so the check under test is the one
// that refuses it.
std::string Sealed(const std::vector<std::string>& records, std::string header = "Tabcard backup 1",
                   int extraCount = 0) {
  std::string text = header + "\n";
  std::uint32_t crc = backup_text::Crc32(backup_text::Crc32(0, header), "\n");
  for (const std::string& line : records) {
    text += line + "\n";
    crc = backup_text::Crc32(backup_text::Crc32(crc, line), "\n");
  }
  return text + "end " + std::to_string(records.size() + extraCount) + " " + backup_text::Hex32(crc) + "\n";
}

struct Refusal {
  const char* name;
  std::string file;
  const char* says;  // part of the reason, CP932
};

std::vector<Refusal> Refusals() {
  const std::vector<std::string> memoPage = {"key", R"(key "Config")", R"(key "Config" "Memo")",
                                             R"(value "ColCount" REG_DWORD 2)",
                                             R"(value "RowCount" REG_DWORD 3)"};
  std::vector<std::string> beyondPage = memoPage;
  beyondPage.push_back(R"(memo 6 "")");
  std::string damaged = Sealed({"key", R"(value "a" REG_DWORD 1)"});
  damaged.replace(damaged.find("REG_DWORD 1"), 11, "REG_DWORD 2");
  return {
      {"empty", "", "バックアップファイルではありません"},
      {"foreign", "hello\r\nend 0 00000000\r\n", "バックアップファイルではありません"},
      {"newer_version", Sealed({}, "Tabcard backup 2"), "（版 2）には対応していません"},
      {"changed_byte", damaged, "壊れています"},
      {"line_count", Sealed({"key"}, "Tabcard backup 1", 1), "壊れています"},
      {"unknown_type", Sealed({"key", R"(value "a" REG_TEXT 1)"}), "3 行目: 値の種類が不明です"},
      {"named_type_as_number", Sealed({"key", R"(value "a" 0x00000004 1)"}), "3 行目: 値の種類が不明です"},
      {"duplicate_value", Sealed({"key", R"(value "Top" REG_DWORD 1)", R"(value "TOP" REG_DWORD 2)"}),
       "4 行目: 同じ名前の値がすでにあります"},
      {"duplicate_key", Sealed({"key", R"(key "A")", R"(key "a")"}), "4 行目: 同じキーがすでにあります"},
      {"duplicate_product_key", Sealed({"key", "key"}), "3 行目: 同じキーがすでにあります"},
      {"child_before_parent", Sealed({"key", R"(key "A" "B")"}), "3 行目: 親のキーより前にあります"},
      {"product_key_not_first", Sealed({R"(key "A")"}), "2 行目: 親のキーより前にあります"},
      {"value_before_key", Sealed({R"(value "a" REG_DWORD 1)"}), "2 行目: 値がキーより前にあります"},
      {"duplicate_memo", Sealed({R"(memo 1 "a")", R"(memo 1 "b")"}),
       "3 行目: 同じ番号のメモがすでにあります"},
      {"memo_beyond_10_slots", Sealed({R"(memo 10 "")"}), "2 行目: メモの番号が範囲外です"},
      {"memo_beyond_its_page", Sealed(beyondPage), "7 行目: メモの番号が範囲外です"},
      {"memo_slot_not_a_number", Sealed({R"(memo 01 "")"}), "2 行目: メモの番号が正しくありません"},
      {"key_after_memo", Sealed({R"(memo 0 "")", "key"}), "3 行目: メモのあとにキーや値があります"},
      {"unknown_escape", Sealed({"key", R"(value "a\q" REG_DWORD 1)"}),
       "3 行目: エスケープが正しくありません"},
      {"short_unit_escape", Sealed({"key", R"(value "\u12" REG_DWORD 1)"}), "エスケープが正しくありません"},
      {"unit_escape_in_memo", Sealed({R"(memo 0 "\u3042")"}), "エスケープが正しくありません"},
      {"invalid_utf8", Sealed({"key", "value \"\xFF\" REG_DWORD 1"}), "UTF-8 として正しくない"},
      {"utf8_surrogate", Sealed({"key", "value \"\xED\xA0\x80\" REG_DWORD 1"}), "UTF-8 として正しくない"},
      {"raw_tab", Sealed({"key", "value \"a\tb\" REG_DWORD 1"}), "制御文字"},
      {"memo_character_not_in_cp932", Sealed({u8"memo 0 \"é\""}), "2 行目: Shift-JIS にない文字があります"},
      {"string_for_dword", Sealed({"key", R"(value "a" REG_DWORD "1")"}), "値のデータが正しくありません"},
      {"number_for_string", Sealed({"key", R"(value "a" REG_SZ 1)"}), "値のデータが正しくありません"},
      {"dword_too_large", Sealed({"key", R"(value "a" REG_DWORD 4294967296)"}),
       "値のデータが正しくありません"},
      {"odd_hex", Sealed({"key", R"(value "a" REG_BINARY hex:123)"}), "値のデータが正しくありません"},
      {"double_space", Sealed({"key", R"(value "a"  REG_DWORD 1)"}), "3 行目: 区切りが正しくありません"},
      {"trailing_space", Sealed({"key "}), "2 行目: 区切りが正しくありません"},
      {"unclosed_quote", Sealed({R"(memo 0 "\")"}), "2 行目: 区切りが正しくありません"},
      {"unknown_line", Sealed({"comment"}), "2 行目: 行の種類が不明です"},
      {"missing_data", Sealed({"key", R"(value "a" REG_DWORD)"}), "3 行目: 項目の数が正しくありません"},
      {"backslash_in_key_name", Sealed({"key", R"(key "A\\B")"}), "3 行目: キーの名前が正しくありません"},
      {"empty_key_name", Sealed({"key", R"(key "")"}), "3 行目: キーの名前が正しくありません"},
      {"zero_in_value_name", Sealed({"key", R"(value "a\u0000" REG_DWORD 1)"}),
       "3 行目: 値の名前が正しくありません"},
  };
}

TEST(BackupFormat, RefusedFilesSayWhyAndChangeNothing) {
  ASSERT_EQ(backup_text::Crc32(0, "123456789"), 0xCBF43926u);  // the zip CRC
  Backup accepted;
  std::string reason;
  ASSERT_TRUE(ReadBackup(Sealed({"key", R"(value "Top" REG_DWORD 1)", R"(key "A")",
                                 R"(value "Top" REG_DWORD 2)", R"(memo 9 "")"}),
                         kCodec, &accepted, &reason))
      << reason;
  for (const Refusal& r : Refusals()) {
    Backup out = accepted;
    reason.clear();
    EXPECT_FALSE(ReadBackup(r.file, kCodec, &out, &reason)) << r.name;
    EXPECT_NE(reason.find(r.says), std::string::npos) << r.name << ": " << reason;
    EXPECT_EQ(out, accepted) << r.name;
  }
}

}  // namespace
}  // namespace tabcard
