#include "app/main_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "memo_workdir.h"
#include "palette_view_fake.h"
#include "store/memory_registry.h"
#include "store/phrase_list.h"
#include "store/settings.h"

namespace tabcard {
namespace {

using namespace tabcard::testing;
using State = ClipboardText::State;

const FontFace kFont{"Face", 9};

// Logs into the view's log, so host calls and grid refills show in one order.
class FakeHost : public CommandHost {
 public:
  FakeHost(FakeView& view, PaletteModel& model) : view_(view), model_(model) {}

  bool ShowDialog(ModalDialog d) override {
    Log(d == ModalDialog::kProperty ? "property" : d == ModalDialog::kOption ? "option" : "about");
    return dialogOk;
  }
  bool ShowListDialog(const std::string& phrase, ListEntry* entry) override {
    Log("listdlg[" + phrase + "]");
    *entry = listEntry;
    return dialogOk;
  }
  void SetTopMost(bool on) override { Log(on ? "topmost" : "normal"); }
  void Minimize() override { Log("minimize"); }
  void ShowAndActivate() override { Log("activate"); }
  void CloseMainWindow() override {
    Log("close");
    closed = model_.FormClose();
  }
  void SendSystemCommand(int command) override { Log("sys" + std::to_string(command)); }
  void OpenHelpContents() override { Log("help"); }
  ScreenPoint CursorPos() override { return {300, 400}; }
  int PopupTaskMenu(ScreenPoint p) override {
    Log("popup" + At(p.x, p.y));
    return chosen;
  }
  ClipboardText ReadClipboardText() override { return clipboard; }
  void Beep() override { Log("beep"); }
  void ShowMessage(const std::string& text, const std::string& caption) override {
    Log("message[" + caption + ":" + text + "]");
  }
  GridCell CurrentCell(int) const override { return cell; }
  void SetGridHint(int page, const std::string& text) override {
    Log("hint" + std::to_string(page) + "[" + text + "]");
  }

  bool dialogOk = true;
  ListEntry listEntry;
  int chosen = 0;
  ClipboardText clipboard;
  GridCell cell{0, 0};
  bool closed = false;

 private:
  void Log(const std::string& s) { view_.Log(s); }
  static std::string At(int x, int y) {
    return "(" + std::to_string(x) + "," + std::to_string(y) + ")";
  }
  FakeView& view_;
  PaletteModel& model_;
};

struct Palette {
  MemoryRegistry store;
  FakeView view;
  PaletteModel model{store, kFont, view, DpiScale(96)};
  FakeHost host{view, model};
  MainCommands commands{model, host};

  // Memo and list pages of 2 x 5, and a stored list "p0", "p1".
  void StoreTwoColumnsAndList() {
    PaletteSettings s;
    s.configs = StandardPageConfigs(kFont);
    for (int page : {kPageMemo, kPageList}) {
      s.configs[page].ColCount = 2;
      s.configs[page].RowCount = 5;
    }
    ASSERT_TRUE(SaveSettings(store, s));
    ASSERT_TRUE(SaveList(store, PhraseList{{"p0", "p1"}, {"h0", "h1"}}));
  }
  void Start() {
    model.FormCreate();
    view.log.clear();
  }
  PhraseList Stored() {
    PhraseList list;
    LoadList(store, &list);
    return list;
  }
};

ClipboardText Clip(State state, std::string text = {}) { return ClipboardText{state, text}; }

const char kReloadAll[] =
    "geom0 font0 geom1 font1 geom2 font2 geom3 font3 cells0 cells1 cells2 cells3 "
    "cols0 cols1 cols2 cols3";

TEST(MainCommandsTest, SystemCommandsLowerTheWindowAroundDialogsAndReloadOnOk) {
  struct Case {
    int id;
    bool topMost;
    bool ok;
    std::string log;
  };
  const Case cases[] = {
      {kSysProperty, true, true, "normal property topmost cells2 cells3"},
      {kSysProperty, true, false, "normal property topmost"},
      {kSysProperty, false, true, "normal property cells2 cells3"},
      {kSysOption, true, true, "normal option " + std::string(kReloadAll) + " topmost"},
      {kSysOption, false, false, "normal option"},
      {kSysAbout, true, true, "normal about topmost"},
      {kSysAbout, false, true, "normal about"},
      {kSysMinimize, true, true, "minimize"},
      {kSysHelp, true, true, "help"},
      {263, true, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.id) + (c.topMost ? " topmost" : "") + (c.ok ? " ok" : ""));
    Palette p;
    p.Start();
    p.model.WndTopMost = c.topMost;
    p.host.dialogOk = c.ok;
    EXPECT_EQ(p.commands.SysCommand(c.id), c.id != 263);
    EXPECT_EQ(p.view.log, c.log);
  }
}

// The first showing's editor keeps the window topmost and reloads only
// after OK; the options are saved either way, so the next start reads a
// whole configuration; all of it once.
TEST(MainCommandsTest, FirstRunOpensTheEditorOnce) {
  for (const bool ok : {true, false}) {
    SCOPED_TRACE(ok ? "ok" : "cancel");
    Palette p;
    p.Start();
    ASSERT_TRUE(p.model.FirstRun);  // an empty store
    p.host.dialogOk = ok;
    p.commands.FirstRunDialogs();
    p.commands.FirstRunDialogs();
    EXPECT_EQ(p.view.log, ok ? "property cells2 cells3" : "property");
    EXPECT_FALSE(p.model.FirstRun);
    PaletteSettings saved;
    EXPECT_TRUE(LoadSettings(p.store, kFont, &saved));
    EXPECT_EQ(saved.items[kPageKojin1][0], StandardPageItems(kPageKojin1)[0]);
  }
}

TEST(MainCommandsTest, TogglesAndProfileSwitch) {
  Palette p;
  p.Start();
  for (int i = 0; i < 2; ++i) {
    p.commands.SysCommand(kSysTopMost);
    p.commands.SysCommand(kSysTabMode);
    EXPECT_EQ(p.model.WndTopMost, i == 1);
    EXPECT_EQ(p.model.TabMode, i == 0);
  }
  EXPECT_EQ(p.view.log, "normal topmost");
  // The current profile chosen again is read again.
  for (const char* name : {"D", "E"}) {
    p.store.PutString(UserKey(3), "KanjSei", name);
    p.commands.SysCommand(kSysUserFirst + 3);
    EXPECT_EQ(p.model.UserNo, 3);
    EXPECT_EQ(p.model.profile().fields[0], name);
  }
}

TEST(MainCommandsTest, TrayIconOpensTaskMenuOnTheRightButtonOnly) {
  struct Case {
    MouseButton button;
    int chosen;
    const char* log;
  };
  const Case cases[] = {
      {MouseButton::Left, kMnuView, ""},
      {MouseButton::Middle, kMnuView, ""},
      {MouseButton::Right, 0, "popup(300,400)"},
      {MouseButton::Right, kMnuView, "popup(300,400) activate"},
      {MouseButton::Right, kMnuProp, "popup(300,400) sys257"},
      {MouseButton::Right, kMnuOpt, "popup(300,400) sys258"},
      {MouseButton::Right, kMnuAbout, "popup(300,400) sys260"},
      {MouseButton::Right, kMnuHelp, "popup(300,400) sys259"},
      {MouseButton::Right, kMnuExit, "popup(300,400) close"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.log);
    Palette p;
    p.Start();
    p.host.chosen = c.chosen;
    p.commands.IconReleased(c.button);
    EXPECT_EQ(p.view.log, c.log);
  }
  Palette p;
  p.commands.IconDoubleClicked();
  EXPECT_EQ(p.view.log, "activate");
}

TEST(MainCommandsTest, ExitFromTheTrayEndsAndSavesOnlyAVisibleWindow) {
  for (bool closeInTray : {false, true}) {
    for (bool visible : {false, true}) {
      SCOPED_TRACE(std::string(closeInTray ? "into tray" : "plain") + (visible ? " visible" : ""));
      Palette p;
      p.Start();
      p.model.CloseInTaskTray = closeInTray;
      p.view.visible = visible;
      p.commands.Command(kMnuExit);
      EXPECT_TRUE(p.model.Exiting);
      EXPECT_TRUE(p.host.closed);
      const MemoryRegistry::Values* saved = p.store.KeyValues(kBaseKey);
      EXPECT_EQ(saved && saved->count("top"), visible);
    }
  }
}

struct MemoCase {
  const char* name;
  int command;
  ClipboardText clip;
  GridCell cell;
  bool dirInTheWay;   // Memo005.txt is a directory
  std::string log;
  std::string file;  // Memo005.txt afterwards; it held "old"
};

class MemoCommands : public MemoWorkDir, public ::testing::WithParamInterface<MemoCase> {};

TEST_P(MemoCommands, FileFirstThenTheCell) {
  const MemoCase& c = GetParam();
  Palette p;
  p.StoreTwoColumnsAndList();
  if (c.dirInTheWay) {
    std::filesystem::create_directory("Memo005.txt");
  } else {
    WriteBytes("Memo005.txt", "old");
  }
  p.Start();
  p.host.clipboard = c.clip;
  p.host.cell = c.cell;  // memo 1 + 2 x 2 = 5
  p.commands.Command(c.command);
  EXPECT_EQ(p.view.log, c.log);
  if (!c.dirInTheWay) {
    EXPECT_EQ(ReadBytes("Memo005.txt"), c.file);
  }
}

const std::string kLong = "  " + std::string(197, 'a') + "\x82\xa0" + std::string(100, 'b');
const std::string kSaveFailed = "message[メモ保存:メモファイルの保存に失敗しました！]";

INSTANTIATE_TEST_SUITE_P(
    Cases, MemoCommands,
    ::testing::Values(
        MemoCase{"busy", kMnuCopyMemo, Clip(State::kBusy), {1, 2}, false, "beep", "old"},
        MemoCase{"no_text", kMnuCopyMemo, Clip(State::kNoText), {1, 2}, false, "", "old"},
        MemoCase{"no_cell", kMnuCopyMemo, Clip(State::kText, "x"), {-1, 2}, false, "", "old"},
        // Byte 200 is the lead byte of あ: the title keeps 199, then trimmed.
        MemoCase{"long", kMnuCopyMemo, Clip(State::kText, kLong), {1, 2}, false,
                 "cell2(1,2)[" + std::string(197, 'a') + "]", kLong},
        MemoCase{"trimmed", kMnuCopyMemo, Clip(State::kText, "\r\n 氏名\t\r\n"), {1, 2}, false,
                 "cell2(1,2)[氏名]", "\r\n 氏名\t\r\n"},
        MemoCase{"copy_fails", kMnuCopyMemo, Clip(State::kText, "x"), {1, 2}, true, kSaveFailed,
                 ""},
        MemoCase{"delete", kMnuDelMemo, Clip(State::kBusy), {1, 2}, false, "cell2(1,2)[]", ""},
        MemoCase{"delete_no_cell", kMnuDelMemo, Clip(State::kBusy), {1, -1}, false, "", "old"},
        MemoCase{"delete_fails", kMnuDelMemo, Clip(State::kNoText), {1, 2}, true, kSaveFailed,
                 ""}),
    [](const auto& info) { return info.param.name; });

TEST(MainCommandsTest, AddListTakesANonEmptyPhraseFromTheDialog) {
  struct Case {
    const char* name;
    ClipboardText clip;
    bool ok;
    ListEntry entry;
    bool topMost;
    const char* log;
    std::vector<std::string> phrases;
  };
  const Case cases[] = {
      {"added", Clip(State::kText, "clip"), true, {"new", "tip"}, true,
       "normal listdlg[clip] topmost cells3 hint3[tip]", {"p0", "p1", "new"}},
      {"equal phrase too", Clip(State::kNoText), true, {"p0", "h"}, false,
       "normal listdlg[] cells3 hint3[h]", {"p0", "p1", "p0"}},
      {"blank is not empty", Clip(State::kBusy), true, {" ", ""}, false,
       "normal listdlg[] cells3 hint3[]", {"p0", "p1", " "}},
      {"cancelled", Clip(State::kText, "clip"), false, {"x", "y"}, true,
       "normal listdlg[clip] topmost", {"p0", "p1"}},
      {"empty phrase", Clip(State::kText, "clip"), true, {"", "y"}, true,
       "normal listdlg[clip] topmost", {"p0", "p1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Palette p;
    p.StoreTwoColumnsAndList();
    p.Start();
    p.model.WndTopMost = c.topMost;
    p.host.clipboard = c.clip;
    p.host.dialogOk = c.ok;
    p.host.listEntry = c.entry;
    p.commands.AddPhraseFromDialog();
    EXPECT_EQ(p.view.log, c.log);
    EXPECT_EQ(p.model.list().ListPhrases, c.phrases);
    EXPECT_EQ(p.Stored().ListPhrases, c.phrases);
  }
}

TEST(MainCommandsTest, FailedListSaveIsReportedAndThePaletteShowsWhatIsStored) {
  struct Case {
    int command;
    const char* message;
  };
  const Case cases[] = {
      {kMnuAddList, "message[リスト追加:リストの保存に失敗しました！]"},
      {kMnuDelList, "message[リスト削除:リストの保存に失敗しました！]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    Palette p;
    p.StoreTwoColumnsAndList();
    p.Start();
    p.model.WndTopMost = false;
    p.host.listEntry = {"new", "h"};
    p.store.FailWritesAfter(1);  // ItemCount only: the phrases are gone
    p.commands.Command(c.command);
    const std::string log = p.view.log;
    ASSERT_GE(log.size(), std::string(c.message).size());
    EXPECT_EQ(log.substr(log.size() - std::string(c.message).size()), c.message);
    EXPECT_EQ(log.find("hint"), std::string::npos);
    EXPECT_EQ(p.model.list().ListPhrases, p.Stored().ListPhrases);
    EXPECT_EQ(p.view.cells[kPageList][0][0], p.Stored().ListPhrases.at(0));
  }
}

TEST(MainCommandsTest, AnUnreadListIsReadAgainAndNeverOverwritten) {
  Palette p;
  p.StoreTwoColumnsAndList();
  p.store.PutString(ListItemsKey(), "ItemCount", "2");  // not a number
  p.Start();
  ASSERT_FALSE(p.model.ListRead());
  p.host.listEntry = {"new", "h"};
  p.host.cell = {0, 0};
  p.commands.AddPhraseFromDialog();
  p.commands.DeleteCurrentPhrase();
  EXPECT_EQ(p.view.log,
            "cells3 message[リスト追加:リストの読込みに失敗しました！] "
            "cells3 message[リスト削除:リストの読込みに失敗しました！]");
  EXPECT_EQ(p.store.KeyValues(ListItemsKey())->at("itemcount").text, "2");

  // Readable again: the cell showed nothing before, so nothing is deleted;
  // then the list takes an addition.
  p.store.PutDword(ListItemsKey(), "ItemCount", 2);
  p.view.log.clear();
  p.commands.DeleteCurrentPhrase();
  EXPECT_EQ(p.view.log, "cells3");
  p.commands.AddPhraseFromDialog();
  p.host.cell = {1, 1};  // phrase 1 + 1 x 2 = 3: none
  p.commands.DeleteCurrentPhrase();
  p.host.cell = {1, 0};
  p.commands.DeleteCurrentPhrase();
  EXPECT_EQ(p.Stored().ListPhrases, (std::vector<std::string>{"p0", "new"}));
  EXPECT_EQ(p.Stored().ListHints, (std::vector<std::string>{"h0", "h"}));
}

TEST(MainCommandsTest, NoListStoredIsAnEmptyListThatTakesAdditions) {
  Palette p;
  p.Start();
  EXPECT_TRUE(p.model.ListRead());
  p.host.listEntry = {"first", "h"};
  p.commands.AddPhraseFromDialog();
  EXPECT_EQ(p.Stored().ListPhrases, std::vector<std::string>{"first"});
}

}  // namespace
}  // namespace tabcard
