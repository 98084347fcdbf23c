#include "store/memory_registry.h"

#include <algorithm>

#include "core/text.h"

namespace tabcard {
namespace {

RawValue DwordValue(std::u16string name, std::uint32_t v) {
  std::string data(4, '\0');
  for (int i = 0; i < 4; ++i) data[static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
  return RawValue{std::move(name), kRegDword, std::move(data)};
}

RawValue StringValue(std::u16string name, std::uint32_t type, std::string_view text) {
  return RawValue{std::move(name), type, UnitBytes(MemoryRegistry::ToUnits(text) + u'\0')};
}

// What the CP932 interface reads: text without its terminating zero unit
// (zeros inside are kept for the session to cut), a DWORD of exactly four
// bytes, any other type as unusable.
RegValue CpValue(const RawValue& raw) {
  RegValue v;
  if (raw.type == kRegSz || raw.type == kRegExpandSz) {
    v.type = raw.type == kRegSz ? RegValue::Type::String : RegValue::Type::ExpandString;
    std::u16string units = BytesUnits(raw.data);
    if (!units.empty() && units.back() == u'\0') units.pop_back();
    v.text = MemoryRegistry::FromUnits(units);
  } else if (raw.type == kRegDword && raw.data.size() == 4) {
    v.type = RegValue::Type::Dword;
    for (std::size_t i = 4; i-- > 0;) v.dword = v.dword << 8 | static_cast<unsigned char>(raw.data[i]);
  } else {
    v.text = raw.data;
  }
  return v;
}

RawValue RawOf(std::u16string name, const RegValue& v) {
  switch (v.type) {
    case RegValue::Type::String: return StringValue(std::move(name), kRegSz, v.text);
    case RegValue::Type::ExpandString: return StringValue(std::move(name), kRegExpandSz, v.text);
    case RegValue::Type::Dword: return DwordValue(std::move(name), v.dword);
    case RegValue::Type::Other: break;
  }
  return RawValue{std::move(name), kRegBinary, v.text};
}

}  // namespace

std::u16string MemoryRegistry::ToUnits(std::string_view cp932) {
  std::u16string out;
  for (std::size_t i = 0; i < cp932.size(); ++i) {
    const auto b = static_cast<unsigned char>(cp932[i]);
    if (IsLeadByte(b) && i + 1 < cp932.size()) {
      out.push_back(static_cast<char16_t>(b << 8 | static_cast<unsigned char>(cp932[++i])));
    } else {
      out.push_back(b);
    }
  }
  return out;
}

std::string MemoryRegistry::FromUnits(std::u16string_view units) {
  std::string out;
  for (const char16_t u : units) {
    if (u > 0xFF) out.push_back(static_cast<char>(u >> 8));
    out.push_back(static_cast<char>(u & 0xFF));
  }
  return out;
}

std::u16string MemoryRegistry::Fold(std::u16string_view s) { return FoldAsciiCase(s); }

MemoryRegistry::Key& MemoryRegistry::Create(std::u16string_view path) {
  // Creating a key creates its parents too; an existing key keeps its case.
  for (std::size_t pos = path.find(u'\\'); pos != std::u16string_view::npos;
       pos = path.find(u'\\', pos + 1)) {
    keys_.emplace(Fold(path.substr(0, pos)), Key{std::u16string(path.substr(0, pos)), {}});
  }
  return keys_.emplace(Fold(path), Key{std::u16string(path), {}}).first->second;
}

// As with a Windows handle, a key deleted while open takes no more values.
MemoryRegistry::Key* MemoryRegistry::CurrentKey() {
  const auto it = isOpen_ ? keys_.find(current_) : keys_.end();
  return it == keys_.end() ? nullptr : &it->second;
}

bool MemoryRegistry::Open(std::string_view path, bool create) { return OpenRaw(ToUnits(path), create); }

bool MemoryRegistry::OpenRaw(std::u16string_view path, bool create) {
  Close();
  const std::u16string key = Fold(path);
  if (keys_.find(key) == keys_.end()) {
    if (!create) return false;
    Create(path);
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
  ++queries_;
  const Key* key = CurrentKey();
  if (!key) return false;
  const auto& values = key->values;
  const auto it = values.find(Fold(ToUnits(name)));
  if (it == values.end()) return false;
  *out = CpValue(it->second);
  return true;
}

bool MemoryRegistry::Write(RawValue value) {
  Key* key = CurrentKey();
  if (!key || writesLeft_ == 0) return false;
  if (writesLeft_ > 0) --writesLeft_;
  auto& values = key->values;
  const std::u16string folded = Fold(value.name);
  // A value written again keeps the name it was created with, as on Windows.
  const auto it = values.find(folded);
  if (it != values.end()) value.name = it->second.name;
  values[folded] = std::move(value);
  return true;
}

bool MemoryRegistry::SetDword(std::string_view name, std::uint32_t v) {
  return Write(DwordValue(ToUnits(name), v));
}

bool MemoryRegistry::SetString(std::string_view name, std::string_view text) {
  return Write(StringValue(ToUnits(name), kRegSz, text));
}

bool MemoryRegistry::SetRaw(const RawValue& value) { return Write(value); }

bool MemoryRegistry::ListSubkeys(std::vector<std::u16string>* out) {
  if (!CurrentKey()) return false;
  out->clear();
  const std::u16string prefix = current_.empty() ? u"" : current_ + u'\\';
  for (auto it = keys_.lower_bound(prefix); it != keys_.end(); ++it) {
    if (it->first.compare(0, prefix.size(), prefix) != 0) break;
    if (it->first.size() == prefix.size() || it->first.find(u'\\', prefix.size()) != std::u16string::npos)
      continue;
    out->push_back(it->second.path.substr(prefix.size()));
  }
  return true;
}

bool MemoryRegistry::ListValues(std::vector<RawValue>* out) {
  const Key* key = CurrentKey();
  if (!key) return false;
  out->clear();
  for (const auto& entry : key->values) out->push_back(entry.second);
  return true;
}

bool MemoryRegistry::DeleteTree(std::string_view path) {
  const std::u16string key = Fold(ToUnits(path));
  const std::u16string below = key + u'\\';
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
  const Key* key = CurrentKey();
  if (!key) return false;
  *count = key->values.size();
  return true;
}

bool MemoryRegistry::HasKey(std::string_view path) const { return keys_.count(Fold(ToUnits(path))) != 0; }

const MemoryRegistry::Values* MemoryRegistry::KeyValues(std::string_view path) const {
  const auto it = keys_.find(Fold(ToUnits(path)));
  if (it == keys_.end()) return nullptr;
  Values& view = views_[FromUnits(it->first)];
  view.clear();
  for (const auto& entry : it->second.values) view[FromUnits(entry.first)] = CpValue(entry.second);
  return &view;
}

void MemoryRegistry::Put(std::string_view path, std::string_view name, RegValue value) {
  const std::u16string units = ToUnits(name);
  Create(ToUnits(path)).values[Fold(units)] = RawOf(units, value);
}

void MemoryRegistry::Remove(std::string_view path, std::string_view name) {
  const auto it = keys_.find(Fold(ToUnits(path)));
  if (it != keys_.end()) it->second.values.erase(Fold(ToUnits(name)));
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
