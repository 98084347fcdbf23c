#include "editor/property_model.h"

#include <utility>

namespace tabcard {

PropertyModel::PropertyModel(RegistryBackend& store, PropertyView& view, PropertyPageHooks hooks)
    : store_(store), view_(view), hooks_(std::move(hooks)) {}

void PropertyModel::FormCreate() {
  LoadUsers();
  if (hooks_.loadMemo) hooks_.loadMemo();
  if (hooks_.loadList) hooks_.loadList();

  // The lists keep the names loaded here while the dialog is open, even when
  // a kanji name is edited: the derived name shows the next time.
  UserNames names;
  for (int user = 0; user < kUserCount; ++user) names[user] = records_[user].UserName;
  for (int list = 0; list < kFieldPageCount; ++list) view_.SetUserNames(list, names);

  view_.SetActivePage(kTabKojin);
  currentPage_ = kTabKojin;
  currentUser_ = 0;
  for (int list = 0; list < kFieldPageCount; ++list) view_.SelectUser(list, currentUser_);
  for (int page = 0; page < kFieldPageCount; ++page) ShowPageFields(page, currentUser_);
}

void PropertyModel::PageShown(int page) {
  if (IsFieldPage(currentPage_)) StorePageFields(currentPage_, currentUser_);
  currentPage_ = page;
  for (int list = 0; list < kFieldPageCount; ++list) view_.SelectUser(list, currentUser_);
  for (int p = 0; p < kFieldPageCount; ++p) ShowPageFields(p, currentUser_);
}

void PropertyModel::ChooseUser(int list) {
  StorePageFields(list, currentUser_);
  // Picked by position, so two users of the same name stay apart.
  const int picked = view_.SelectedUser(list);
  if (IsUser(picked)) currentUser_ = picked;
  ShowPageFields(list, currentUser_);
}

std::string PropertySaveResult::FailureText() const {
  if (Closes()) return {};
  const char* what = !usersSaved ? "プロフィール" : "リスト";
  return std::string(what) + "を保存できませんでした。\nもう一度 OK を押すか、ｷｬﾝｾﾙで閉じてください。";
}

PropertySaveResult PropertyModel::StoreOnOk() {
  if (IsFieldPage(currentPage_)) StorePageFields(currentPage_, currentUser_);
  PropertySaveResult result;
  result.usersSaved = SaveUsers();
  result.listSaved = hooks_.saveList ? hooks_.saveList() : true;
  return result;
}

bool PropertyModel::FieldsEdited() {
  if (IsFieldPage(currentPage_)) StorePageFields(currentPage_, currentUser_);
  for (bool edited : edited_) {
    if (edited) return true;
  }
  return false;
}

bool PropertyModel::LoadUsers() {
  edited_ = UserFlags{};
  return LoadUserRecords(store_, &records_, &loadFailed_);
}

bool PropertyModel::SaveUsers() {
  // A user that could not be read holds empty fields, not the stored ones:
  // writing it unedited would erase every value that was readable.
  UserFlags skip{};
  for (int user = 0; user < kUserCount; ++user) skip[user] = loadFailed_[user] && !edited_[user];
  return SaveUserRecords(store_, records_, skip);
}

void PropertyModel::ShowPageFields(int fieldPage, int user) {
  if (!IsFieldPage(fieldPage) || !IsUser(user)) return;
  const FieldRun run = kFieldRuns[fieldPage];
  const ProfileFields& fields = records_[user].fields;
  for (int i = run.first; i < run.first + run.count; ++i) view_.SetFieldText(kFieldNames[i], fields[i]);
}

void PropertyModel::StorePageFields(int fieldPage, int user) {
  if (!IsFieldPage(fieldPage) || !IsUser(user)) return;
  const FieldRun run = kFieldRuns[fieldPage];
  ProfileFields& fields = records_[user].fields;
  for (int i = run.first; i < run.first + run.count; ++i) {
    std::string text = view_.FieldText(kFieldNames[i]);
    if (text != fields[i]) edited_[user] = true;
    fields[i] = std::move(text);
  }
}

}  // namespace tabcard
