#include "store/registry.h"

#include "core/text.h"

namespace tabcard {
namespace {

// A string value's text up to its first zero; false for another type.
bool TakeString(const RegValue& v, std::string* out) {
  if (v.type != RegValue::Type::String && v.type != RegValue::Type::ExpandString) return false;
  out->assign(UpToZero(v.text));
  return true;
}

}  // namespace

std::u16string FoldAsciiCase(std::u16string_view units) {
  std::u16string out(units);
  for (char16_t& u : out) {
    if (u >= u'A' && u <= u'Z') u = static_cast<char16_t>(u - u'A' + u'a');
  }
  return out;
}

bool operator==(const RawValue& a, const RawValue& b) {
  return a.name == b.name && a.type == b.type && a.data == b.data;
}

std::string UnitBytes(std::u16string_view units) {
  std::string out;
  out.reserve(units.size() * 2);
  for (const char16_t u : units) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>(u >> 8));
  }
  return out;
}

std::u16string BytesUnits(std::string_view bytes) {
  std::u16string out(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  return out;
}

bool RegistrySession::OpenForRead(std::string_view path) {
  Close();
  open_ = backend_.Open(path, false);
  return open_;
}

bool RegistrySession::OpenForWrite(std::string_view path) {
  Close();
  open_ = backend_.Open(path, true);
  return open_;
}

void RegistrySession::Close() {
  if (open_) backend_.Close();
  open_ = false;
}

bool RegistrySession::ReadInteger(std::string_view name, std::int32_t* out) {
  RegValue v;
  if (!open_ || !backend_.Query(name, &v) || v.type != RegValue::Type::Dword) return false;
  *out = static_cast<std::int32_t>(v.dword);
  return true;
}

bool RegistrySession::ReadBool(std::string_view name, bool* out) {
  std::int32_t v = 0;
  if (!ReadInteger(name, &v)) return false;
  *out = v != 0;
  return true;
}

bool RegistrySession::ReadString(std::string_view name, std::string* out) {
  out->clear();
  RegValue v;
  if (!open_ || !backend_.Query(name, &v)) return true;
  return TakeString(v, out);
}

bool RegistrySession::WriteInteger(std::string_view name, std::int32_t value) {
  return open_ && backend_.SetDword(name, static_cast<std::uint32_t>(value));
}

bool RegistrySession::WriteBool(std::string_view name, bool value) {
  return WriteInteger(name, value ? 1 : 0);
}

bool RegistrySession::WriteString(std::string_view name, std::string_view text) {
  return open_ && backend_.SetString(name, UpToZero(text));
}

bool RegistrySession::DeleteTree(std::string_view path) {
  Close();
  return backend_.DeleteTree(path);
}

std::size_t RegistrySession::ValueCount() {
  if (!open_) return 0;
  std::size_t count = 0;
  return backend_.ValueCount(&count) ? count : SIZE_MAX;
}

bool RegistrySession::ReadNumbered(std::string_view prefix, std::size_t count, std::size_t stored,
                                   std::vector<std::string>* out, std::size_t* found) {
  return ReadSeries({Series{prefix, out}}, count, stored, found);
}

bool RegistrySession::ReadSeries(std::initializer_list<Series> series, std::size_t count,
                                 std::size_t stored, std::size_t* found) {
  for (const Series& one : series) one.out->assign(count, std::string());
  *found = 0;
  for (std::size_t k = 0; k < count; ++k) {
    for (const Series& one : series) {
      if (*found >= stored || !open_) return true;
      RegValue v;
      if (!backend_.Query(Numbered(one.prefix, static_cast<int>(k)), &v)) continue;
      ++*found;
      if (!TakeString(v, &(*one.out)[k]) && one.otherTypeFails) {
        for (const Series& each : series) each.out->clear();
        return false;
      }
    }
  }
  return true;
}

}  // namespace tabcard
