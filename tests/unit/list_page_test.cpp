// The list page's handlers and its load and save over the in-memory registry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text.h"
#include "editor/list_page.h"
#include "store/layout.h"
#include "store/memory_registry.h"
#include "store_fixture.h"

namespace tabcard {
namespace {

using Strings = std::vector<std::string>;

class FakeListView : public ListPageView {
 public:
  std::string MemoText() const override { return memo; }
  void SetMemoText(std::string_view text) override { memo = text; }
  std::string HintText() const override { return hint; }
  void SetHintText(std::string_view text) override { hint = text; }
  void SetLines(const Strings& l, int s) override {
    lines = l;
    selected = s;
  }
  int Selection() const override { return selected; }
  void FocusMemo(bool selectAll) override { focus = selectAll ? "memo, all" : "memo"; }

  std::string memo, hint, focus;
  Strings lines;
  int selected = -1;
};

// Folds ASCII letters only and leaves both bytes of a double-byte character
// alone, so abc equals ABC and the full-width ＡＢＣ differs from both.
bool AsciiFoldEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (IsLeadByte(x)) {
      if (x != y || ++i >= a.size() || a[i] != b[i]) return false;
      continue;
    }
    auto fold = [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
    if (fold(x) != fold(y)) return false;
  }
  return true;
}

// A stored value as text: a DWORD printed, "<none>" when missing.
std::string Stored(MemoryRegistry& reg, std::string_view key, std::string_view name) {
  if (!reg.Open(key, false)) return "<no key>";
  RegValue v;
  const bool found = reg.Query(name, &v);
  reg.Close();
  if (!found) return "<none>";
  return v.type == RegValue::Type::Dword ? std::to_string(v.dword) : v.text;
}

void StoreList(MemoryRegistry& reg, const Strings& phrases, const Strings& hints) {
  ASSERT_TRUE(SaveList(reg, PhraseList{phrases, hints}));
}

class ListPageTest : public ::testing::Test {
 protected:
  void Load(const Strings& phrases, const Strings& hints) {
    StoreList(reg, phrases, hints);
    ASSERT_TRUE(page.Load(reg));
  }

  MemoryRegistry reg;
  FakeListView view;
  ListPage page{view, AsciiFoldEquals};
};

TEST_F(ListPageTest, AddMatchesIgnoringAsciiCaseOnly) {
  struct Case {
    const char* content;
    Strings phrases;
    Strings hints;
    std::string memoAfter;
    std::string hintAfter;
  };
  const Case cases[] = {
      {"abc", {"ABC", "x"}, {"new", "hx"}, "abc", "new"},
      {"ＡＢＣ", {"ABC", "x", "ＡＢＣ"}, {"h", "hx", "new"}, "", ""},
      {"", {"ABC", "x"}, {"h", "hx"}, "", "new"},
  };
  for (const Case& c : cases) {
    Load({"ABC", "x"}, {"h", "hx"});
    view.selected = 1;
    view.memo = c.content;
    view.hint = "new";
    page.cmdAddListClick();
    EXPECT_EQ(page.list().ListPhrases, c.phrases) << c.content;
    EXPECT_EQ(page.list().ListHints, c.hints) << c.content;
    EXPECT_EQ(view.lines, c.phrases) << c.content;
    EXPECT_EQ(view.memo, c.memoAfter) << c.content;
    EXPECT_EQ(view.hint, c.hintAfter) << c.content;
    EXPECT_EQ(view.selected, 1) << c.content;
    EXPECT_EQ(page.Changed(), *c.content != '\0') << c.content;
  }
  // A new entry with an empty hint box gets an empty hint; the content box
  // takes the focus.
  view.memo = "y";
  view.hint.clear();
  page.cmdAddListClick();
  EXPECT_EQ(page.list().ListHints.back(), "");
  EXPECT_EQ(view.focus, "memo");
}

TEST_F(ListPageTest, MovesAndDeleteKeepHintsInStepAndStopAtTheEnds) {
  struct Case {
    void (ListPage::*handler)();
    int selected;
    Strings phrases;
    Strings hints;
    int selectedAfter;
  };
  const Strings abc{"a", "b", "c"};
  const Strings hints{"ha", "hb", "hc"};
  const Case cases[] = {
      {&ListPage::cmdListUpClick, 1, {"b", "a", "c"}, {"hb", "ha", "hc"}, 0},
      {&ListPage::cmdListUpClick, 0, abc, hints, 0},
      {&ListPage::cmdListUpClick, -1, abc, hints, -1},
      {&ListPage::cmdListDownClick, 1, {"a", "c", "b"}, {"ha", "hc", "hb"}, 2},
      {&ListPage::cmdListDownClick, 2, abc, hints, 2},
      {&ListPage::cmdListDownClick, -1, abc, hints, -1},
      {&ListPage::cmdDeListClick, 1, {"a", "c"}, {"ha", "hc"}, -1},
      {&ListPage::cmdDeListClick, -1, abc, hints, -1},
  };
  for (const Case& c : cases) {
    Load(abc, hints);
    view.selected = c.selected;
    (page.*c.handler)();
    const std::string label = std::to_string(&c - cases);
    EXPECT_EQ(page.list().ListPhrases, c.phrases) << label;
    EXPECT_EQ(page.list().ListHints, c.hints) << label;
    EXPECT_EQ(view.lines, c.phrases) << label;
    EXPECT_EQ(view.selected, c.selectedAfter) << label;
    EXPECT_EQ(page.Changed(), c.phrases != abc) << label;
  }
}

TEST_F(ListPageTest, DoubleClickThenAddUpdatesThatHint) {
  Load({"a", "b"}, {"ha", "hb"});
  view.selected = -1;
  page.ListBox1DblClick();
  EXPECT_EQ(view.memo, "");
  view.selected = 1;
  page.ListBox1DblClick();
  EXPECT_EQ(view.memo, "b");
  EXPECT_EQ(view.hint, "hb");
  EXPECT_EQ(view.focus, "memo, all");
  page.cmdCopyClick();
  EXPECT_EQ(view.hint, "b");
  page.cmdAddListClick();
  EXPECT_EQ(page.list().ListPhrases, (Strings{"a", "b"}));
  EXPECT_EQ(page.list().ListHints, (Strings{"ha", "b"}));
}

TEST_F(ListPageTest, DeletingTheSecondOfFiveLeavesNoStaleValues) {
  Load({"p0", "p1", "p2", "p3", "p4"}, {"h0", "h1", "h2", "h3", "h4"});
  view.selected = 1;
  page.cmdDeListClick();
  ASSERT_TRUE(page.Save(reg));
  EXPECT_EQ(Stored(reg, ListItemsKey(), "ItemCount"), "4");
  for (int k = 0; k < 4; ++k) {
    const std::string from = std::to_string(k < 1 ? k : k + 1);
    EXPECT_EQ(Stored(reg, ListItemsKey(), Numbered("Item", k)), "p" + from);
    EXPECT_EQ(Stored(reg, ListHintKey(), Numbered("Hint", k)), "h" + from);
  }
  EXPECT_EQ(Stored(reg, ListItemsKey(), "Item004"), "<none>");
  EXPECT_EQ(Stored(reg, ListHintKey(), "Hint004"), "<none>");
}

TEST_F(ListPageTest, EmptyListSavesOnlyItemCountAndAnEmptyHintKey) {
  Load({"a"}, {"h"});
  view.selected = 0;
  page.cmdDeListClick();
  ASSERT_TRUE(page.Save(reg));
  EXPECT_EQ(reg.KeyValues(ListItemsKey())->size(), 1u);
  EXPECT_EQ(Stored(reg, ListItemsKey(), "ItemCount"), "0");
  ASSERT_NE(reg.KeyValues(ListHintKey()), nullptr);
  EXPECT_TRUE(reg.KeyValues(ListHintKey())->empty());
}

TEST_F(ListPageTest, UnreadableListIsRewrittenOnlyWhenThePageChanged) {
  for (const bool change : {false, true}) {
    MemoryRegistry bad;
    bad.PutDword(ListItemsKey(), "ItemCount", 2);
    bad.PutString(ListItemsKey(), "Item000", "kept");
    bad.PutDword(ListItemsKey(), "Item001", 7);
    EXPECT_FALSE(page.Load(bad));
    EXPECT_TRUE(view.lines.empty());
    if (change) {
      view.memo = "new";
      page.cmdAddListClick();
    }
    EXPECT_TRUE(page.Save(bad));
    EXPECT_EQ(Stored(bad, ListItemsKey(), "ItemCount"), change ? "1" : "2") << change;
    EXPECT_EQ(Stored(bad, ListItemsKey(), "Item000"), change ? "new" : "kept") << change;
  }
  // Nothing stored at all: there is nothing to lose, so OK stores the empty list.
  MemoryRegistry empty;
  EXPECT_FALSE(page.Load(empty));
  EXPECT_TRUE(page.Save(empty));
  EXPECT_EQ(Stored(empty, ListItemsKey(), "ItemCount"), "0");
}

}  // namespace
}  // namespace tabcard
