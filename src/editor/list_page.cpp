#include "editor/list_page.h"

#include <algorithm>
#include <utility>

namespace tabcard {

ListPage::ListPage(ListPageView& view, PhraseEquals equals)
    : view_(view), equals_(std::move(equals)) {}

bool ListPage::Load(RegistryBackend& store) {
  const bool ok = LoadList(store, &list_);
  readable_ = ok || !ListStored(store);
  changed_ = false;
  Show(-1);
  return ok;
}

bool ListPage::Save(RegistryBackend& store) {
  if (!readable_ && !changed_) return true;
  return SaveList(store, list_);
}

void ListPage::Add() {
  const std::string content = view_.MemoText();
  if (content.empty()) return;
  const std::string hint = view_.HintText();
  auto& phrases = list_.ListPhrases;
  const auto equal = std::find_if(phrases.begin(), phrases.end(),
                                  [&](const std::string& p) { return equals_(p, content); });
  changed_ = true;
  if (equal != phrases.end()) {
    list_.ListHints[static_cast<std::size_t>(equal - phrases.begin())] = hint;
    return;
  }
  const int selected = view_.Selection();
  phrases.push_back(content);
  list_.ListHints.push_back(hint);
  Show(selected);
  view_.SetMemoText("");
  view_.FocusMemo(false);
  view_.SetHintText("");
}

void ListPage::Delete() {
  const int k = SelectedEntry();
  if (k < 0) return;
  list_.ListPhrases.erase(list_.ListPhrases.begin() + k);
  list_.ListHints.erase(list_.ListHints.begin() + k);
  changed_ = true;
  Show(-1);
}

void ListPage::MoveUp() {
  const int k = SelectedEntry();
  if (k <= 0) return;
  Swap(k, k - 1);
  Show(k - 1);
}

void ListPage::MoveDown() {
  const int k = SelectedEntry();
  if (k < 0 || k + 1 >= static_cast<int>(list_.ListPhrases.size())) return;
  Swap(k, k + 1);
  Show(k + 1);
}

void ListPage::EditSelected() {
  const int k = SelectedEntry();
  if (k < 0) return;
  view_.SetHintText(list_.ListHints[static_cast<std::size_t>(k)]);
  view_.SetMemoText(list_.ListPhrases[static_cast<std::size_t>(k)]);
  view_.FocusMemo(true);
}

void ListPage::CopyPhraseToHint() { view_.SetHintText(view_.MemoText()); }

int ListPage::SelectedEntry() const {
  const int k = view_.Selection();
  return k >= 0 && k < static_cast<int>(list_.ListPhrases.size()) ? k : -1;
}

void ListPage::Swap(int a, int b) {
  std::swap(list_.ListPhrases[static_cast<std::size_t>(a)], list_.ListPhrases[static_cast<std::size_t>(b)]);
  std::swap(list_.ListHints[static_cast<std::size_t>(a)], list_.ListHints[static_cast<std::size_t>(b)]);
  changed_ = true;
}

void ListPage::Show(int selected) { view_.SetLines(list_.ListPhrases, selected); }

}  // namespace tabcard
