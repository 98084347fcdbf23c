// The registry as the store sees it: keys below HKEY_CURRENT_USER, one open at
// a time, CP932 names and texts. RegistryBackend is what a platform provides
// (Win32 or in memory); RegistrySession puts the store's access rules on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace tabcard {

struct RegValue {
  enum class Type { String, ExpandString, Dword, Other };
  Type type = Type::Other;
  std::uint32_t dword = 0;
  std::string text;  // CP932; may hold zero bytes, cut by the session
};

// A value as the registry stores it, for backup and restore: the name in
// UTF-16 units and the data bytes with the type number (REG_SZ = 1, ...),
// nothing converted, so every value comes back exactly.
struct RawValue {
  std::u16string name;
  std::uint32_t type = 0;
  std::string data;
};
bool operator==(const RawValue& a, const RawValue& b);
inline bool operator!=(const RawValue& a, const RawValue& b) { return !(a == b); }

// Registry type numbers the store itself writes and reads.
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;

// UTF-16 units as little-endian bytes and back (an odd last byte is dropped).
std::string UnitBytes(std::u16string_view units);
std::u16string BytesUnits(std::string_view bytes);
// Lower-cases ASCII letters: names the registry takes for the same name.
std::u16string FoldAsciiCase(std::u16string_view units);

class RegistryBackend {
 public:
  virtual ~RegistryBackend() = default;
  // Opens path (relative to HKEY_CURRENT_USER) with full access, closing any
  // key open before. With create, a missing key is created.
  virtual bool Open(std::string_view path, bool create) = 0;
  virtual void Close() = 0;
  // False when the value does not exist (or no key is open).
  virtual bool Query(std::string_view name, RegValue* out) = 0;
  virtual bool SetDword(std::string_view name, std::uint32_t value) = 0;
  virtual bool SetString(std::string_view name, std::string_view text) = 0;
  // Deletes path and everything below it; a missing key is no failure.
  virtual bool DeleteTree(std::string_view path) = 0;

  // What the open key holds, so that a loop over a stored count stops at
  // what is there. False when no key is open or the key cannot tell.
  virtual bool ValueCount(std::size_t* count) = 0;

  // --- Raw access, for backup and restore --------------------------------
  // Paths and names are UTF-16 units exactly as the registry holds them, so
  // a name CP932 cannot spell still comes back. They share the one open key
  // with Open.
  // Opens path (relative to HKEY_CURRENT_USER; subkeys separated by '\\').
  virtual bool OpenRaw(std::u16string_view path, bool create) = 0;
  // The open key's direct subkeys and values; false when they cannot be
  // read whole (then *out may hold some of them).
  virtual bool ListSubkeys(std::vector<std::u16string>* out) = 0;
  virtual bool ListValues(std::vector<RawValue>* out) = 0;
  // Stores the value's bytes as they are, under its type number.
  virtual bool SetRaw(const RawValue& value) = 0;
  // --- end of raw access ---------------------------------------------------
};

// One key open at a time; closes it on destruction.
class RegistrySession {
 public:
  explicit RegistrySession(RegistryBackend& backend) : backend_(backend) {}
  ~RegistrySession() { Close(); }
  RegistrySession(const RegistrySession&) = delete;
  RegistrySession& operator=(const RegistrySession&) = delete;

  // Open for reading never creates; open for writing creates when missing.
  bool OpenForRead(std::string_view path);
  bool OpenForWrite(std::string_view path);
  void Close();
  bool IsOpen() const { return open_; }

  // Fail on a missing value, a value that is not a DWORD, or no open key.
  bool ReadInteger(std::string_view name, std::int32_t* out);
  bool ReadBool(std::string_view name, bool* out);
  // A missing value or an unopened key reads as ""; only a value of another
  // type than REG_SZ / REG_EXPAND_SZ fails. Text ends at its first zero byte.
  bool ReadString(std::string_view name, std::string* out);

  bool WriteInteger(std::string_view name, std::int32_t value);
  bool WriteBool(std::string_view name, bool value);
  bool WriteString(std::string_view name, std::string_view text);

  bool DeleteTree(std::string_view path);

  // How many values the open key holds: 0 with no key open, SIZE_MAX when
  // the key cannot tell (a loop bounded by it is then bounded by its count).
  std::size_t ValueCount();
  // Reads prefix000, prefix001, ... up to count strings into out (resized to
  // count) as ReadString does, but asks the registry only until it has met
  // `stored` values: the rest are known to be missing, so a count far above
  // what the key holds costs what the key holds. *found gets how many were
  // there. False, and out cleared, on a value of another type.
  bool ReadNumbered(std::string_view prefix, std::size_t count, std::size_t stored,
                    std::vector<std::string>* out, std::size_t* found);

  // One of the numbered series of a key that ReadSeries reads side by side.
  struct Series {
    std::string_view prefix;
    std::vector<std::string>* out;
    // A value that is not a string: the read fails, or it reads as "".
    bool otherTypeFails = true;
  };
  // As ReadNumbered, for several series of one key, number by number
  // (A000, B000, A001, B001, ...): the asking stops once `stored` values of
  // any of them were met, so it costs what the key holds whichever series
  // holds it. False, and every out cleared, on a value of another type in a
  // series where that fails.
  bool ReadSeries(std::initializer_list<Series> series, std::size_t count, std::size_t stored,
                  std::size_t* found);

 private:
  RegistryBackend& backend_;
  bool open_ = false;
};

}  // namespace tabcard
