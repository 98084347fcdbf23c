// LoadList and SaveList over the in-memory registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>

#include "core/text.h"
#include "store/layout.h"
#include "store/memory_registry.h"
#include "store/phrase_list.h"
#include "store_fixture.h"

namespace tabcard {
namespace {

using testing::RecordingRegistry;
using testing::Value;
using Type = RegValue::Type;

PhraseList Five() {
  PhraseList list;
  for (int k = 0; k < 5; ++k) {
    list.ListPhrases.push_back("定型文" + std::to_string(k));
    list.ListHints.push_back("ヒント" + std::to_string(k));
  }
  return list;
}

TEST(LoadList, MissingKeyFailsWithEmptyLists) {
  MemoryRegistry reg;
  PhraseList list = Five();
  EXPECT_FALSE(LoadList(reg, &list));
  EXPECT_TRUE(list.ListPhrases.empty());
  EXPECT_TRUE(list.ListHints.empty());
  EXPECT_FALSE(reg.HasKey(ListItemsKey()));
  EXPECT_FALSE(reg.HasKey(ListHintKey()));
}

TEST(LoadList, MissingPhrasesAndHintsAreEmpty) {
  MemoryRegistry reg;
  reg.PutDword(ListItemsKey(), "ItemCount", 3);
  reg.PutString(ListItemsKey(), "Item000", "a");
  PhraseList list;
  ASSERT_TRUE(LoadList(reg, &list));
  EXPECT_EQ(list.ListPhrases, (std::vector<std::string>{"a", "", ""}));
  EXPECT_EQ(list.ListHints, (std::vector<std::string>{"", "", ""}));

  reg.PutString(ListHintKey(), "Hint001", "h");
  ASSERT_TRUE(LoadList(reg, &list));
  EXPECT_EQ(list.ListHints, (std::vector<std::string>{"", "h", ""}));
  EXPECT_EQ(reg.maxOpenAtOnce(), 1);
}

// The count against what the key holds: the registry is asked only until
// the stored values were met, and a count with more gaps than phrases plus 64
// is damaged.
TEST(LoadList, CountsAgainstWhatTheKeyHolds) {
  constexpr auto kHuge = static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max());
  struct Case {
    const char* label;
    std::uint32_t count;
    int stored;  // Item000 up to this, each with its hint
    int junk;    // values of other names in the phrase key
    bool ok;
    std::size_t phrases;
    int maxQueries;
  };
  const Case cases[] = {
      // Every case asks for ItemCount first.
      {"none", 0, 0, 0, true, 0, 1},
      {"negative", static_cast<std::uint32_t>(-3), 2, 0, true, 0, 1},
      {"huge over nothing", kHuge, 0, 0, false, 0, 1},
      {"huge over five", kHuge, 5, 0, false, 0, 1},
      {"stored larger than claimed", 2, 10, 0, true, 2, 1 + 2 + 2},
      {"gaps up to the phrases plus 64", 164, 50, 0, true, 164, 1 + 50 + 50},
      {"one gap more", 165, 50, 0, false, 0, 1},
      // Other values make the count believable at first; the phrases found
      // decide, and the names asked stay within the count.
      {"gaps hidden by other values", 150, 40, 60, false, 0, 1 + 150},
  };
  for (const Case& c : cases) {
    MemoryRegistry reg;
    reg.PutDword(ListItemsKey(), "ItemCount", c.count);
    for (int k = 0; k < c.stored; ++k) {
      reg.PutString(ListItemsKey(), Numbered("Item", k), "p" + std::to_string(k));
      reg.PutString(ListHintKey(), Numbered("Hint", k), "h" + std::to_string(k));
    }
    for (int k = 0; k < c.junk; ++k) reg.PutString(ListItemsKey(), "x" + std::to_string(k), "");
    PhraseList list = Five();
    EXPECT_EQ(LoadList(reg, &list), c.ok) << c.label;
    ASSERT_EQ(list.ListPhrases.size(), c.phrases) << c.label;
    ASSERT_EQ(list.ListHints.size(), c.phrases) << c.label;
    EXPECT_LE(reg.queries(), c.maxQueries) << c.label;
    const std::size_t last = std::min<std::size_t>(c.phrases, static_cast<std::size_t>(c.stored));
    if (last > 0) {
      EXPECT_EQ(list.ListPhrases[last - 1], "p" + std::to_string(last - 1)) << c.label;
      EXPECT_EQ(list.ListHints[last - 1], "h" + std::to_string(last - 1)) << c.label;
    }
    if (c.phrases > last) {
      EXPECT_EQ(list.ListPhrases.back(), "") << c.label;
    }
    // Damaged or not, a load writes nothing.
    EXPECT_EQ(reg.KeyValues(ListItemsKey())->size(), static_cast<std::size_t>(1 + c.stored + c.junk))
        << c.label;
  }
}

TEST(LoadList, GapsInsideTheListAndMissingHintsCostOnlyWhatIsStored) {
  MemoryRegistry reg;
  reg.PutDword(ListItemsKey(), "ItemCount", 4);
  reg.PutString(ListItemsKey(), "Item000", "a");
  reg.PutString(ListItemsKey(), "Item003", "d");
  reg.PutString(ListHintKey(), "Hint001", "h");
  PhraseList list;
  ASSERT_TRUE(LoadList(reg, &list));
  EXPECT_EQ(list.ListPhrases, (std::vector<std::string>{"a", "", "", "d"}));
  EXPECT_EQ(list.ListHints, (std::vector<std::string>{"", "h", "", ""}));
  EXPECT_EQ(reg.queries(), 1 + 4 + 2);  // ItemCount, four phrases, hints up to the one stored
}

TEST(LoadList, WrongTypedPhraseEmptiesBothAndWrongTypedHintEmptiesHints) {
  MemoryRegistry reg;
  ASSERT_TRUE(SaveList(reg, Five()));
  reg.Put(ListHintKey(), "Hint004", Value(Type::Dword, 4));
  PhraseList list;
  EXPECT_FALSE(LoadList(reg, &list));
  EXPECT_EQ(list.ListPhrases, Five().ListPhrases);
  EXPECT_EQ(list.ListHints, std::vector<std::string>(5));

  reg.Put(ListItemsKey(), "Item002", Value(Type::Other, 0, "x"));
  EXPECT_FALSE(LoadList(reg, &list));
  EXPECT_TRUE(list.ListPhrases.empty());
  EXPECT_TRUE(list.ListHints.empty());

  reg.Put(ListItemsKey(), "ItemCount", Value(Type::String, 0, "5"));
  EXPECT_FALSE(LoadList(reg, &list));
  EXPECT_TRUE(list.ListPhrases.empty());
}

TEST(LoadList, TextsEndAtTheirFirstZeroAndMayBeLarge) {
  MemoryRegistry reg;
  reg.PutDword(ListItemsKey(), "ItemCount", 2);
  reg.PutString(ListItemsKey(), "Item000", std::string("ab\0cd", 5));
  reg.Put(ListItemsKey(), "Item001", Value(Type::ExpandString, 0, std::string(1 << 20, 'x')));
  PhraseList list;
  ASSERT_TRUE(LoadList(reg, &list));
  EXPECT_EQ(list.ListPhrases[0], "ab");
  EXPECT_EQ(list.ListPhrases[1].size(), 1u << 20);
}

TEST(SaveList, RoundTripAndNoStaleEntriesAfterADelete) {
  MemoryRegistry reg;
  ASSERT_TRUE(SaveList(reg, Five()));
  PhraseList four = Five();
  four.ListPhrases.erase(four.ListPhrases.begin() + 1);
  four.ListHints.erase(four.ListHints.begin() + 1);
  ASSERT_TRUE(SaveList(reg, four));
  PhraseList loaded;
  ASSERT_TRUE(LoadList(reg, &loaded));
  EXPECT_EQ(loaded.ListPhrases, four.ListPhrases);
  EXPECT_EQ(loaded.ListHints, four.ListHints);
  EXPECT_EQ(reg.KeyValues(ListItemsKey())->count("item004"), 0u);
  EXPECT_EQ(reg.KeyValues(ListHintKey())->count("hint004"), 0u);
  EXPECT_EQ(reg.maxOpenAtOnce(), 1);
}

TEST(SaveList, EmptyListLeavesACountOfZeroAndAnEmptyHintKey) {
  MemoryRegistry reg;
  ASSERT_TRUE(SaveList(reg, Five()));
  reg.PutString(ListItemsKey() + "\\Sub", "x", "below");
  ASSERT_TRUE(SaveList(reg, PhraseList{}));
  ASSERT_NE(reg.KeyValues(ListItemsKey()), nullptr);
  EXPECT_EQ(reg.KeyValues(ListItemsKey())->size(), 1u);
  EXPECT_EQ(reg.KeyValues(ListItemsKey())->at("itemcount").dword, 0u);
  EXPECT_FALSE(reg.HasKey(ListItemsKey() + "\\Sub"));
  ASSERT_NE(reg.KeyValues(ListHintKey()), nullptr);
  EXPECT_TRUE(reg.KeyValues(ListHintKey())->empty());
}

TEST(SaveList, WritesInOrderAndFillsMissingHints) {
  MemoryRegistry inner;
  RecordingRegistry reg(inner);
  PhraseList list;
  list.ListPhrases = {"p0", "p1"};
  list.ListHints = {"h0"};
  ASSERT_TRUE(SaveList(reg, list));
  const std::string items = ListItemsKey() + ":";
  const std::string hints = ListHintKey() + ":";
  EXPECT_EQ(reg.writes,
            (std::vector<std::string>{"delete " + ListItemsKey(), items + "ItemCount", items + "Item000",
                                      items + "Item001", "delete " + ListHintKey(), hints + "Hint000",
                                      hints + "Hint001"}));
  EXPECT_EQ(inner.KeyValues(ListHintKey())->at("hint001").text, "");
}

TEST(SaveList, HintKeyIsRewrittenEvenWhenThePhrasesFailed) {
  MemoryRegistry reg;
  ASSERT_TRUE(SaveList(reg, Five()));
  reg.FailWritesAfter(2);
  EXPECT_FALSE(SaveList(reg, Five()));
  EXPECT_EQ(reg.KeyValues(ListItemsKey())->size(), 2u);  // ItemCount and Item000
  ASSERT_NE(reg.KeyValues(ListHintKey()), nullptr);
  EXPECT_TRUE(reg.KeyValues(ListHintKey())->empty());  // deleted and created again
}

}  // namespace
}  // namespace tabcard
