// User names, profiles and the profile editor's user records over the
// in-memory registry.
#include <gtest/gtest.h>

#include <string>

#include "store/layout.h"
#include "store/memory_registry.h"
#include "store/profile_store.h"
#include "store_fixture.h"

namespace tabcard {
namespace {

using testing::RecordingRegistry;
using testing::Value;
using Type = RegValue::Type;

void PutUser(MemoryRegistry& reg, int user, std::string_view name) {
  reg.PutString(UserKey(user), "UserName", name);
  for (std::size_t i = 0; i < kFieldNames.size(); ++i) {
    reg.PutString(UserKey(user), kFieldNames[i], std::to_string(user) + kFieldNames[i]);
  }
}

TEST(LoadUserNames, NoKeysGiveTheStandardNamesWithoutFailure) {
  MemoryRegistry reg;
  UserNames names;
  EXPECT_TRUE(LoadUserNames(reg, &names));
  EXPECT_EQ(names, (UserNames{"ＵＳＥＲ１", "ＵＳＥＲ２", "ＵＳＥＲ３", "ＵＳＥＲ４"}));
  EXPECT_FALSE(reg.HasKey(kBaseKey));
}

TEST(LoadUserNames, EmptyOrWrongTypedNameIsStandardAndTheOthersStillLoad) {
  MemoryRegistry reg;
  PutUser(reg, 0, "山田太郎");
  PutUser(reg, 1, "");
  reg.Put(UserKey(2), "UserName", Value(Type::Dword, 3));
  PutUser(reg, 3, "表示");  // 表 ends in 0x5C
  UserNames names;
  names.fill("old");
  EXPECT_FALSE(LoadUserNames(reg, &names));
  EXPECT_EQ(names, (UserNames{"山田太郎", "ＵＳＥＲ２", "ＵＳＥＲ３", "表示"}));
  EXPECT_EQ(reg.maxOpenAtOnce(), 1);
}

TEST(LoadProfile, ReadsTheFieldsAndDerivesTheItems) {
  MemoryRegistry reg;
  PutUser(reg, 2, "x");
  reg.PutString(UserKey(2), "KanjSei", "甲");
  reg.PutString(UserKey(2), "KanjMei", "");
  reg.PutString(UserKey(2), "KanaSei", "あいう");
  Profile p;
  ASSERT_TRUE(LoadProfile(reg, 2, &p));
  EXPECT_EQ(p.fields[28], "2etc5");
  EXPECT_EQ(p.values[FindItem("氏名")], "甲");
  EXPECT_EQ(p.values[FindItem("セイ")], "アイウ");
  EXPECT_EQ(p.values[FindItem("ｅｔｃ５")], "2etc5");
}

TEST(LoadProfile, MissingKeyOrValuesAreEmptyFieldsAndSuccess) {
  MemoryRegistry reg;
  reg.PutString(UserKey(1), "TEL", "03");
  Profile p;
  p.fields.fill("old");
  ASSERT_TRUE(LoadProfile(reg, 1, &p));
  EXPECT_EQ(p.fields[11], "03");
  EXPECT_EQ(p.fields[0], "");
  ASSERT_TRUE(LoadProfile(reg, 0, &p));
  EXPECT_EQ(p.fields, ProfileFields{});
  EXPECT_FALSE(reg.HasKey(UserKey(0)));
}

TEST(LoadProfile, OneWrongTypedFieldEmptiesAllAndFails) {
  MemoryRegistry reg;
  PutUser(reg, 0, "a");
  reg.Put(UserKey(0), "etc5", Value(Type::Other, 0, "zz"));
  Profile p;
  EXPECT_FALSE(LoadProfile(reg, 0, &p));
  EXPECT_EQ(p.fields, ProfileFields{});
  EXPECT_EQ(p.values[FindItem("氏名")], "");
}

TEST(LoadProfile, UserOutsideTheFourReadsNoKey) {
  MemoryRegistry reg;
  for (const char* key : {"\\User0", "\\User5", "\\User8"}) {
    reg.PutString(std::string(kBaseKey) + key, "KanjSei", "stray");
  }
  for (int user : {-1, 4, 7, -2147483647 - 1}) {
    Profile p;
    p.fields.fill("old");
    EXPECT_TRUE(LoadProfile(reg, user, &p)) << user;
    EXPECT_EQ(p.fields, ProfileFields{}) << user;
  }
  EXPECT_EQ(reg.opens(), 0);
}

TEST(SavedUserName, KanjiNameWhenEitherPartIsSet) {
  struct Case {
    const char* sei;
    const char* mei;
    const char* held;
    const char* saved;
  };
  const Case cases[] = {{"山田", "太郎", "ＵＳＥＲ１", "山田太郎"},
                        {"山田", "", "old", "山田"},
                        {"", "太郎", "old", "太郎"},
                        {"", "", "ＵＳＥＲ３", "ＵＳＥＲ３"}};
  for (const Case& c : cases) {
    UserRecord r;
    r.UserName = c.held;
    r.fields[0] = c.sei;
    r.fields[1] = c.mei;
    EXPECT_EQ(SavedUserName(r), c.saved) << c.saved;
  }
}

UserRecords Records() {
  UserRecords records;
  for (int user = 0; user < kUserCount; ++user) {
    records[user].UserName = StandardUserName(user);
    for (int i = 0; i < kFieldCount; ++i) records[user].fields[i] = std::to_string(user * 100 + i);
  }
  records[1].fields[0] = "";
  records[1].fields[1] = "";
  records[1].UserName = "保持";
  records[3].fields[5] = "";
  return records;
}

TEST(SaveUserRecords, WritesNameThenFieldsPerUserInOrder) {
  MemoryRegistry inner;
  RecordingRegistry reg(inner);
  ASSERT_TRUE(SaveUserRecords(reg, Records()));
  std::vector<std::string> expected;
  for (int user = 0; user < kUserCount; ++user) {
    expected.push_back(UserKey(user) + ":UserName");
    for (const char* name : kFieldNames) expected.push_back(UserKey(user) + ":" + name);
  }
  EXPECT_EQ(reg.writes, expected);
  EXPECT_EQ(inner.KeyValues(UserKey(0))->at("username").text, "01");
  EXPECT_EQ(inner.KeyValues(UserKey(1))->at("username").text, "保持");
  // Empty fields are written as empty values, not left out.
  EXPECT_EQ(inner.KeyValues(UserKey(3))->at("email2").text, "");
  EXPECT_EQ(inner.maxOpenAtOnce(), 1);
}

TEST(SaveUserRecords, FirstFailedWriteEndsTheWholeSave) {
  for (int n : {0, 1, 29, 30, 31, 100}) {
    MemoryRegistry inner;
    inner.FailWritesAfter(n);
    RecordingRegistry reg(inner);
    EXPECT_FALSE(SaveUserRecords(reg, Records())) << n;
    EXPECT_EQ(reg.writes.size(), static_cast<std::size_t>(n) + 1) << n;
  }
}

TEST(LoadUserRecords, RoundTripAndPerUserFailure) {
  MemoryRegistry reg;
  ASSERT_TRUE(SaveUserRecords(reg, Records()));
  reg.PutString(UserKey(3), "UserName", "");
  reg.Put(UserKey(2), "JOB", Value(Type::Dword, 1));
  UserRecords loaded;
  EXPECT_FALSE(LoadUserRecords(reg, &loaded));
  const UserRecords saved = Records();
  EXPECT_EQ(loaded[0].UserName, "01");
  EXPECT_EQ(loaded[0].fields, saved[0].fields);
  EXPECT_EQ(loaded[1].UserName, "保持");
  EXPECT_EQ(loaded[2].UserName, "ＵＳＥＲ３");
  EXPECT_EQ(loaded[2].fields, ProfileFields{});
  EXPECT_EQ(loaded[3].UserName, "ＵＳＥＲ４");
  EXPECT_EQ(loaded[3].fields, saved[3].fields);
}

}  // namespace
}  // namespace tabcard
