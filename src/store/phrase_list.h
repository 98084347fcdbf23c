// The phrase list of the list page: "ListItems" (ItemCount and the phrases)
// and "ListHint" (one hint per phrase, no count of its own).
#pragma once

#include <string>
#include <vector>

#include "store/registry.h"

namespace tabcard {

// A stored ItemCount is not trusted: at most this many phrases are read or
// written, so a count edited to two billion neither hangs nor runs out of
// memory.
constexpr int kMaxPhrases = 65536;

struct PhraseList {
  std::vector<std::string> ListPhrases;
  std::vector<std::string> ListHints;  // hint i belongs to phrase i
};

// Reads ItemCount phrases (missing ones empty), then as many hints; the
// registry is asked only until every value the keys hold was met, so the
// work follows what is stored, not the count. A count that claims more
// missing phrases than stored ones plus 64 is damaged and fails the load. A
// failed phrase read leaves both lists empty; a failed hint read leaves every
// hint empty. Either gives false. After a load the lists are always the same
// length.
bool LoadList(RegistryBackend& backend, PhraseList* list);

// Whether anything of a phrase list is stored: an ItemCount or an Item000
// value of any type. A failed LoadList of a list that is not stored lost
// nothing; one of a stored list would lose it to the next save.
bool ListStored(RegistryBackend& backend);

// Deletes and rewrites both keys: ItemCount and Item000..., then Hint000...
// (a missing hint is written empty). The hint key is rewritten even when the
// phrase key failed; false when either failed.
bool SaveList(RegistryBackend& backend, const PhraseList& list);

}  // namespace tabcard
