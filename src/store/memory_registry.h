// An in-memory registry for tests and tools: keys by path, values by name,
// both matched without regard to ASCII case, as Windows does.
#pragma once

#include <map>
#include <string>

#include "store/registry.h"

namespace tabcard {

class MemoryRegistry : public RegistryBackend {
 public:
  using Values = std::map<std::string, RegValue>;

  bool Open(std::string_view path, bool create) override;
  void Close() override;
  bool Query(std::string_view name, RegValue* out) override;
  bool SetDword(std::string_view name, std::uint32_t value) override;
  bool SetString(std::string_view name, std::string_view text) override;
  bool DeleteTree(std::string_view path) override;
  bool ValueCount(std::size_t* count) override;

  // Direct access for setting up and checking tests.
  bool HasKey(std::string_view path) const;
  const Values* KeyValues(std::string_view path) const;
  void Put(std::string_view path, std::string_view name, RegValue value);
  void PutDword(std::string_view path, std::string_view name, std::uint32_t v);
  void PutString(std::string_view path, std::string_view name, std::string_view text);

  // Makes every write after the next n fail, to test partial saves.
  void FailWritesAfter(int n) { writesLeft_ = n; }
  int opens() const { return opens_; }
  int queries() const { return queries_; }
  int maxOpenAtOnce() const { return maxOpen_; }

 private:
  static std::string Fold(std::string_view s);
  bool Write(std::string_view name, RegValue value);

  std::map<std::string, Values> keys_;  // folded path -> values by folded name
  std::string current_;
  bool isOpen_ = false;
  int writesLeft_ = -1;
  int opens_ = 0;
  int queries_ = 0;
  int openNow_ = 0;
  int maxOpen_ = 0;
};

}  // namespace tabcard
