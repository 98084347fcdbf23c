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

}  // namespace

void RegKey::Reset(HKEY key) {
  if (key_ != nullptr) RegCloseKey(key_);
  key_ = key;
}

bool WinRegistry::Open(std::string_view path, bool create) {
  Close();
  std::wstring wide;
  if (!ToWide(path, &wide)) return false;
  HKEY key = nullptr;
  const LONG rc = create ? RegCreateKeyExW(root_, wide.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_ALL_ACCESS, nullptr, &key, nullptr)
                         : RegOpenKeyExW(root_, wide.c_str(), 0, KEY_ALL_ACCESS, &key);
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
