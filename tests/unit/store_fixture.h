// Shared by the store tests: a backend that records what an operation does to
// a MemoryRegistry, so tests can check the order of writes and the keys opened.
#pragma once

#include <string>
#include <vector>

#include "store/memory_registry.h"

namespace tabcard::testing {

class RecordingRegistry : public RegistryBackend {
 public:
  explicit RecordingRegistry(MemoryRegistry& inner) : inner_(inner) {}

  bool Open(std::string_view path, bool create) override {
    current_.assign(path);
    opened.push_back((create ? "W " : "R ") + current_);
    return inner_.Open(path, create);
  }
  void Close() override { inner_.Close(); }
  bool Query(std::string_view name, RegValue* out) override { return inner_.Query(name, out); }
  bool SetDword(std::string_view name, std::uint32_t value) override {
    return Written(name, inner_.SetDword(name, value));
  }
  bool SetString(std::string_view name, std::string_view text) override {
    return Written(name, inner_.SetString(name, text));
  }
  bool DeleteTree(std::string_view path) override {
    writes.push_back("delete " + std::string(path));
    return inner_.DeleteTree(path);
  }
  bool ValueCount(std::size_t* count) override { return inner_.ValueCount(count); }
  bool OpenRaw(std::u16string_view path, bool create) override { return inner_.OpenRaw(path, create); }
  bool ListSubkeys(std::vector<std::u16string>* out) override { return inner_.ListSubkeys(out); }
  bool ListValues(std::vector<RawValue>* out) override { return inner_.ListValues(out); }
  bool SetRaw(const RawValue& value) override { return inner_.SetRaw(value); }

  std::vector<std::string> opened;  // "R path" or "W path", in order
  std::vector<std::string> writes;  // "path:name" per attempted write, "delete path"
  int succeeded = 0;

 private:
  bool Written(std::string_view name, bool ok) {
    writes.push_back(current_ + ":" + std::string(name));
    if (ok) ++succeeded;
    return ok;
  }

  MemoryRegistry& inner_;
  std::string current_;
};

inline RegValue Value(RegValue::Type type, std::uint32_t dword = 0, std::string text = {}) {
  RegValue v;
  v.type = type;
  v.dword = dword;
  v.text = std::move(text);
  return v;
}

}  // namespace tabcard::testing
