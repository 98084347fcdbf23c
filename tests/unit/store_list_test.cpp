// LoadList and SaveList over the in-memory registry.
#include <gtest/gtest.h>

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

TEST(LoadList, CountsOfNoneNegativeAndAbsurdSize) {
  struct Case {
    std::uint32_t count;
    std::size_t phrases;
    int opens;
  };
  const Case cases[] = {{0, 0, 1},
                        {static_cast<std::uint32_t>(-3), 0, 1},
                        {static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()), 65536, 2},
                        {65537, 65536, 2}};
  for (const Case& c : cases) {
    MemoryRegistry reg;
    reg.PutDword(ListItemsKey(), "ItemCount", c.count);
    reg.PutString(ListHintKey(), "Hint000", "h");
    PhraseList list;
    ASSERT_TRUE(LoadList(reg, &list)) << c.count;
    EXPECT_EQ(list.ListPhrases.size(), c.phrases) << c.count;
    EXPECT_EQ(list.ListHints.size(), c.phrases) << c.count;
    // No phrases: the hint key is not even opened.
    EXPECT_EQ(reg.opens(), c.opens) << c.count;
  }
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
