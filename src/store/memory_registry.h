// An in-memory registry for tests and tools. Like the real one it keeps
// names as UTF-16 units and data as typed bytes, and matches key paths and
// value names without regard to ASCII case. The CP932 interface converts with
// a stand-in for code page 932 that keeps ASCII and makes each double-byte
// character one unit (lead * 256 + trail): names stay distinct and fold as on
// Windows, though a Japanese name's units are not its Unicode.
#pragma once

#include <map>
#include <string>

#include "store/registry.h"

namespace tabcard {

class MemoryRegistry : public RegistryBackend {
 public:
  // A key's values as the CP932 interface reads them, by folded name.
  using Values = std::map<std::string, RegValue>;

  bool Open(std::string_view path, bool create) override;
  void Close() override;
  bool Query(std::string_view name, RegValue* out) override;
  bool SetDword(std::string_view name, std::uint32_t value) override;
  bool SetString(std::string_view name, std::string_view text) override;
  bool DeleteTree(std::string_view path) override;
  bool ValueCount(std::size_t* count) override;

  // --- Raw access, for backup and restore --------------------------------
  bool OpenRaw(std::u16string_view path, bool create) override;
  bool ListSubkeys(std::vector<std::u16string>* out) override;
  bool ListValues(std::vector<RawValue>* out) override;
  bool SetRaw(const RawValue& value) override;
  // The stand-in conversions of the CP932 interface.
  static std::u16string ToUnits(std::string_view cp932);
  static std::string FromUnits(std::u16string_view units);
  // --- end of raw access ---------------------------------------------------

  // Direct access for setting up and checking tests. The view KeyValues
  // returns stays valid until the next call for the same path.
  bool HasKey(std::string_view path) const;
  const Values* KeyValues(std::string_view path) const;
  void Put(std::string_view path, std::string_view name, RegValue value);
  void PutDword(std::string_view path, std::string_view name, std::uint32_t v);
  void PutString(std::string_view path, std::string_view name, std::string_view text);
  // A value gone, as in a store an older version wrote.
  void Remove(std::string_view path, std::string_view name);

  // Makes every write after the next n fail, to test partial saves.
  void FailWritesAfter(int n) { writesLeft_ = n; }
  int opens() const { return opens_; }
  int queries() const { return queries_; }
  int maxOpenAtOnce() const { return maxOpen_; }

 private:
  struct Key {
    std::u16string path;                        // as first created
    std::map<std::u16string, RawValue> values;  // by folded name
  };

  static std::u16string Fold(std::u16string_view s);
  // The key at path, created with its parents.
  Key& Create(std::u16string_view path);
  Key* CurrentKey();
  bool Write(RawValue value);

  std::map<std::u16string, Key> keys_;  // by folded path
  std::u16string current_;
  bool isOpen_ = false;
  int writesLeft_ = -1;
  int opens_ = 0;
  int queries_ = 0;
  int openNow_ = 0;
  int maxOpen_ = 0;
  mutable std::map<std::string, Values> views_;
};

}  // namespace tabcard
