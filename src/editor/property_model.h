// The profile editor TfrmProperty without its window: the four user records,
// the current page and user, and the handlers of the frame and the three
// field pages. The window implements PropertyView and only mirrors its
// controls; the memo and list pages are models of their own, reached through
// PropertyPageHooks.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "store/profile_store.h"
#include "store/registry.h"

namespace tabcard {

// Tabs of PageControl1, in their order.
enum PropertyPage : int {
  kTabKojin = 0,      // personal
  kTabKinmusaki = 1,  // workplace
  kTabEtc = 2,        // other
  kTabMemo = 3,
  kTabList = 4,
};
constexpr int kPropertyPageCount = 5;
// The three pages with edit boxes; each also has its user list (cboUser1-3).
constexpr int kFieldPageCount = 3;

// The fields a field page shows, as a run of the 29 in storage order.
struct FieldRun {
  int first;
  int count;
};
inline constexpr std::array<FieldRun, kFieldPageCount> kFieldRuns = {{{0, 15}, {15, 9}, {24, 5}}};

// What the model needs of the window. An edit box is named by the value name
// of its field (kFieldNames: "KanjSei" ... "etc5"); texts are CP932. A user
// list is named by its field page (0 cboUser1, 1 cboUser2, 2 cboUser3).
class PropertyView {
 public:
  virtual ~PropertyView() = default;

  virtual std::string FieldText(std::string_view valueName) const = 0;
  virtual void SetFieldText(std::string_view valueName, std::string_view text) = 0;

  virtual void SetUserNames(int list, const UserNames& names) = 0;
  // The position picked in the list, or -1 when none is.
  virtual int SelectedUser(int list) const = 0;
  virtual void SelectUser(int list, int user) = 0;

  virtual void SetActivePage(int page) = 0;
};

// The memo and list pages' parts of the editor's creation and OK. An unset
// hook is a page that has nothing to do.
struct PropertyPageHooks {
  std::function<void()> loadMemo;  // after the users: slot count, grid, titles
  std::function<void()> loadList;  // then: phrases and hints
  std::function<bool()> saveList;  // OK, after the users; false when it failed
};

// What OK achieved. Unless both saves succeeded the dialog stays open with
// every edit in place, so the user can try again or cancel.
struct PropertySaveResult {
  bool usersSaved = false;
  bool listSaved = false;
  bool Closes() const { return usersSaved && listSaved; }
  // What the user is told when the dialog stays open; empty when it closes.
  std::string FailureText() const;
};

class PropertyModel {
 public:
  PropertyModel(RegistryBackend& store, PropertyView& view, PropertyPageHooks hooks = {});

  // Handlers of the frame and the field pages.
  void FormCreate();
  // After another tab became active: page is the one now shown.
  void PageShown(int page);
  // A user chosen in the user list of a field page.
  void ChooseUser(int list);
  PropertySaveResult StoreOnOk();

  // Whether a field differs from what was loaded (the page shown included).
  bool FieldsEdited();

  // The internal operations.
  bool LoadUsers();
  bool SaveUsers();
  void ShowPageFields(int fieldPage, int user);
  void StorePageFields(int fieldPage, int user);

  int currentPage() const { return currentPage_; }
  int currentUser() const { return currentUser_; }

 private:
  static bool IsFieldPage(int page) { return page >= 0 && page < kFieldPageCount; }
  static bool IsUser(int user) { return user >= 0 && user < kUserCount; }

  RegistryBackend& store_;
  PropertyView& view_;
  PropertyPageHooks hooks_;
  UserRecords records_;
  UserFlags loadFailed_{};
  UserFlags edited_{};  // a field of that user was changed in this dialog
  int currentPage_ = kTabKojin;
  int currentUser_ = 0;
};

}  // namespace tabcard
