// The memo page's handlers over real memo files in a scratch directory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/memo_page.h"
#include "store/layout.h"
#include "store/memo.h"
#include "store/memory_registry.h"
#include "memo_workdir.h"

namespace tabcard {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;
using Messages = std::vector<std::string>;

struct FakeMemoView : MemoPageView {
  void SetRows(const std::vector<std::string>& titles) override { rows = titles; }
  void SetRowText(int row, std::string_view t) override { rows.at(static_cast<std::size_t>(row)) = t; }
  int SelectedRow() const override { return selected; }
  void ShowTooltip(std::string_view t) override { tooltip = t; }
  std::string MemoText() const override { return memo; }
  void SetMemoText(std::string_view t) override { memo = t; }
  bool MemoModified() const override { return modified; }
  void SetMemoModified(bool m) override { modified = m; }
  bool MemoStorable() override {
    if (!storable) messages.push_back("unstorable");
    return storable;
  }
  bool Ask(std::string_view text, std::string_view caption) override {
    messages.push_back("ask " + std::string(caption) + ": " + std::string(text));
    return answer;
  }
  void Warn(std::string_view text, std::string_view caption) override {
    messages.push_back("warn " + std::string(caption) + ": " + std::string(text));
  }
  std::vector<std::string> rows, messages;
  std::string memo, tooltip;
  int selected = 0;
  bool modified = false, answer = true, storable = true;
};

class MemoPageTest : public testing::MemoWorkDir {
 protected:
  // A 1 x 10 memo page with files Memo000.txt ... as given.
  void Open(const std::vector<std::string>& files) {
    reg.PutDword(ConfigKey(kPageMemo), "ColCount", 1);
    reg.PutDword(ConfigKey(kPageMemo), "RowCount", 10);
    for (std::size_t i = 0; i < files.size(); ++i) WriteBytes(MemoFileName(static_cast<int>(i)), files[i]);
    page.Create(reg);
  }
  void Click(int row) { view.selected = row, page.RowChosen(); }
  void Type(const std::string& text) {
    view.memo = text, view.modified = true;
    page.TextEdited();
  }

  MemoryRegistry reg;
  FakeMemoView view;
  MemoPage page{view};
};

TEST_F(MemoPageTest, RowsFollowTheConfiguredSlotCount) {
  struct Case {
    const char* label;
    int cols, rows;  // 0: not stored
    std::size_t count;
  };
  const Case cases[] = {{"1x10", 1, 10, 10}, {"2x6", 2, 6, 12}, {"unreadable", 2, 0, 10}};
  for (int slot = 0; slot < 13; ++slot) WriteBytes(MemoFileName(slot), "m" + std::to_string(slot));
  for (const Case& c : cases) {
    MemoryRegistry config;
    config.PutDword(ConfigKey(kPageMemo), "ColCount", static_cast<std::uint32_t>(c.cols));
    if (c.rows > 0) config.PutDword(ConfigKey(kPageMemo), "RowCount", static_cast<std::uint32_t>(c.rows));
    page.Create(config);
    ASSERT_EQ(view.rows.size(), c.count) << c.label;
    const bool titled = c.rows > 0;
    EXPECT_EQ(view.rows.front(), titled ? "m0" : "") << c.label;
    EXPECT_EQ(view.rows.back(), titled ? "m" + std::to_string(c.count - 1) : "") << c.label;
  }
}

TEST_F(MemoPageTest, ReadCutsAtTheLimitAndAtAZeroByte) {
  struct Case {
    const char* label;
    std::string file;
    std::string shown;
  };
  const Case cases[] = {
      {"long", std::string(5000, 'a'), std::string(4096, 'a')},
      {"split_at_4096", std::string(4095, 'a') + "\x82\xa0" + "b", std::string(4095, 'a')},
      {"zero_inside", std::string("abc\0def", 7), "abc"},
      {"zero_first", std::string("\0abc", 4), ""},
      {"blank", "  \r\n \r\n", ""},
  };
  for (const Case& c : cases) {
    Open({"other", c.file});
    Click(1);
    view.memo = "old";
    page.Read();
    EXPECT_EQ(view.memo, c.shown) << c.label;
    EXPECT_FALSE(view.modified) << c.label;
    EXPECT_TRUE(view.messages.empty()) << c.label;
    // What Update writes back is exactly the box's text.
    view.modified = true;
    page.Update();
    EXPECT_EQ(ReadBytes(MemoFileName(1)), c.shown) << c.label;
  }
}

// The edited text belongs to the slot it came from (or, new, to the row it
// was typed under), never to the row that Read is about to load.
TEST_F(MemoPageTest, ReadsYesSavesWhereTheTextBelongs) {
  struct Case {
    const char* label;
    int readFirst;  // -1: nothing read before typing
    int typedAt;
    bool yes, storable;
    int savedTo;  // -1: nothing written
  };
  const Case cases[] = {
      {"read_then_edited", 1, 1, true, true, 1},
      {"answered_no", 1, 1, false, true, -1},
      {"new_text_under_an_empty_row", -1, 5, true, true, 5},
      {"unstorable_text_stays", 1, 1, true, false, -1},
  };
  for (const Case& c : cases) {
    Open({"zero", "one", "two", "three"});
    std::filesystem::remove(MemoFileName(5));
    if (c.readFirst >= 0) Click(c.readFirst), page.Read();
    Click(c.typedAt);
    Type("edited");
    Click(3);
    view.answer = c.yes;
    view.storable = c.storable;
    view.messages.clear();
    page.Read();
    EXPECT_EQ(view.messages.front(), "ask メモ読込み: 現在のメモを保存しますか？") << c.label;
    EXPECT_EQ(ReadBytes(MemoFileName(1)), c.savedTo == 1 ? "edited" : "one") << c.label;
    EXPECT_EQ(std::filesystem::exists(MemoFileName(5)), c.savedTo == 5) << c.label;
    if (c.savedTo >= 0) {
      EXPECT_EQ(view.rows[static_cast<std::size_t>(c.savedTo)], "edited") << c.label;
    }
    EXPECT_EQ(ReadBytes(MemoFileName(3)), "three") << c.label;
    EXPECT_EQ(view.memo + (view.modified ? "*" : ""), c.storable ? "three" : "edited*") << c.label;
  }
}

TEST_F(MemoPageTest, UpdateWritesOnlyAModifiedBoxIntoTheCurrentSlot) {
  Open({"zero", "one"});
  Click(1);
  EXPECT_EQ(view.tooltip, "one");
  page.Read();
  WriteBytes(MemoFileName(1), "changed meanwhile");
  page.Update();
  EXPECT_EQ(ReadBytes(MemoFileName(1)), "changed meanwhile");

  page.Clear();
  page.Update();
  EXPECT_TRUE(std::filesystem::is_regular_file(MemoFileName(1)));
  EXPECT_EQ(ReadBytes(MemoFileName(1)), "");
  EXPECT_EQ(view.rows[1], "");
  // Reading the emptied row drops unsaved text without a question.
  Type("unsaved");
  page.Read();
  EXPECT_EQ(view.memo + (view.modified ? "*" : ""), "");

  // An empty row selected, typed into and updated.
  Click(5);
  Type("new memo\r\nline 2\r\n");
  page.Update();
  EXPECT_EQ(ReadBytes(MemoFileName(5)), "new memo\r\nline 2\r\n");
  EXPECT_EQ(view.rows[5], "new memo\r\nline 2");
  EXPECT_FALSE(view.modified);
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(MemoPageTest, FailuresWarnAndLeaveTheTextModified) {
  Open({"zero"});
  // A titled row whose file can be neither read nor written any more.
  std::filesystem::remove(MemoFileName(0));
  std::filesystem::create_directory(MemoFileName(0));
  Type("unsaved");
  page.Read();
  EXPECT_EQ(view.messages, (Messages{"ask メモ読込み: 現在のメモを保存しますか？",
                                     "warn メモ保存: メモファイルの保存に失敗しました！",
                                     "warn メモ読込み: メモファイルがありません！"}));
  EXPECT_EQ(view.memo + (view.modified ? "*" : ""), "");
  Type("text");
  page.Update();
  EXPECT_EQ(view.messages.back(), "warn メモ保存: メモファイルの保存に失敗しました！");
  EXPECT_EQ(view.memo + (view.modified ? "*" : ""), "text*");
  EXPECT_EQ(view.rows[0], "zero");
}

}  // namespace
}  // namespace tabcard
