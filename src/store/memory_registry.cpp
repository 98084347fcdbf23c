#include "store/memory_registry.h"

#include <algorithm>

#include "core/text.h"

namespace tabcard {

std::string MemoryRegistry::Fold(std::string_view s) {
  // ASCII only: a CP932 trail byte may fall in 'A'-'Z' and must stay put,
  // so fold only bytes that are not the second half of a character.
  std::string out(s);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto b = static_cast<unsigned char>(out[i]);
    if (IsLeadByte(b)) {
      ++i;
    } else if (b >= 'A' && b <= 'Z') {
      out[i] = static_cast<char>(b - 'A' + 'a');
    }
  }
  return out;
}

bool MemoryRegistry::Open(std::string_view path, bool create) {
  Close();
  const std::string key = Fold(path);
  if (keys_.find(key) == keys_.end()) {
    if (!create) return false;
    // Creating a key creates its parents too.
    for (std::size_t pos = key.find('\\'); pos != std::string::npos; pos = key.find('\\', pos + 1)) {
      keys_[key.substr(0, pos)];
    }
    keys_[key];
  }
  current_ = key;
  isOpen_ = true;
  ++opens_;
  maxOpen_ = std::max(maxOpen_, ++openNow_);
  return true;
}

void MemoryRegistry::Close() {
  if (!isOpen_) return;
  isOpen_ = false;
  --openNow_;
}

bool MemoryRegistry::Query(std::string_view name, RegValue* out) {
  if (!isOpen_) return false;
  ++queries_;
  const Values& values = keys_[current_];
  const auto it = values.find(Fold(name));
  if (it == values.end()) return false;
  *out = it->second;
  return true;
}

bool MemoryRegistry::Write(std::string_view name, RegValue value) {
  if (!isOpen_) return false;
  if (writesLeft_ == 0) return false;
  if (writesLeft_ > 0) --writesLeft_;
  keys_[current_][Fold(name)] = std::move(value);
  return true;
}

bool MemoryRegistry::SetDword(std::string_view name, std::uint32_t v) {
  RegValue value;
  value.type = RegValue::Type::Dword;
  value.dword = v;
  return Write(name, std::move(value));
}

bool MemoryRegistry::SetString(std::string_view name, std::string_view text) {
  RegValue value;
  value.type = RegValue::Type::String;
  value.text.assign(text);
  return Write(name, std::move(value));
}

bool MemoryRegistry::DeleteTree(std::string_view path) {
  const std::string key = Fold(path);
  const std::string below = key + "\\";
  for (auto it = keys_.begin(); it != keys_.end();) {
    if (it->first == key || it->first.compare(0, below.size(), below) == 0) {
      it = keys_.erase(it);
    } else {
      ++it;
    }
  }
  return true;
}

bool MemoryRegistry::ValueCount(std::size_t* count) {
  if (!isOpen_) return false;
  *count = keys_[current_].size();
  return true;
}

bool MemoryRegistry::HasKey(std::string_view path) const { return keys_.count(Fold(path)) != 0; }

const MemoryRegistry::Values* MemoryRegistry::KeyValues(std::string_view path) const {
  const auto it = keys_.find(Fold(path));
  return it == keys_.end() ? nullptr : &it->second;
}

void MemoryRegistry::Put(std::string_view path, std::string_view name, RegValue value) {
  const std::string key = Fold(path);
  for (std::size_t pos = key.find('\\'); pos != std::string::npos; pos = key.find('\\', pos + 1)) {
    keys_[key.substr(0, pos)];
  }
  keys_[key][Fold(name)] = std::move(value);
}

void MemoryRegistry::PutDword(std::string_view path, std::string_view name, std::uint32_t v) {
  RegValue value;
  value.type = RegValue::Type::Dword;
  value.dword = v;
  Put(path, name, std::move(value));
}

void MemoryRegistry::PutString(std::string_view path, std::string_view name, std::string_view text) {
  RegValue value;
  value.type = RegValue::Type::String;
  value.text.assign(text);
  Put(path, name, std::move(value));
}

}  // namespace tabcard
