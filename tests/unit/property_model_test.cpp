#include "editor/property_model.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "store/layout.h"
#include "store/memory_registry.h"
#include "store_fixture.h"

namespace tabcard {
namespace {

using testing::RecordingRegistry;
using testing::Value;
using Type = RegValue::Type;

class FakeView : public PropertyView {
 public:
  std::string FieldText(std::string_view name) const override {
    auto it = fields.find(std::string(name));
    return it == fields.end() ? std::string() : it->second;
  }
  void SetFieldText(std::string_view name, std::string_view text) override {
    fields[std::string(name)] = std::string(text);
  }
  void SetUserNames(int list, const UserNames& n) override { names[list] = n; }
  int SelectedUser(int list) const override { return selected[list]; }
  void SelectUser(int list, int user) override { selected[list] = user; }
  void SetActivePage(int page) override { activePage = page; }

  std::map<std::string, std::string> fields;
  std::array<UserNames, kFieldPageCount> names{};
  std::array<int, kFieldPageCount> selected{-1, -1, -1};
  int activePage = -1;
};

std::string Stored(MemoryRegistry& store, int user, const char* name) {
  RegistrySession s(store);
  std::string text;
  return s.OpenForRead(UserKey(user)) && s.ReadString(name, &text) ? text : "(unreadable)";
}

struct Fixture {
  MemoryRegistry inner;
  RecordingRegistry store{inner};
  FakeView view;
  PropertyModel model{store, view};

  // The user picks a position in the list of one field page.
  void Pick(int list, int user) {
    view.selected[list] = user;
    if (list == kTabKojin) model.ChooseUser(kTabKojin);
    if (list == kTabKinmusaki) model.ChooseUser(kTabKinmusaki);
    if (list == kTabEtc) model.ChooseUser(kTabEtc);
  }
  std::string Stored(int user, const char* name) { return tabcard::Stored(inner, user, name); }
};

TEST(PropertyModelTest, EmptyStoreOpensOnStandardNamesAndOkWritesEveryField) {
  Fixture f;
  f.model.FormCreate();
  EXPECT_EQ(f.view.activePage, kTabKojin);
  const UserNames standard{StandardUserName(0), StandardUserName(1), StandardUserName(2),
                           StandardUserName(3)};
  EXPECT_EQ(f.view.names, (std::array<UserNames, kFieldPageCount>{standard, standard, standard}));
  EXPECT_EQ(f.view.selected, (std::array<int, kFieldPageCount>{0, 0, 0}));
  EXPECT_EQ(f.view.fields.size(), static_cast<std::size_t>(kFieldCount));

  EXPECT_TRUE(f.model.StoreOnOk().Closes());
  EXPECT_EQ(f.store.writes.size(), static_cast<std::size_t>(kUserCount * (1 + kFieldCount)));
  for (int user = 0; user < kUserCount; ++user) {
    EXPECT_EQ(f.Stored(user, "UserName"), standard[user]);
    for (const char* name : kFieldNames) EXPECT_EQ(f.Stored(user, name), "") << name;
  }
}

TEST(PropertyModelTest, StoredNameFollowsTheKanjiFields) {
  struct Case {
    const char* sei;
    const char* mei;
    const char* saved;
  };
  const Case cases[] = {{"山田", "太郎", "山田太郎"}, {"", "太郎", "太郎"}, {"", "", "花子"}};
  for (const Case& c : cases) {
    Fixture f;
    f.inner.PutString(UserKey(1), "UserName", "花子");
    f.model.FormCreate();
    f.Pick(kTabKojin, 1);
    f.view.fields["KanjSei"] = c.sei;
    f.view.fields["KanjMei"] = c.mei;
    ASSERT_TRUE(f.model.StoreOnOk().Closes());
    EXPECT_EQ(f.Stored(1, "UserName"), c.saved) << c.saved;
    // The lists keep the names they were opened with.
    EXPECT_EQ(f.view.names[kTabKojin][1], "花子");
  }
}

TEST(PropertyModelTest, EditsLiveInMemoryUntilOkAndUsersArePickedByPosition) {
  Fixture f;
  f.inner.PutString(UserKey(0), "KanjSei", "鈴木");
  f.inner.PutString(UserKey(1), "UserName", "同名");
  f.inner.PutString(UserKey(2), "UserName", "同名");
  f.inner.PutString(UserKey(2), "etc1", "三人目");
  f.model.FormCreate();
  f.view.fields["KanjSei"] = "山田";
  f.Pick(kTabKojin, 1);
  EXPECT_EQ(f.view.fields["KanjSei"], "");
  f.Pick(kTabKojin, 0);
  EXPECT_EQ(f.view.fields["KanjSei"], "山田");

  // A page change brings the other lists and pages to the current user.
  f.Pick(kTabKojin, 2);
  f.model.PageShown(kTabEtc);
  EXPECT_EQ(f.view.selected, (std::array<int, kFieldPageCount>{2, 2, 2}));
  EXPECT_EQ(f.view.fields["etc1"], "三人目");
  f.model.PageShown(kTabList);
  // Cancel drops the records with the dialog.
  EXPECT_TRUE(f.store.writes.empty());
  for (const std::string& open : f.store.opened) EXPECT_EQ(open[0], 'R') << open;

  FakeView again;
  PropertyModel reopened(f.store, again);
  reopened.FormCreate();
  EXPECT_EQ(again.fields["KanjSei"], "鈴木");
}

TEST(PropertyModelTest, EditsOfAPageLeftBeforeOkAreSaved) {
  struct Case {
    int page;
    const char* field;
    int leaveTo;  // -1: OK on the page itself
  };
  const Case cases[] = {{kTabKinmusaki, "Kinmusaki", kTabMemo},
                        {kTabKojin, "Older", kTabKinmusaki},
                        {kTabEtc, "etc5", kTabList},
                        {kTabEtc, "etc1", -1}};
  for (const Case& c : cases) {
    Fixture f;
    f.model.FormCreate();
    if (c.page != kTabKojin) f.model.PageShown(c.page);
    f.Pick(c.page, 3);
    f.view.fields[c.field] = "編集";
    if (c.leaveTo >= 0) f.model.PageShown(c.leaveTo);
    ASSERT_TRUE(f.model.StoreOnOk().Closes());
    EXPECT_EQ(f.Stored(3, c.field), "編集") << c.field;
    EXPECT_EQ(f.Stored(0, c.field), "") << c.field;
  }
}

// A user with one value of the wrong type loads empty; saving it unedited
// would write 29 empty strings over what was readable.
TEST(PropertyModelTest, UnreadableUserIsWrittenOnlyWhenEdited) {
  struct Case {
    bool visit;        // its fields shown and stored again, unchanged
    const char* edit;  // typed into its KanjMei, or nullptr
    const char* kanjSei;
    const char* job;
  };
  const Case cases[] = {{false, nullptr, "鈴木", "(unreadable)"},
                        {true, nullptr, "鈴木", "(unreadable)"},
                        {true, "花子", "", ""}};
  for (const Case& c : cases) {
    Fixture f;
    f.inner.PutString(UserKey(1), "KanjSei", "鈴木");
    f.inner.Put(UserKey(1), "JOB", Value(Type::Dword, 1));
    f.model.FormCreate();
    if (c.visit) f.Pick(kTabKojin, 1);
    if (c.edit) f.view.fields["KanjMei"] = c.edit;
    if (c.visit) f.Pick(kTabKojin, 0);
    ASSERT_TRUE(f.model.StoreOnOk().Closes());
    EXPECT_EQ(f.Stored(1, "KanjSei"), c.kanjSei) << c.visit;
    EXPECT_EQ(f.Stored(1, "JOB"), c.job) << c.visit;
    EXPECT_EQ(f.Stored(2, "UserName"), StandardUserName(2));
  }
}

TEST(PropertyModelTest, AFailedSaveKeepsTheDialogAndItsEdits) {
  MemoryRegistry store;
  FakeView view;
  bool listSaves = true;
  int listLoads = 0;
  PropertyPageHooks hooks{nullptr, [&] { ++listLoads; }, [&] { return listSaves; }};
  PropertyModel model(store, view, hooks);
  model.FormCreate();
  EXPECT_EQ(listLoads, 1);
  view.fields["TEL"] = "090";
  store.FailWritesAfter(12);  // UserName and 12 fields, then TEL fails
  const PropertySaveResult usersFailed = model.StoreOnOk();
  EXPECT_FALSE(usersFailed.usersSaved || usersFailed.Closes());
  EXPECT_NE(usersFailed.FailureText().find("プロフィール"), std::string::npos);

  store.FailWritesAfter(-1);
  listSaves = false;
  const PropertySaveResult listFailed = model.StoreOnOk();
  EXPECT_TRUE(listFailed.usersSaved && !listFailed.Closes());
  EXPECT_NE(listFailed.FailureText().find("リスト"), std::string::npos);
  EXPECT_EQ(Stored(store, 0, "TEL"), "090");
  listSaves = true;
  EXPECT_TRUE(model.StoreOnOk().Closes());
  EXPECT_EQ(model.StoreOnOk().FailureText(), "");
}

}  // namespace
}  // namespace tabcard
