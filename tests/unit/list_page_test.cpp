// The list page's handlers and its load and save over the in-memory registry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text.h"
#include "editor/list_page.h"
#include "store/layout.h"
#include "store/memory_registry.h"

namespace tabcard {
namespace {

using Strings = std::vector<std::string>;

struct FakeListView : ListPageView {
  std::string MemoText() const override { return memo; }
  void SetMemoText(std::string_view t) override { memo = t; }
  std::string HintText() const override { return hint; }
  void SetHintText(std::string_view t) override { hint = t; }
  void SetLines(const Strings& l, int s) override { lines = l, selected = s; }
  int Selection() const override { return selected; }
  void FocusMemo(bool all) override { focus = all ? "memo, all" : "memo"; }
  std::string memo, hint, focus;
  Strings lines;
  int selected = -1;
};

// Folds ASCII letters outside double-byte characters only: abc equals ABC,
// the full-width ＡＢＣ equals neither.
bool AsciiFoldEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (fold(a[i]) != fold(b[i])) {
      return false;
    }
  }
  return true;
}

// A stored value as text, a DWORD printed; "-" when missing.
std::string Stored(MemoryRegistry& reg, std::string_view key, std::string_view name) {
  RegValue v;
  const bool found = reg.Open(key, false) && reg.Query(name, &v);
  reg.Close();
  if (!found) return "-";
  return v.type == RegValue::Type::Dword ? std::to_string(v.dword) : v.text;
}

class ListPageTest : public ::testing::Test {
 protected:
  void Load(const Strings& phrases, const Strings& hints) {
    ASSERT_TRUE(SaveList(reg, PhraseList{phrases, hints}));
    ASSERT_TRUE(page.Load(reg));
  }
  void Expect(const Strings& phrases, const Strings& hints, const std::string& label) {
    EXPECT_EQ(page.list().ListPhrases, phrases) << label;
    EXPECT_EQ(page.list().ListHints, hints) << label;
    EXPECT_EQ(view.lines, phrases) << label;
  }
  MemoryRegistry reg;
  FakeListView view;
  ListPage page{view, AsciiFoldEquals};
};

TEST_F(ListPageTest, AddReplacesTheHintOfAnEqualEntryOrAppends) {
  struct Case {
    const char* content;
    const char* hint;
    Strings phrases, hints;
    std::string memoAfter, hintAfter;
  };
  const Case cases[] = {
      {"abc", "new", {"ABC", "x"}, {"new", "hx"}, "abc", "new"},
      {"ＡＢＣ", "new", {"ABC", "x", "ＡＢＣ"}, {"h", "hx", "new"}, "", ""},
      {"y", "", {"ABC", "x", "y"}, {"h", "hx", ""}, "", ""},
      {"", "new", {"ABC", "x"}, {"h", "hx"}, "", "new"},
  };
  for (const Case& c : cases) {
    Load({"ABC", "x"}, {"h", "hx"});
    view.selected = 1;
    view.memo = c.content;
    view.hint = c.hint;
    view.focus.clear();
    page.Add();
    Expect(c.phrases, c.hints, c.content);
    EXPECT_EQ(view.memo, c.memoAfter) << c.content;
    EXPECT_EQ(view.hint, c.hintAfter) << c.content;
    EXPECT_EQ(view.focus, c.phrases.size() == 3 ? "memo" : "") << c.content;
    EXPECT_EQ(view.selected, 1) << c.content;
  }
}

TEST_F(ListPageTest, MovesAndDeleteKeepHintsInStepAndStopAtTheEnds) {
  struct Case {
    void (ListPage::*handler)();
    int selected;
    Strings phrases, hints;
    int selectedAfter;
  };
  const Strings abc{"a", "b", "c"}, hints{"ha", "hb", "hc"};
  const Case cases[] = {
      {&ListPage::MoveUp, 1, {"b", "a", "c"}, {"hb", "ha", "hc"}, 0},
      {&ListPage::MoveUp, 0, abc, hints, 0},
      {&ListPage::MoveUp, -1, abc, hints, -1},
      {&ListPage::MoveDown, 1, {"a", "c", "b"}, {"ha", "hc", "hb"}, 2},
      {&ListPage::MoveDown, 2, abc, hints, 2},
      {&ListPage::MoveDown, -1, abc, hints, -1},
      {&ListPage::Delete, 1, {"a", "c"}, {"ha", "hc"}, -1},
      {&ListPage::Delete, -1, abc, hints, -1},
  };
  for (const Case& c : cases) {
    Load(abc, hints);
    view.selected = c.selected;
    (page.*c.handler)();
    const std::string label = std::to_string(&c - cases);
    Expect(c.phrases, c.hints, label);
    EXPECT_EQ(view.selected, c.selectedAfter) << label;
    EXPECT_EQ(page.Changed(), c.phrases != abc) << label;
  }
}

TEST_F(ListPageTest, DoubleClickThenCopyAndAddUpdatesThatHint) {
  Load({"a", "b"}, {"ha", "hb"});
  page.EditSelected();
  EXPECT_EQ(view.memo, "");
  view.selected = 1;
  page.EditSelected();
  EXPECT_EQ(view.memo + "/" + view.hint + "/" + view.focus, "b/hb/memo, all");
  page.CopyPhraseToHint();
  page.Add();
  Expect({"a", "b"}, {"ha", "b"}, "");
}

TEST_F(ListPageTest, SaveRewritesBothKeysWithoutStaleValues) {
  Load({"p0", "p1", "p2", "p3", "p4"}, {"h0", "h1", "h2", "h3", "h4"});
  view.selected = 1;
  page.Delete();
  ASSERT_TRUE(page.Save(reg));
  EXPECT_EQ(Stored(reg, ListItemsKey(), "ItemCount"), "4");
  for (int k = 0; k < 5; ++k) {
    const std::string from = k < 4 ? std::to_string(k < 1 ? k : k + 1) : "";
    EXPECT_EQ(Stored(reg, ListItemsKey(), Numbered("Item", k)), k < 4 ? "p" + from : "-");
    EXPECT_EQ(Stored(reg, ListHintKey(), Numbered("Hint", k)), k < 4 ? "h" + from : "-");
  }
  Load({"a"}, {"h"});
  view.selected = 0;
  page.Delete();
  ASSERT_TRUE(page.Save(reg));
  EXPECT_EQ(reg.KeyValues(ListItemsKey())->size(), 1u);
  EXPECT_EQ(Stored(reg, ListItemsKey(), "ItemCount"), "0");
  ASSERT_NE(reg.KeyValues(ListHintKey()), nullptr);
  EXPECT_TRUE(reg.KeyValues(ListHintKey())->empty());
}

// A wrong-typed phrase, or a count of two billion over one phrase: no empty
// rows, and OK leaves the stored list alone unless the page changed.
TEST_F(ListPageTest, UnreadableListIsRewrittenOnlyWhenThePageChanged) {
  for (const std::uint32_t count : {2u, 0x7FFFFFFFu}) {
    for (const bool change : {false, true}) {
      MemoryRegistry bad;
      bad.PutDword(ListItemsKey(), "ItemCount", count);
      bad.PutString(ListItemsKey(), "Item000", "kept");
      if (count == 2) bad.PutDword(ListItemsKey(), "Item001", 7);
      EXPECT_FALSE(page.Load(bad));
      EXPECT_TRUE(view.lines.empty());
      view.memo = change ? "new" : "";
      page.Add();
      EXPECT_TRUE(page.Save(bad));
      EXPECT_EQ(Stored(bad, ListItemsKey(), "ItemCount"), change ? "1" : std::to_string(count)) << change;
      EXPECT_EQ(Stored(bad, ListItemsKey(), "Item000"), change ? "new" : "kept") << change;
    }
  }
  // With nothing stored there is nothing to lose: OK stores the empty list.
  MemoryRegistry empty;
  EXPECT_FALSE(page.Load(empty));
  EXPECT_TRUE(page.Save(empty));
  EXPECT_EQ(Stored(empty, ListItemsKey(), "ItemCount"), "0");
}

}  // namespace
}  // namespace tabcard
