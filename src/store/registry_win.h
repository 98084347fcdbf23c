// The registry backend over advapi32's W functions. Names and texts cross
// here between the store's CP932 and the registry's UTF-16.
#pragma once

#include <windows.h>

#include "store/registry.h"

namespace tabcard {

// Owns one HKEY; closes it on destruction.
class RegKey {
 public:
  RegKey() = default;
  explicit RegKey(HKEY key) : key_(key) {}
  ~RegKey() { Reset(); }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;

  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }
  void Reset(HKEY key = nullptr);

 private:
  HKEY key_ = nullptr;
};

class WinRegistry : public RegistryBackend {
 public:
  // Paths are opened below root: HKEY_CURRENT_USER for the program, a
  // scratch key for tests. The root is not owned.
  explicit WinRegistry(HKEY root = HKEY_CURRENT_USER) : root_(root) {}

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
  // --- end of raw access ---------------------------------------------------

 private:
  bool OpenWide(const std::wstring& path, bool create);

  HKEY root_;
  RegKey key_;
};

}  // namespace tabcard
