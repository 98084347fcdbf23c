#include "store/phrase_list.h"

#include <algorithm>

#include "core/text.h"
#include "store/layout.h"

namespace tabcard {
namespace {

// A count may claim phrases that are not stored (each reads as empty, as
// after a value was deleted by hand), but not more such gaps than phrases
// stored plus this: a count of two billion over a few phrases is damaged.
constexpr std::size_t kSpareGaps = 64;

bool Believable(std::size_t claimed, std::size_t stored) {
  return claimed <= stored || claimed - stored <= stored + kSpareGaps;
}

// A damaged count fails the load, as a value of a wrong type does: showing
// the stored phrases with their numbers would still show every gap up to the
// highest one, and a failed load is never written back unless the user
// edits the list. The key's value count decides most damaged counts before
// any phrase is read; the phrases found decide the rest.
bool ReadPhrases(RegistrySession& s, std::vector<std::string>* phrases) {
  std::int32_t count = 0;
  if (!s.OpenForRead(ListItemsKey()) || !s.ReadInteger("ItemCount", &count)) return false;
  const auto n = static_cast<std::size_t>(std::clamp<std::int32_t>(count, 0, kMaxPhrases));
  const std::size_t values = s.ValueCount();
  const std::size_t stored = values == 0 ? 0 : values - 1;  // ItemCount is one of them
  if (!Believable(n, stored)) return false;
  std::size_t found = 0;
  return s.ReadNumbered("Item", n, stored, phrases, &found) && Believable(n, found);
}

bool ReadHints(RegistrySession& s, std::size_t n, std::vector<std::string>* hints) {
  // A missing key reads every hint as empty, like missing values.
  s.OpenForRead(ListHintKey());
  std::size_t found = 0;
  return s.ReadNumbered("Hint", n, s.ValueCount(), hints, &found);
}

std::size_t SavedCount(const PhraseList& list) {
  return std::min(list.ListPhrases.size(), static_cast<std::size_t>(kMaxPhrases));
}

bool WritePhrases(RegistrySession& s, const PhraseList& list) {
  const std::size_t n = SavedCount(list);
  if (!s.OpenForWrite(ListItemsKey()) || !s.WriteInteger("ItemCount", static_cast<std::int32_t>(n))) {
    return false;
  }
  for (std::size_t k = 0; k < n; ++k) {
    if (!s.WriteString(Numbered("Item", static_cast<int>(k)), list.ListPhrases[k])) return false;
  }
  return true;
}

bool WriteHints(RegistrySession& s, const PhraseList& list) {
  const std::size_t n = SavedCount(list);
  if (!s.OpenForWrite(ListHintKey())) return false;
  for (std::size_t k = 0; k < n; ++k) {
    const std::string_view hint = k < list.ListHints.size() ? std::string_view(list.ListHints[k]) : "";
    if (!s.WriteString(Numbered("Hint", static_cast<int>(k)), hint)) return false;
  }
  return true;
}

}  // namespace

bool LoadList(RegistryBackend& backend, PhraseList* list) {
  list->ListPhrases.clear();
  list->ListHints.clear();
  RegistrySession session(backend);
  if (!ReadPhrases(session, &list->ListPhrases)) {
    list->ListPhrases.clear();
    return false;
  }
  session.Close();
  const std::size_t n = list->ListPhrases.size();
  if (n == 0) return true;
  if (!ReadHints(session, n, &list->ListHints)) {
    // Empty hints rather than none: a caller that looks up hint i of phrase
    // i must always find it.
    list->ListHints.assign(n, std::string());
    return false;
  }
  return true;
}

bool ListStored(RegistryBackend& backend) {
  if (!backend.Open(ListItemsKey(), false)) return false;
  RegValue ignored;
  const bool stored =
      backend.Query("ItemCount", &ignored) || backend.Query(Numbered("Item", 0), &ignored);
  backend.Close();
  return stored;
}

bool SaveList(RegistryBackend& backend, const PhraseList& list) {
  RegistrySession session(backend);
  // A key that would not go away is still rewritten: the user's list is
  // saved, and values left above the new count are never read.
  const bool phrasesDeleted = session.DeleteTree(ListItemsKey());
  const bool phrasesOk = WritePhrases(session, list);
  const bool hintsDeleted = session.DeleteTree(ListHintKey());
  const bool hintsOk = WriteHints(session, list);
  return phrasesDeleted && phrasesOk && hintsDeleted && hintsOk;
}

}  // namespace tabcard
