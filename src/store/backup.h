// Backup files: everything Tabcard keeps, in one text file a person can read
// and that restores every byte exactly.
//
// A backup holds every key below HKEY_CURRENT_USER\Software\orrery\Tabcard
// (the product key) with all its values, whatever their names and types,
// and the bytes of the memo files MemoNNN.txt of the memo page's slots
// (0 .. ColCount * RowCount - 1 of Config\Memo; 10 slots when those are not
// stored, as the memo editor counts them).
//
// The file, format 1: UTF-8 (the writer puts a BOM first, a reader takes it
// or not), one record a line, lines ending in CRLF (LF alone is read too),
// fields separated by one space.
//
//   Tabcard backup 1
//   key
//   value "TabMode" REG_DWORD 1
//   key "Config"
//   key "Config" "Memo"
//   value "FontName" REG_SZ "ＭＳ Ｐゴシック"
//   value "Odd" REG_SZ hex:610062
//   memo 0 "会議は10時\r\n場所\x87\x90未定"
//   end 7 40D680AF
//
// - The header names the format and its version.
// - key: the key's path below the product key, one quoted name a level;
//   "key" alone is the product key itself. The product key comes first and
//   every key after its parent. A backup of a store that has no product key
//   holds no key.
// - value: name, type, data; it belongs to the key line above it. Types are
//   REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD,
//   REG_DWORD_BIG_ENDIAN, REG_LINK, REG_MULTI_SZ, REG_RESOURCE_LIST,
//   REG_FULL_RESOURCE_DESCRIPTOR, REG_RESOURCE_REQUIREMENTS_LIST, REG_QWORD
//   (0-11); any other type number is 0x and 8 hex digits. Data is one of
//     a quoted string (the string types, 1, 2, 6 and 7): the UTF-16 units
//       before the data's last unit, which must be zero;
//     a decimal number (REG_DWORD): its four bytes, little-endian;
//     hex: and two hex digits a byte (any type): the bytes as they are,
//   the first that fits the bytes exactly.
// - memo: the slot number, then the file's bytes as a memo string. Memo
//   lines follow all keys; a slot lies within the backup's own memo page.
// - end: the number of key, value and memo lines, and the CRC-32 (as zip
//   computes it, 8 hex digits) of every line before it from the header on,
//   each without its line end and followed by one LF. A file cut anywhere
//   lacks this line or the line end after it.
//
// Strings are quoted. Names and string data are UTF-16 units: characters in
// UTF-8, \\ \" \r \n \t, and \uXXXX for any one unit (a control or private
// use character, a surrogate without its partner, a zero). Memo strings are
// CP932 bytes: a character Windows converts to one Unicode character and
// back to the same bytes is that character in UTF-8, \\ \" \r \n \t stand
// for their ASCII bytes, and \xHH for any other byte (a control byte, a byte
// that is no character, an NEC or IBM duplicate such as 0x8790, which would
// come back as 0x81E0).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/registry.h"

namespace tabcard {

// A key with its path below the product key ("" for the product key,
// levels separated by '\\') and its values in the registry's order.
struct BackupKey {
  std::u16string path;
  std::vector<RawValue> values;
};

struct BackupMemo {
  int slot = 0;
  std::string bytes;  // the file's CP932 bytes, exactly
};

struct Backup {
  std::vector<BackupKey> keys;    // the product key first, parents before children
  std::vector<BackupMemo> memos;  // only files that exist
};

bool operator==(const BackupKey& a, const BackupKey& b);
bool operator==(const BackupMemo& a, const BackupMemo& b);
bool operator==(const Backup& a, const Backup& b);
inline bool operator!=(const Backup& a, const Backup& b) { return !(a == b); }

// CP932 as Windows converts it (code page 932), for memo strings. The Win32
// build passes WindowsCp932() (backup_win.h); tests pass a small stand-in.
class Cp932Codec {
 public:
  virtual ~Cp932Codec() = default;
  // The UTF-16 of one character's bytes (one or two); empty when they are
  // no character.
  virtual std::u16string Decode(std::string_view character) const = 0;
  // The CP932 bytes of text; false when a character has none (no best fit).
  virtual bool Encode(std::u16string_view text, std::string* bytes) const = 0;
};

// A file larger than this is refused before it is read.
constexpr std::size_t kMaxBackupFileBytes = 256u << 20;

// The file's text, BOM and CRLF line ends included.
std::string WriteBackup(const Backup& backup, const Cp932Codec& codec);

// Reads a whole file. Checks everything before it returns: a foreign,
// cut, damaged or malformed file is refused with a reason for the user
// (CP932, naming the line where there is one) and *out is left untouched.
bool ReadBackup(std::string_view file, const Cp932Codec& codec, Backup* out, std::string* reason);

// The memo slots the backup's memo page has: its Config\Memo ColCount times
// RowCount (DWORDs, each kept within 1..256), or 10 when either is missing.
int BackupMemoSlots(const Backup& backup);

}  // namespace tabcard
