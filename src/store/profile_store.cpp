#include "store/profile_store.h"

namespace tabcard {
namespace {

constexpr std::size_t kKanjSei = 0;
constexpr std::size_t kKanjMei = 1;

bool ReadFields(RegistrySession& s, ProfileFields* fields) {
  for (std::size_t i = 0; i < fields->size(); ++i) {
    if (!s.ReadString(kFieldNames[i], &(*fields)[i])) return false;
  }
  return true;
}

bool ReadUserName(RegistryBackend& backend, int user, std::string* name) {
  RegistrySession session(backend);
  // A key that cannot be opened reads as empty, like a missing value.
  session.OpenForRead(UserKey(user));
  return session.ReadString("UserName", name);
}

bool ReadUserRecord(RegistryBackend& backend, int user, UserRecord* record) {
  RegistrySession session(backend);
  session.OpenForRead(UserKey(user));
  return session.ReadString("UserName", &record->UserName) && ReadFields(session, &record->fields);
}

bool WriteUserRecord(RegistrySession& s, int user, const UserRecord& record) {
  if (!s.OpenForWrite(UserKey(user)) || !s.WriteString("UserName", SavedUserName(record))) return false;
  for (std::size_t i = 0; i < record.fields.size(); ++i) {
    if (!s.WriteString(kFieldNames[i], record.fields[i])) return false;
  }
  return true;
}

}  // namespace

bool LoadUserNames(RegistryBackend& backend, UserNames* names) {
  bool ok = true;
  for (int user = 0; user < kUserCount; ++user) {
    std::string& name = (*names)[static_cast<std::size_t>(user)];
    if (!ReadUserName(backend, user, &name)) {
      ok = false;
      name.clear();
    }
    if (name.empty()) name = StandardUserName(user);
  }
  return ok;
}

bool LoadProfile(RegistryBackend& backend, int user, Profile* profile) {
  bool ok = true;
  profile->fields = ProfileFields{};
  // A stored UserNo outside 0-3 marks no user; it must not reach a key such
  // as "User0" or "User9" that the editor never writes.
  if (user >= 0 && user < kUserCount) {
    RegistrySession session(backend);
    session.OpenForRead(UserKey(user));
    ok = ReadFields(session, &profile->fields);
  }
  if (!ok) profile->fields = ProfileFields{};
  profile->values = DeriveItemValues(profile->fields);
  return ok;
}

bool LoadUserRecords(RegistryBackend& backend, UserRecords* records, UserFlags* failed) {
  bool ok = true;
  for (int user = 0; user < kUserCount; ++user) {
    UserRecord& record = (*records)[static_cast<std::size_t>(user)];
    const bool read = ReadUserRecord(backend, user, &record);
    if (failed) (*failed)[static_cast<std::size_t>(user)] = !read;
    if (!read) {
      ok = false;
      record = UserRecord{};
    }
    if (record.UserName.empty()) record.UserName = StandardUserName(user);
  }
  return ok;
}

std::string SavedUserName(const UserRecord& record) {
  const std::string& sei = record.fields[kKanjSei];
  const std::string& mei = record.fields[kKanjMei];
  if (sei.empty() && mei.empty()) return record.UserName;
  return sei + mei;
}

bool SaveUserRecords(RegistryBackend& backend, const UserRecords& records, const UserFlags& skip) {
  RegistrySession session(backend);
  for (int user = 0; user < kUserCount; ++user) {
    const auto u = static_cast<std::size_t>(user);
    if (skip[u]) continue;
    if (!WriteUserRecord(session, user, records[u])) return false;
  }
  return true;
}

}  // namespace tabcard
