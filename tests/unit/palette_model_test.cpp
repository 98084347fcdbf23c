#include "app/palette_model.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "palette_view_fake.h"
#include "store/memory_registry.h"

namespace tabcard {
namespace {

const FontFace kFont{"\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e", 9};

using testing::FakeView;

struct Fixture {
  MemoryRegistry store;
  FakeView view;
  PaletteModel model{store, kFont, view, DpiScale(96)};
};

std::string Base() { return kBaseKey; }

void PutWindowState(MemoryRegistry& r, int top, int left, int height, int width, int page,
                    int user, bool topMost = true) {
  r.PutDword(Base(), "Top", static_cast<std::uint32_t>(top));
  r.PutDword(Base(), "Left", static_cast<std::uint32_t>(left));
  r.PutDword(Base(), "Height", static_cast<std::uint32_t>(height));
  r.PutDword(Base(), "Width", static_cast<std::uint32_t>(width));
  r.PutDword(Base(), "WndTopMost", topMost ? 1 : 0);
  r.PutDword(Base(), "Page", static_cast<std::uint32_t>(page));
  r.PutDword(Base(), "UserNo", static_cast<std::uint32_t>(user));
}

// A complete store, as the options dialog's save leaves it.
void PutSettings(MemoryRegistry& r, bool bootInTray = false) {
  PaletteSettings s;
  s.configs = StandardPageConfigs(kFont);
  for (int p = 0; p < kPersonalPageCount; ++p) {
    for (int k = 0; k < kStandardSlotCount; ++k) s.items[p][k] = StandardPageItems(p)[k];
  }
  s.BootInTaskTray = bootInTray;
  ASSERT_TRUE(SaveSettings(r, s));
}

TEST(PaletteModelTest, ConstructionValues) {
  Fixture f;
  EXPECT_FALSE(f.model.BootInTaskTray);
  EXPECT_FALSE(f.model.CloseInTaskTray);
  EXPECT_TRUE(f.model.WndTopMost);
  EXPECT_FALSE(f.model.TabMode);
  EXPECT_EQ(f.model.UserNo, 0);
  EXPECT_FALSE(f.model.FirstRun);
  EXPECT_FALSE(f.model.Exiting);
  for (int i = 0; i < kUserCount; ++i) EXPECT_EQ(f.model.userNames[i], StandardUserName(i));
  EXPECT_TRUE(f.model.list().ListPhrases.empty());
  EXPECT_TRUE(f.model.list().ListHints.empty());
  EXPECT_EQ(f.view.changes, 0);
}

TEST(PaletteModelTest, EmptyStoreGivesStandardPalette) {
  Fixture f;
  f.model.FormCreate();
  EXPECT_TRUE(f.model.FirstRun);
  EXPECT_EQ(f.view.page, kPageKojin1);
  EXPECT_TRUE(f.view.visible);
  EXPECT_TRUE(f.view.topMost);
  EXPECT_EQ(f.view.bounds.width, 130);
  EXPECT_EQ(f.view.bounds.height, 160);
  EXPECT_EQ(f.view.bounds.left, (1280 - 130) / 2);
  EXPECT_EQ(f.view.bounds.top, (1024 - 160) / 2);
  const auto& k1 = f.view.cells[kPageKojin1];
  ASSERT_EQ(k1.size(), 6u);
  for (int r = 0; r < 6; ++r) {
    EXPECT_EQ(k1[r][0], StandardPageItems(0)[r]);
    EXPECT_EQ(k1[r][1], StandardPageItems(0)[6 + r]);
  }
  // Standard geometry: 2 x 6 personal pages, 1 x 10 memo and list.
  EXPECT_EQ(f.view.geometry[kPageMemo].cols, 1);
  EXPECT_EQ(f.view.geometry[kPageMemo].rows, 10);
  EXPECT_EQ(f.view.geometry[kPageKojin1].rowHeight, 14);
  EXPECT_EQ(f.view.fonts[kPageKojin1], (GridFont{kFont.name, 9, false, false}));
}

TEST(PaletteModelTest, CompleteStoreRestoresWindowAndUser) {
  Fixture f;
  PutSettings(f.store);
  PutWindowState(f.store, 100, 200, 300, 150, kPageMemo, 2);
  f.store.PutString(UserKey(2), "KanjSei", "\x8e\x52\x93\x63");  // 山田
  f.model.FormCreate();
  EXPECT_FALSE(f.model.FirstRun);
  EXPECT_EQ(f.view.page, kPageMemo);
  EXPECT_EQ(f.view.bounds.left, 200);
  EXPECT_EQ(f.view.bounds.top, 100);
  EXPECT_EQ(f.view.bounds.width, 150);
  EXPECT_EQ(f.view.bounds.height, 300);
  EXPECT_EQ(f.model.UserNo, 2);
  // The profile loaded is the restored user's.
  EXPECT_EQ(f.model.profile().fields[0], "\x8e\x52\x93\x63");
}

TEST(PaletteModelTest, PageOutsideRangeLeavesTheDesignPage) {
  Fixture f;
  PutSettings(f.store);
  PutWindowState(f.store, 100, 200, 160, 130, 7, 0);
  f.model.FormCreate();
  EXPECT_EQ(f.view.page, kPageKojin2);
}

TEST(PaletteModelTest, FirstStartFlagsAndShowing) {
  struct Case {
    const char* name;
    bool bootInTray;
    bool topMost;
    bool trayIcon;
  };
  const Case cases[] = {
      {"shown topmost", false, true, true},
      {"shown normal", false, false, true},
      {"tray only", true, true, true},
      {"no icon to come back by", true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    PutSettings(f.store, c.bootInTray);
    PutWindowState(f.store, 10, 10, 160, 130, 0, 0, c.topMost);
    f.view.trayIcon = c.trayIcon;
    f.model.FormCreate();
    EXPECT_EQ(f.view.visible, !(c.bootInTray && c.trayIcon));
    EXPECT_EQ(f.view.topMost, c.topMost);
    EXPECT_EQ(f.view.bounds.left, 10);
  }
}

TEST(PaletteModelTest, StoredPositionPastTheEdgeIsPulledInFlush) {
  Fixture f;
  PutSettings(f.store);
  PutWindowState(f.store, 1000, 1250, 160, 130, 0, 0);
  f.model.FormCreate();
  EXPECT_EQ(f.view.bounds.left, 1280 - 130);
  EXPECT_EQ(f.view.bounds.top, 1024 - 160);
}

TEST(PaletteModelTest, FitColumnWidthsAndTabWidth) {
  struct Case {
    int dpi;
    int clientWidth;
    int cols;
    bool fixed;
    int colWidth;
    int pageControlWidth;
    int wantCol;
    int wantTab;
  };
  const Case cases[] = {
      {96, 110, 2, false, 50, 118, 53, 28},
      {96, 110, 3, false, 50, 118, 34, 28},
      {96, 110, 2, true, 50, 118, 50, 28},
      // At 192 DPI lines are 4 pixels and the tab margin 8.
      {192, 220, 2, false, 50, 236, 106, 57},
      {192, 220, 2, true, 50, 236, 100, 57},
      // A stored width beyond what the scale can give stays the widest.
      {192, 220, 2, true, 1 << 30, 236, INT_MAX, 57},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi * 1000 + c.clientWidth * 10 + c.cols);
    MemoryRegistry store;
    PutSettings(store);
    store.PutDword(ConfigKey(kPageKojin1), "ColCount", static_cast<std::uint32_t>(c.cols));
    store.PutDword(ConfigKey(kPageKojin1), "ColWidthMode", c.fixed ? 1 : 0);
    store.PutDword(ConfigKey(kPageKojin1), "ColWidth", static_cast<std::uint32_t>(c.colWidth));
    FakeView view;
    view.clientWidth[kPageKojin1] = c.clientWidth;
    view.pageControlWidth = c.pageControlWidth;
    PaletteModel model(store, kFont, view, DpiScale(c.dpi));
    model.LoadSettings();
    model.FitColumnWidths();
    model.FitTabWidth();
    EXPECT_EQ(view.columns[kPageKojin1].cols, c.cols);
    EXPECT_EQ(view.columns[kPageKojin1].width, c.wantCol);
    EXPECT_EQ(view.tabWidth, c.wantTab);
  }
}

TEST(PaletteModelTest, ResizeAndPageChangeRefit) {
  Fixture f;
  f.model.FormCreate();
  f.view.clientWidth[kPageKojin1] = 150;
  f.view.pageControlWidth = 204;
  f.model.FormResize();
  EXPECT_EQ(f.view.columns[kPageKojin1].width, (150 - 4) / 2);
  EXPECT_EQ(f.view.tabWidth, 50);
  // A page shown for the first time may have another client width.
  f.view.clientWidth[kPageMemo] = 90;
  f.model.PageShown();
  EXPECT_EQ(f.view.columns[kPageMemo].width, 88);
}

TEST(PaletteModelTest, ScalesEveryConfiguredSize) {
  MemoryRegistry store;
  FakeView view;
  PaletteModel model(store, kFont, view, DpiScale(192));
  model.FormCreate();
  EXPECT_EQ(view.geometry[kPageKojin1].colWidth, 100);
  EXPECT_EQ(view.geometry[kPageKojin1].rowHeight, 28);
  // The standard window keeps its size on screen and is centred again.
  EXPECT_EQ(view.bounds.width, 260);
  EXPECT_EQ(view.bounds.height, 320);
  EXPECT_EQ(view.bounds.left, (1280 - 260) / 2);
  EXPECT_EQ(view.bounds.top, (1024 - 320) / 2);
  model.DpiChanged(DpiScale(96));
  EXPECT_EQ(view.geometry[kPageKojin1].rowHeight, 14);
  EXPECT_EQ(view.geometry[kPageKojin1].colWidth, 50);
  EXPECT_EQ(view.columns[kPageKojin1].width, 53);
}

TEST(PaletteModelTest, FontFaceKeptWhenNameEmptyAndCutAt31Bytes) {
  Fixture f;
  PutSettings(f.store);
  f.store.PutString(ConfigKey(kPageMemo), "FontName", "");
  f.store.PutString(ConfigKey(kPageList), "FontName", std::string(40, 'A'));
  f.model.FormCreate();
  EXPECT_EQ(f.view.fonts[kPageMemo].face, "");  // the grid keeps its face
  EXPECT_EQ(f.view.fonts[kPageList].face, std::string(31, 'A'));
}

TEST(PaletteModelTest, FormCloseSavesWhenVisibleAndHonoursTrayClose) {
  struct Case {
    const char* name;
    bool visible;
    bool closeInTray;
    bool exiting;
    bool trayIcon;
    bool wantClose;
    bool wantSaved;
  };
  const Case cases[] = {
      {"plain close", true, false, false, true, true, true},
      {"into the tray", true, true, false, true, false, true},
      {"no icon to hide into", true, true, false, false, true, true},
      {"exit from tray menu", true, true, true, true, true, true},
      {"exit while hidden", false, true, true, true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    f.view.visible = c.visible;
    f.view.bounds = {40, 30, 150, 200};
    f.view.page = kPageList;
    f.model.CloseInTaskTray = c.closeInTray;
    f.model.Exiting = c.exiting;
    f.view.trayIcon = c.trayIcon;
    f.model.TabMode = true;
    f.model.WndTopMost = false;
    f.model.UserNo = 3;
    EXPECT_EQ(f.model.FormClose(), c.wantClose);
    EXPECT_EQ(f.view.visible, c.visible && c.wantClose);
    const MemoryRegistry::Values* v = f.store.KeyValues(Base());
    if (!c.wantSaved) {
      EXPECT_EQ(v, nullptr);
      continue;
    }
    ASSERT_NE(v, nullptr);
    const std::pair<const char*, std::uint32_t> want[] = {
        {"top", 30},       {"left", 40}, {"height", 200}, {"width", 150},
        {"wndtopmost", 0}, {"tabmode", 1}, {"page", 3},   {"userno", 3}};
    EXPECT_EQ(v->size(), 8u);
    for (const auto& w : want) {
      auto it = v->find(w.first);
      ASSERT_NE(it, v->end()) << w.first;
      EXPECT_EQ(it->second.dword, w.second) << w.first;
    }
  }
}

// Windows ends a session with no close: the shown palette's state is kept as
// a close keeps it; a palette in the tray keeps what it had.
TEST(PaletteModelTest, SessionEndSavesAShownPaletteOnly) {
  for (const bool visible : {true, false}) {
    SCOPED_TRACE(visible ? "shown" : "in the tray");
    Fixture f;
    f.view.visible = visible;
    f.view.bounds = {40, 30, 150, 200};
    f.view.page = kPageMemo;
    f.model.SessionEnding();
    WindowState saved;
    const bool read = LoadWindowState(f.store, 1280, 1024, &saved);
    EXPECT_EQ(read, visible);
    if (visible) {
      EXPECT_EQ(saved.bounds.left, 40);
      EXPECT_EQ(saved.Page, kPageMemo);
    }
    EXPECT_EQ(f.view.visible, visible);  // nothing shown or hidden
  }
}

TEST(PaletteModelTest, PhraseListShowsWhatFitsAndRefillsAfterEdits) {
  Fixture f;
  PutSettings(f.store);
  f.store.PutDword(ListItemsKey(), "ItemCount", 15);
  for (int i = 0; i < 15; ++i) {
    char name[8];
    std::snprintf(name, sizeof name, "Item%03d", i);
    f.store.PutString(ListItemsKey(), name, "p" + std::to_string(i));
  }
  f.model.FormCreate();
  const auto& list = f.view.cells[kPageList];
  ASSERT_EQ(list.size(), 10u);
  EXPECT_EQ(list[0][0], "p0");
  EXPECT_EQ(list[9][0], "p9");
  EXPECT_EQ(f.model.DeletePhrase(3), ListEdit::kSaved);
  EXPECT_EQ(f.view.cells[kPageList][9][0], "p10");
  EXPECT_EQ(f.model.DeletePhrase(99), ListEdit::kNoSuchPhrase);
  EXPECT_EQ(f.model.AddPhrase("new", "hint"), ListEdit::kSaved);
  ASSERT_EQ(f.model.list().ListPhrases.size(), 15u);
  EXPECT_EQ(f.model.list().ListHints.back(), "hint");
  // Saved: a fresh load sees the edited list.
  PhraseList reloaded;
  ASSERT_TRUE(LoadList(f.store, &reloaded));
  EXPECT_EQ(reloaded.ListPhrases, f.model.list().ListPhrases);
}

TEST(PaletteModelTest, RefreshAfterOptionsReappliesEveryPage) {
  Fixture f;
  PutSettings(f.store);
  f.model.FormCreate();
  f.store.PutDword(ConfigKey(kPageMemo), "ColCount", 2);
  f.store.PutDword(ConfigKey(kPageMemo), "RowCount", 5);
  f.store.PutString(ItemsKey(kPageKojin2), "Item000", "ＴＥＬ");
  f.store.PutString(ItemsKey(kPageKojin2), "Form000", "数字のみ");
  f.model.RefreshAfterOptions();
  EXPECT_EQ(f.view.geometry[kPageMemo].cols, 2);
  EXPECT_EQ(f.view.columns[kPageMemo].cols, 2);
  EXPECT_EQ(f.view.cells[kPageKojin2][0][0], "ＴＥＬ");
  EXPECT_EQ(f.view.marks[kPageKojin2][0][0], "形式：数字のみ");
  EXPECT_EQ(f.view.marks[kPageKojin2][1][0], "");
  EXPECT_EQ(f.model.Forms(kPageKojin2)[0], ValueForm::kDigitsOnly);
  EXPECT_EQ(f.view.cells[kPageMemo].size(), 5u);
  EXPECT_EQ(f.model.settings().MemoCount, 10);
}

TEST(PaletteModelTest, SwitchUserReloadsOnlyTheProfile) {
  Fixture f;
  f.store.PutString(UserKey(1), "KanjSei", "B");
  f.model.FormCreate();
  f.view.changes = 0;
  f.model.SwitchUser(1);
  EXPECT_EQ(f.model.UserNo, 1);
  EXPECT_EQ(f.model.profile().fields[0], "B");
  EXPECT_EQ(f.view.changes, 0);
}

}  // namespace
}  // namespace tabcard
