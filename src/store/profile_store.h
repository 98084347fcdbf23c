// The four user keys: display names and the 29 stored fields of each user,
// as the main window reads them and as the profile editor reads and writes them.
#pragma once

#include <array>
#include <string>

#include "store/catalogue.h"
#include "store/layout.h"
#include "store/registry.h"

namespace tabcard {

using UserNames = std::array<std::string, kUserCount>;

struct Profile {
  ProfileFields fields;
  ItemValues values;  // derived from fields
};

// Each user in its own stretch; an empty or unreadable name becomes the
// standard one. False when any user's name could not be read.
bool LoadUserNames(RegistryBackend& backend, UserNames* names);

// The 29 fields of one user, then the derived item values. A failed read
// leaves every field empty and gives false; a missing key or value is empty
// and no failure. A user outside 0-3 has no key: empty fields, true.
bool LoadProfile(RegistryBackend& backend, int user, Profile* profile);

// One user as the profile editor holds it.
struct UserRecord {
  std::string UserName;
  ProfileFields fields;
};
using UserRecords = std::array<UserRecord, kUserCount>;
using UserFlags = std::array<bool, kUserCount>;

// The editor's load: UserName then the 29 fields per user; an empty name
// becomes the standard one; a read that fails gives that user the standard
// name and empty fields and marks it in failed. False when any user failed.
bool LoadUserRecords(RegistryBackend& backend, UserRecords* records, UserFlags* failed = nullptr);

// The name stored for a record: KanjSei followed by KanjMei when either is
// non-empty, else the name the record holds.
std::string SavedUserName(const UserRecord& record);

// The editor's save: for User1 to User4 in order, UserName then the 29
// fields; a user marked in skip is left as stored. The first failed write
// ends the whole save.
bool SaveUserRecords(RegistryBackend& backend, const UserRecords& records,
                     const UserFlags& skip = UserFlags{});

}  // namespace tabcard
