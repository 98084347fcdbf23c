// Writing and reading the backup file described in backup.h.
#include <algorithm>
#include <array>
#include <cstring>
#include <set>

#include "store/backup.h"
#include "store/backup_text.h"
#include "store/layout.h"

namespace tabcard {

using namespace backup_text;

namespace {

constexpr char kHeader[] = "Tabcard backup ";
constexpr std::uint64_t kVersion = 1;
constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr char kHexPrefix[] = "hex:";
// The longest key and value names the registry takes.
constexpr std::size_t kMaxKeyName = 255;
constexpr std::size_t kMaxValueName = 16383;

constexpr std::array<const char*, 12> kTypeNames = {"REG_NONE",
                                                    "REG_SZ",
                                                    "REG_EXPAND_SZ",
                                                    "REG_BINARY",
                                                    "REG_DWORD",
                                                    "REG_DWORD_BIG_ENDIAN",
                                                    "REG_LINK",
                                                    "REG_MULTI_SZ",
                                                    "REG_RESOURCE_LIST",
                                                    "REG_FULL_RESOURCE_DESCRIPTOR",
                                                    "REG_RESOURCE_REQUIREMENTS_LIST",
                                                    "REG_QWORD"};

constexpr char kNotBackup[] = "Tabcard のバックアップファイルではありません。";
constexpr char kTooLarge[] = "バックアップファイルが大きすぎます。";
constexpr char kCut[] = "バックアップファイルが途中で切れています。";
constexpr char kDamaged[] = "バックアップファイルが壊れています（検査値が内容と一致しません）。";

constexpr Problem kBadFields = "区切りが正しくありません";
constexpr Problem kUnknownLine = "行の種類が不明です";
constexpr Problem kFieldCount = "項目の数が正しくありません";
constexpr Problem kBadKeyName = "キーの名前が正しくありません";
constexpr Problem kNoParent = "親のキーより前にあります";
constexpr Problem kDuplicateKey = "同じキーがすでにあります";
constexpr Problem kNoKey = "値がキーより前にあります";
constexpr Problem kAfterMemo = "メモのあとにキーや値があります";
constexpr Problem kBadValueName = "値の名前が正しくありません";
constexpr Problem kUnknownType = "値の種類が不明です";
constexpr Problem kBadData = "値のデータが正しくありません";
constexpr Problem kDuplicateValue = "同じ名前の値がすでにあります";
constexpr Problem kBadSlot = "メモの番号が正しくありません";
constexpr Problem kSlotOutOfRange = "メモの番号が範囲外です";
constexpr Problem kDuplicateSlot = "同じ番号のメモがすでにあります";

bool IsStringType(std::uint32_t type) { return type == 1 || type == 2 || type == 6 || type == 7; }

std::uint32_t LittleEndian(std::string_view four) {
  std::uint32_t v = 0;
  for (std::size_t i = 4; i-- > 0;) v = v << 8 | static_cast<unsigned char>(four[i]);
  return v;
}

std::string TypeField(std::uint32_t type) {
  if (type < kTypeNames.size()) return kTypeNames[type];
  return "0x" + Hex32(type);
}

bool ParseType(std::string_view field, std::uint32_t* type) {
  const auto named = std::find(kTypeNames.begin(), kTypeNames.end(), field);
  if (named != kTypeNames.end()) {
    *type = static_cast<std::uint32_t>(named - kTypeNames.begin());
    return true;
  }
  return field.substr(0, 2) == "0x" && Unhex32(field.substr(2), type) && *type >= kTypeNames.size();
}

std::string DataField(const RawValue& v) {
  const std::size_t n = v.data.size();
  if (IsStringType(v.type) && n >= 2 && n % 2 == 0 && v.data[n - 2] == '\0' && v.data[n - 1] == '\0') {
    return QuoteUnits(BytesUnits(std::string_view(v.data).substr(0, n - 2)));
  }
  if (v.type == kRegDword && n == 4) return std::to_string(LittleEndian(v.data));
  return kHexPrefix + Hex(v.data);
}

Problem ParseData(std::string_view field, std::uint32_t type, std::string* data) {
  if (!field.empty() && field[0] == '"') {
    if (!IsStringType(type)) return kBadData;
    std::u16string units;
    if (Problem p = UnquoteUnits(field, &units)) return p;
    *data = UnitBytes(units + u'\0');
    return nullptr;
  }
  if (field.substr(0, std::strlen(kHexPrefix)) == kHexPrefix) {
    return Unhex(field.substr(std::strlen(kHexPrefix)), data) ? nullptr : kBadData;
  }
  std::uint64_t n = 0;
  if (type != kRegDword || !ParseDecimal(field, 0xFFFFFFFFu, &n)) return kBadData;
  data->assign(4, '\0');
  for (std::size_t i = 0; i < 4; ++i) (*data)[i] = static_cast<char>(n >> (8 * i));
  return nullptr;
}

std::vector<std::u16string_view> PathNames(std::u16string_view path) {
  std::vector<std::u16string_view> names;
  for (std::size_t pos = 0; !path.empty();) {
    const std::size_t end = std::min(path.find(u'\\', pos), path.size());
    names.push_back(path.substr(pos, end - pos));
    if (end == path.size()) break;
    pos = end + 1;
  }
  return names;
}

// Splits a line at single spaces; a quoted field may hold spaces. False for
// an empty field, a doubled or trailing space, or an unclosed quote.
bool SplitFields(std::string_view line, std::vector<std::string_view>* fields) {
  fields->clear();
  for (std::size_t pos = 0;;) {
    if (pos >= line.size()) return false;
    std::size_t end = pos;
    if (line[pos] == '"') {
      for (++end; end < line.size() && line[end] != '"';) end += line[end] == '\\' ? 2 : 1;
      if (end++ >= line.size()) return false;
    } else {
      end = std::min(line.find(' ', pos), line.size());
      if (end == pos) return false;
    }
    fields->push_back(line.substr(pos, end - pos));
    if (end == line.size()) return true;
    if (line[end] != ' ') return false;
    pos = end + 1;
  }
}

// The lines without their ends (LF, or CRLF).
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t end = std::min(text.find('\n', pos), text.size());
    std::string_view line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    pos = end + 1;
  }
  return lines;
}

std::uint32_t LinesCrc(const std::vector<std::string_view>& lines, std::size_t count) {
  std::uint32_t crc = 0;
  for (std::size_t i = 0; i < count; ++i) crc = Crc32(Crc32(crc, lines[i]), "\n");
  return crc;
}

// The records, checked as they come; a key's values and the memos as sets.
class Parser {
 public:
  explicit Parser(const Cp932Codec& codec) : codec_(codec) {}

  Problem Line(std::string_view line) {
    if (!SplitFields(line, &fields_)) return kBadFields;
    if (fields_[0] == "key") return Key();
    if (fields_[0] == "value") return Value();
    if (fields_[0] == "memo") return Memo();
    return kUnknownLine;
  }

  Backup& backup() { return backup_; }

 private:
  Problem Key() {
    if (inMemos_) return kAfterMemo;
    std::u16string path;
    for (std::size_t i = 1; i < fields_.size(); ++i) {
      std::u16string name;
      if (Problem p = UnquoteUnits(fields_[i], &name)) return p;
      if (name.empty() || name.size() > kMaxKeyName || name.find(u'\\') != std::u16string::npos ||
          name.find(u'\0') != std::u16string::npos) {
        return kBadKeyName;
      }
      if (i > 1) path += u'\\';
      path += name;
    }
    const std::u16string folded = FoldAsciiCase(path);
    if (keys_.count(folded)) return kDuplicateKey;
    const std::size_t cut = folded.rfind(u'\\');
    const std::u16string parent = cut == std::u16string::npos ? u"" : folded.substr(0, cut);
    if (!path.empty() && !keys_.count(parent)) return kNoParent;
    keys_.insert(folded);
    names_.clear();
    backup_.keys.push_back(BackupKey{std::move(path), {}});
    return nullptr;
  }

  Problem Value() {
    if (inMemos_) return kAfterMemo;
    if (backup_.keys.empty()) return kNoKey;
    if (fields_.size() != 4) return kFieldCount;
    RawValue v;
    if (Problem p = UnquoteUnits(fields_[1], &v.name)) return p;
    if (v.name.size() > kMaxValueName || v.name.find(u'\0') != std::u16string::npos) return kBadValueName;
    if (!ParseType(fields_[2], &v.type)) return kUnknownType;
    if (Problem p = ParseData(fields_[3], v.type, &v.data)) return p;
    if (!names_.insert(FoldAsciiCase(v.name)).second) return kDuplicateValue;
    backup_.keys.back().values.push_back(std::move(v));
    return nullptr;
  }

  Problem Memo() {
    if (fields_.size() != 3) return kFieldCount;
    if (!inMemos_) memoSlots_ = static_cast<std::uint64_t>(BackupMemoSlots(backup_));
    inMemos_ = true;
    std::uint64_t slot = 0;
    if (!ParseDecimal(fields_[1], 0xFFFFFFFFu, &slot)) return kBadSlot;
    if (slot >= memoSlots_) return kSlotOutOfRange;
    if (!slots_.insert(slot).second) return kDuplicateSlot;
    BackupMemo memo;
    memo.slot = static_cast<int>(slot);
    if (Problem p = UnquoteMemo(fields_[2], codec_, &memo.bytes)) return p;
    backup_.memos.push_back(std::move(memo));
    return nullptr;
  }

  const Cp932Codec& codec_;
  Backup backup_;
  std::vector<std::string_view> fields_;
  std::set<std::u16string> keys_;   // folded paths
  std::set<std::u16string> names_;  // folded names of the last key's values
  std::set<std::uint64_t> slots_;
  bool inMemos_ = false;
  std::uint64_t memoSlots_ = 0;
};

// The header names this format and version 1.
bool CheckHeader(const std::vector<std::string_view>& lines, std::string* reason) {
  const std::string_view prefix = kHeader;
  std::uint64_t version = 0;
  if (lines.empty() || lines[0].substr(0, prefix.size()) != prefix ||
      !ParseDecimal(lines[0].substr(prefix.size()), 0xFFFFFFFFu, &version)) {
    *reason = kNotBackup;
    return false;
  }
  if (version == kVersion) return true;
  *reason = "このバックアップファイルの形式（版 " + std::to_string(version) + "）には対応していません。";
  return false;
}

// The end line is last, after a line end of its own, and matches the count
// and check value of the lines before it.
bool CheckEnd(std::string_view text, const std::vector<std::string_view>& lines, std::string* reason) {
  std::vector<std::string_view> fields;
  std::uint64_t count = 0;
  std::uint32_t crc = 0;
  if (text.empty() || text.back() != '\n' || lines.size() < 2 || !SplitFields(lines.back(), &fields) ||
      fields.size() != 3 || fields[0] != "end" || !ParseDecimal(fields[1], ~std::uint64_t{0}, &count) ||
      !Unhex32(fields[2], &crc)) {
    *reason = kCut;
    return false;
  }
  const std::size_t before = lines.size() - 1;
  if (count != before - 1 || crc != LinesCrc(lines, before)) {
    *reason = kDamaged;
    return false;
  }
  return true;
}

}  // namespace

bool operator==(const BackupKey& a, const BackupKey& b) { return a.path == b.path && a.values == b.values; }
bool operator==(const BackupMemo& a, const BackupMemo& b) { return a.slot == b.slot && a.bytes == b.bytes; }
bool operator==(const Backup& a, const Backup& b) { return a.keys == b.keys && a.memos == b.memos; }

std::string WriteBackup(const Backup& backup, const Cp932Codec& codec) {
  std::vector<std::string> lines = {kHeader + std::to_string(kVersion)};
  for (const BackupKey& key : backup.keys) {
    std::string line = "key";
    for (const std::u16string_view name : PathNames(key.path)) line += ' ' + QuoteUnits(name);
    lines.push_back(std::move(line));
    for (const RawValue& v : key.values) {
      lines.push_back("value " + QuoteUnits(v.name) + ' ' + TypeField(v.type) + ' ' + DataField(v));
    }
  }
  for (const BackupMemo& memo : backup.memos) {
    lines.push_back("memo " + std::to_string(memo.slot) + ' ' + QuoteMemo(memo.bytes, codec));
  }
  std::uint32_t crc = 0;
  std::string out = kBom;
  for (const std::string& line : lines) {
    crc = Crc32(Crc32(crc, line), "\n");
    out += line + "\r\n";
  }
  return out + "end " + std::to_string(lines.size() - 1) + ' ' + Hex32(crc) + "\r\n";
}

bool ReadBackup(std::string_view file, const Cp932Codec& codec, Backup* out, std::string* reason) {
  if (file.size() > kMaxBackupFileBytes) {
    *reason = kTooLarge;
    return false;
  }
  if (file.substr(0, 3) == kBom) file.remove_prefix(3);
  const std::vector<std::string_view> lines = SplitLines(file);
  if (!CheckHeader(lines, reason) || !CheckEnd(file, lines, reason)) return false;
  Parser parser(codec);
  for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
    if (Problem p = parser.Line(lines[i])) {
      *reason =
          "バックアップファイルの形式が正しくありません（" + std::to_string(i + 1) + " 行目: " + p + "）。";
      return false;
    }
  }
  *out = std::move(parser.backup());
  return true;
}

int BackupMemoSlots(const Backup& backup) {
  const std::string memoKey = ConfigKey(kPageMemo).substr(std::strlen(kBaseKey) + 1);
  const std::u16string path = FoldAsciiCase(std::u16string(memoKey.begin(), memoKey.end()));
  std::int32_t sides[2] = {0, 0};
  bool found[2] = {false, false};
  for (const BackupKey& key : backup.keys) {
    if (FoldAsciiCase(key.path) != path) continue;
    for (const RawValue& v : key.values) {
      const std::u16string name = FoldAsciiCase(v.name);
      const int side = name == u"colcount" ? 0 : name == u"rowcount" ? 1 : -1;
      if (side < 0 || v.type != kRegDword || v.data.size() != 4) continue;
      sides[side] =
          std::clamp<std::int32_t>(static_cast<std::int32_t>(LittleEndian(v.data)), 1, kMaxGridSide);
      found[side] = true;
    }
  }
  return found[0] && found[1] ? sides[0] * sides[1] : 10;
}

}  // namespace tabcard
