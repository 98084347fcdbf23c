#include "store/registry_win.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/strconv_win.h"

namespace tabcard {
namespace {

// A value larger than this is no text the program wrote; it reads as a value
// of an unusable type rather than being allocated.
constexpr DWORD kMaxValueBytes = 16u * 1024u * 1024u;
// Another process may resize a value between two queries; give up after a few.
constexpr int kQueryAttempts = 8;
constexpr std::size_t kFirstBuffer = 256;

// Names and paths are the program's own; one with a zero byte would be cut by
// the W functions and reach another key or value, so it is refused.
bool ToWide(std::string_view cp932, std::wstring* out) {
  if (cp932.find('\0') != std::string_view::npos) return false;
  *out = Widen(cp932);
  return true;
}

enum class RawResult { Missing, Unusable, Read };

RawResult ReadRaw(HKEY key, const wchar_t* name, DWORD* type, std::vector<BYTE>* data) {
  data->assign(kFirstBuffer, 0);
  for (int attempt = 0; attempt < kQueryAttempts; ++attempt) {
    DWORD size = static_cast<DWORD>(data->size());
    const LONG rc = RegQueryValueExW(key, name, nullptr, type, data->data(), &size);
    if (rc == ERROR_SUCCESS) {
      data->resize(std::min<std::size_t>(size, data->size()));
      return RawResult::Read;
    }
    if (rc != ERROR_MORE_DATA) return RawResult::Missing;
    if (size > kMaxValueBytes) return RawResult::Unusable;
    data->assign(std::max<std::size_t>(size, data->size() * 2), 0);
  }
  return RawResult::Unusable;
}

// REG_SZ data need not end in a zero, nor have an even length: take the whole
// UTF-16 units present and stop at the first zero unit.
std::string TextOf(const std::vector<BYTE>& data) {
  std::wstring wide(data.size() / sizeof(wchar_t), L'\0');
  if (!wide.empty()) std::memcpy(wide.data(), data.data(), wide.size() * sizeof(wchar_t));
  const std::size_t end = wide.find(L'\0');
  if (end != std::wstring::npos) wide.resize(end);
  return Narrow(wide);
}

// --- Raw access -------------------------------------------------------------

// The W functions end names at a zero unit: such a name would reach another
// value, so it is refused.
bool RawWide(std::u16string_view units, std::wstring* out) {
  if (units.find(u'\0') != std::u16string_view::npos) return false;
  out->assign(units.begin(), units.end());
  return true;
}

// The longest value name and data of the key, to size the buffers of an
// enumeration; another process may still grow them meanwhile.
bool ValueLimits(HKEY key, DWORD* nameUnits, DWORD* dataBytes) {
  return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nameUnits,
                          dataBytes, nullptr, nullptr) == ERROR_SUCCESS;
}

// Value number index, read whole; ERROR_NO_MORE_ITEMS after the last.
LONG EnumValueAt(HKEY key, DWORD index, RawValue* out) {
  std::vector<wchar_t> name;
  std::vector<BYTE> data;
  for (int attempt = 0; attempt < kQueryAttempts; ++attempt) {
    DWORD maxName = 0;
    DWORD maxData = 0;
    if (!ValueLimits(key, &maxName, &maxData)) return ERROR_CANTREAD;
    if (maxData > kMaxValueBytes) return ERROR_MORE_DATA;
    name.assign(std::max<std::size_t>(name.size(), maxName + 1u), L'\0');
    data.assign(std::max<std::size_t>(data.size(), std::max<DWORD>(maxData, 1)), 0);
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataLength = static_cast<DWORD>(data.size());
    DWORD type = REG_NONE;
    const LONG rc =
        RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataLength);
    if (rc == ERROR_MORE_DATA) {
      name.resize(name.size() * 2);
      continue;
    }
    if (rc != ERROR_SUCCESS) return rc;
    out->name.assign(name.data(), name.data() + nameLength);
    out->type = type;
    out->data.assign(data.begin(), data.begin() + std::min<std::size_t>(dataLength, data.size()));
    return ERROR_SUCCESS;
  }
  return ERROR_MORE_DATA;
}

}  // namespace

void RegKey::Reset(HKEY key) {
  if (key_ != nullptr) RegCloseKey(key_);
  key_ = key;
}

bool WinRegistry::Open(std::string_view path, bool create) {
  Close();
  std::wstring wide;
  return ToWide(path, &wide) && OpenWide(wide, create);
}

bool WinRegistry::OpenWide(const std::wstring& path, bool create) {
  HKEY key = nullptr;
  const LONG rc = create ? RegCreateKeyExW(root_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_ALL_ACCESS, nullptr, &key, nullptr)
                         : RegOpenKeyExW(root_, path.c_str(), 0, KEY_ALL_ACCESS, &key);
  if (rc != ERROR_SUCCESS) return false;
  key_.Reset(key);
  return true;
}

void WinRegistry::Close() { key_.Reset(); }

bool WinRegistry::Query(std::string_view name, RegValue* out) {
  std::wstring wide;
  if (!key_ || !ToWide(name, &wide)) return false;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  const RawResult raw = ReadRaw(key_.get(), wide.c_str(), &type, &data);
  if (raw == RawResult::Missing) return false;
  *out = RegValue{};
  if (raw == RawResult::Unusable) return true;
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    out->type = type == REG_SZ ? RegValue::Type::String : RegValue::Type::ExpandString;
    out->text = TextOf(data);
  } else if (type == REG_DWORD && data.size() == sizeof(DWORD)) {
    out->type = RegValue::Type::Dword;
    std::memcpy(&out->dword, data.data(), sizeof(DWORD));
  }
  return true;
}

bool WinRegistry::SetDword(std::string_view name, std::uint32_t value) {
  std::wstring wide;
  if (!key_ || !ToWide(name, &wide)) return false;
  const DWORD data = value;
  return RegSetValueExW(key_.get(), wide.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                        sizeof data) == ERROR_SUCCESS;
}

bool WinRegistry::SetString(std::string_view name, std::string_view text) {
  std::wstring wide;
  if (!key_ || !ToWide(name, &wide)) return false;
  const std::wstring value = Widen(text);
  // The byte count includes the terminating zero.
  const std::size_t bytes = (value.size() + 1) * sizeof(wchar_t);
  if (bytes > kMaxValueBytes) return false;
  return RegSetValueExW(key_.get(), wide.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(bytes)) == ERROR_SUCCESS;
}

bool WinRegistry::OpenRaw(std::u16string_view path, bool create) {
  Close();
  std::wstring wide;
  return RawWide(path, &wide) && OpenWide(wide, create);
}

bool WinRegistry::ListSubkeys(std::vector<std::u16string>* out) {
  if (!key_) return false;
  out->clear();
  // A key name has at most 255 units.
  wchar_t name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = 256;
    const LONG rc = RegEnumKeyExW(key_.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) return true;
    if (rc != ERROR_SUCCESS) return false;
    out->emplace_back(name, name + length);
  }
}

bool WinRegistry::ListValues(std::vector<RawValue>* out) {
  if (!key_) return false;
  out->clear();
  for (DWORD index = 0;; ++index) {
    RawValue value;
    const LONG rc = EnumValueAt(key_.get(), index, &value);
    if (rc == ERROR_NO_MORE_ITEMS) return true;
    if (rc != ERROR_SUCCESS) return false;
    out->push_back(std::move(value));
  }
}

bool WinRegistry::SetRaw(const RawValue& value) {
  std::wstring name;
  if (!key_ || !RawWide(value.name, &name) || value.data.size() > kMaxValueBytes) return false;
  // RegSetValueExW adds a terminator to string data whose last unit is not
  // zero when the unit after the data is: non-zero bytes after the data keep
  // them exactly as given. For a single byte it reads the unit before the
  // data, which lies in the buffer too.
  std::vector<BYTE> buffer(value.data.size() + 5, 0xFF);
  buffer[0] = buffer[1] = 0;
  std::memcpy(buffer.data() + 2, value.data.data(), value.data.size());
  return RegSetValueExW(key_.get(), name.c_str(), 0, value.type, buffer.data() + 2,
                        static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

bool WinRegistry::DeleteTree(std::string_view path) {
  std::wstring wide;
  // An empty path would empty the root itself.
  if (path.empty() || !ToWide(path, &wide)) return false;
  const LONG rc = RegDeleteTreeW(root_, wide.c_str());
  return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

bool WinRegistry::ValueCount(std::size_t* count) {
  DWORD values = 0;
  if (!key_ || RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                                nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  *count = values;
  return true;
}

}  // namespace tabcard
