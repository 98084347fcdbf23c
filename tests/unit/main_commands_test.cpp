#include "app/main_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
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
using Phrases = std::vector<std::string>;

const FontFace kFont{"Face", 9};
constexpr ScreenPoint kCursor{300, 400};

// The main window as the commands meet it: one topmost state with the
// view, system commands that come back to the commands as WM_SYSCOMMAND
// does, and dialogs that note how the palette stood while they were open.
class FakeHost : public CommandHost {
 public:
  FakeHost(FakeView& view, PaletteModel& model) : view_(view), model_(model) {}

  bool ShowDialog(ModalDialog d) override {
    Open(d == ModalDialog::kProperty ? "property" : d == ModalDialog::kOption ? "option" : "about");
    return dialogOk;
  }
  bool ShowListDialog(const std::string& phrase, ListEntry* entry) override {
    Open("list");
    listPrefill = phrase;
    *entry = listEntry;
    return dialogOk;
  }
  void SetTopMost(bool on) override { view_.SetTopMost(on); }
  void Minimize() override {}
  void ShowAndActivate() override {
    view_.ShowWindow();
    activated = true;
  }
  void CloseMainWindow() override { closed = model_.FormClose(); }
  void SendSystemCommand(int command) override { commands->SysCommand(command); }
  void OpenHelpContents() override { helpOpened = true; }
  ScreenPoint CursorPos() override { return kCursor; }
  int PopupTaskMenu(ScreenPoint at) override {
    menuAt = at;
    return chosen;
  }
  ClipboardText ReadClipboardText() override { return clipboard; }
  void Beep() override { feedback.push_back("beep"); }
  void ShowMessage(const std::string& text, const std::string& caption) override {
    feedback.push_back(caption + ": " + text);
  }
  GridCell CurrentCell(int) const override { return cell; }
  void SetGridHint(int page, const std::string& text) override { hints[page] = text; }
  std::wstring AskBackupPath(const std::string& name) override {
    suggested = name;
    return chosenPath;
  }
  std::wstring AskRestorePath() override { return chosenPath; }
  bool Confirm(const std::string&, const std::string&) override { return confirm; }
  bool SaveBackup(const std::wstring& path, std::string* reason) override {
    saved.push_back(path);
    if (!saveOk) *reason = "disk full";
    return saveOk;
  }
  bool LoadBackup(const std::wstring&, Backup* backup, std::string* reason) override {
    if (!fileOk) *reason = "not a backup";
    *backup = Backup{};
    return fileOk;
  }
  bool RestoreBackup(const Backup&, std::string*) override {
    ++restores;
    if (whileOpen) whileOpen();  // what the backup held reaches the store
    return true;
  }
  BackupTime Now() override { return BackupTime{2026, 12, 9, 18, 5, 7}; }
  std::wstring Beside(const std::wstring& path, const std::string& name) override {
    besideName = name;
    return path + L"|beside";
  }
  void RegisterStoredHotKeys() override { ++hotKeysRegistered; }
  bool PaletteActive() const override { return active; }
  void BringPaletteForward() override {
    view_.ShowWindow();
    active = true;
  }
  void GiveForegroundBack() override {
    active = false;
    ++givenBack;
  }

  struct Opened {
    std::string dialog;  // property, option, about or list
    bool paletteTopMost;
  };

  MainCommands* commands = nullptr;
  // The user's part: what the open dialog saves, how it closes, what else
  // is chosen or at hand.
  std::function<void()> whileOpen;
  bool dialogOk = true;
  ListEntry listEntry;
  int chosen = 0;
  ClipboardText clipboard;
  GridCell cell{0, 0};

  std::vector<Opened> opened;
  std::optional<std::string> listPrefill;
  std::optional<ScreenPoint> menuAt;
  bool activated = false;
  bool active = false;  // the palette is the active window
  std::wstring chosenPath = L"C:\\b\\x.tcb";
  std::string suggested, besideName;
  bool confirm = true, saveOk = true, fileOk = true;
  std::vector<std::wstring> saved;
  int restores = 0, hotKeysRegistered = 0;
  int givenBack = 0;
  bool helpOpened = false;
  bool closed = false;
  std::vector<std::string> feedback;  // beeps and message boxes
  std::map<int, std::string> hints;

 private:
  void Open(const char* dialog) {
    opened.push_back({dialog, view_.topMost});
    if (whileOpen) whileOpen();
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

  Palette() { host.commands = &commands; }

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
  void Start(bool topMost = true) {
    model.FormCreate();
    if (model.WndTopMost != topMost) commands.SysCommand(kSysTopMost);
  }
  PhraseList Stored() {
    PhraseList list;
    LoadList(store, &list);
    return list;
  }
  // The list page's cells in phrase order, up to the last one showing text.
  Phrases ShownList() const {
    Phrases shown;
    for (const auto& row : view.cells[kPageList]) shown.insert(shown.end(), row.begin(), row.end());
    while (!shown.empty() && shown.back().empty()) shown.pop_back();
    return shown;
  }
  std::string ListHint() const {
    const auto it = host.hints.find(kPageList);
    return it == host.hints.end() ? "<none>" : it->second;
  }
};

ClipboardText Clip(State state, std::string text = {}) { return ClipboardText{state, text}; }

// A topmost palette would cover its own dialog: it steps back while one is
// open and comes forward again however the dialog closed.
TEST(MainCommandsTest, SystemMenuDialogsOpenOverThePalette) {
  const std::pair<int, const char*> dialogs[] = {
      {kSysProperty, "property"}, {kSysOption, "option"}, {kSysAbout, "about"}};
  for (const auto& [id, dialog] : dialogs) {
    for (const bool topMost : {true, false}) {
      for (const bool ok : {true, false}) {
        SCOPED_TRACE(std::string(dialog) + (topMost ? " topmost" : "") + (ok ? " ok" : " cancel"));
        Palette p;
        p.Start(topMost);
        p.host.dialogOk = ok;
        p.commands.SysCommand(id);
        ASSERT_EQ(p.host.opened.size(), 1u);
        EXPECT_EQ(p.host.opened[0].dialog, dialog);
        EXPECT_FALSE(p.host.opened[0].paletteTopMost);
        EXPECT_EQ(p.view.topMost, topMost);
      }
    }
  }
}

// What the user saved in the profile editor or the options shows on the
// palette after OK; after Cancel the palette stays as it was.
TEST(MainCommandsTest, DialogEditsShowAfterOkOnly) {
  for (const bool ok : {true, false}) {
    SCOPED_TRACE(ok ? "ok" : "cancel");
    Palette p;
    p.StoreTwoColumnsAndList();
    p.Start();
    p.host.dialogOk = ok;
    p.host.whileOpen = [&] {
      p.store.PutString(UserKey(0), "KanjSei", "佐藤");
      p.store.PutString(UserKey(1), "UserName", "営業");
      ASSERT_TRUE(SaveList(p.store, PhraseList{{"edited"}, {"h"}}));
    };
    p.commands.SysCommand(kSysProperty);
    EXPECT_EQ(p.model.profile().fields[0], ok ? "佐藤" : "");
    EXPECT_EQ(p.commands.MenuState().userNames[1], ok ? "営業" : StandardUserName(1));
    EXPECT_EQ(p.ShownList(), (ok ? Phrases{"edited"} : Phrases{"p0", "p1"}));

    p.host.whileOpen = [&] {
      p.store.PutString(ItemsKey(kPageKojin2), "Item000", "ＴＥＬ");
      p.store.PutDword(ConfigKey(kPageMemo), "ColCount", 3);
    };
    p.commands.SysCommand(kSysOption);
    EXPECT_EQ(p.view.cells[kPageKojin2].at(0).at(0) == "ＴＥＬ", ok);
    EXPECT_EQ(p.view.geometry[kPageMemo].cols, ok ? 3 : 2);
  }
}

// The first showing's editor opens once, over the palette left topmost;
// the options are saved whatever the editor's outcome, so the next start
// reads a whole configuration.
TEST(MainCommandsTest, FirstRunOpensTheEditorOnce) {
  for (const bool ok : {true, false}) {
    SCOPED_TRACE(ok ? "ok" : "cancel");
    Palette p;
    p.Start();
    ASSERT_TRUE(p.model.FirstRun);  // an empty store
    p.host.dialogOk = ok;
    p.host.whileOpen = [&] { ASSERT_TRUE(SaveList(p.store, PhraseList{{"edited"}, {"h"}})); };
    p.commands.FirstRunDialogs();
    p.commands.FirstRunDialogs();
    ASSERT_EQ(p.host.opened.size(), 1u);
    EXPECT_EQ(p.host.opened[0].dialog, "property");
    EXPECT_TRUE(p.host.opened[0].paletteTopMost);
    EXPECT_EQ(p.ShownList(), ok ? Phrases{"edited"} : Phrases{});
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
    EXPECT_EQ(p.view.topMost, i == 1);
    EXPECT_EQ(p.model.TabMode, i == 0);
  }
  // The current profile chosen again is read again.
  for (const char* name : {"D", "E"}) {
    p.store.PutString(UserKey(3), "KanjSei", name);
    p.commands.SysCommand(kSysUserFirst + 3);
    EXPECT_EQ(p.model.UserNo, 3);
    EXPECT_EQ(p.model.profile().fields[0], name);
  }
}

// The one visible thing a tray command did, "" for none.
std::string Outcome(const FakeHost& h) {
  std::string s;
  for (const auto& o : h.opened) s += o.dialog;
  if (h.helpOpened) s += "help";
  if (h.activated) s += "shown";
  if (h.closed) s += "closed";
  return s;
}

// The menu opens at the cursor on a right-button release only, and its
// entries do what the system menu's would.
TEST(MainCommandsTest, TrayIconMenu) {
  struct Case {
    MouseButton button;
    int chosen;
    const char* outcome;
  };
  const Case cases[] = {
      {MouseButton::Left, kMnuView, ""},
      {MouseButton::Middle, kMnuView, ""},
      {MouseButton::Right, 0, ""},
      {MouseButton::Right, kMnuView, "shown"},
      {MouseButton::Right, kMnuProp, "property"},
      {MouseButton::Right, kMnuOpt, "option"},
      {MouseButton::Right, kMnuAbout, "about"},
      {MouseButton::Right, kMnuHelp, "help"},
      {MouseButton::Right, kMnuExit, "closed"},
  };
  for (const Case& c : cases) {
    const bool right = c.button == MouseButton::Right;
    SCOPED_TRACE(std::to_string(c.chosen) + (right ? " right" : ""));
    Palette p;
    p.Start();
    p.host.chosen = c.chosen;
    p.commands.IconReleased(c.button);
    EXPECT_EQ(p.host.menuAt, right ? std::optional<ScreenPoint>(kCursor) : std::nullopt);
    EXPECT_EQ(Outcome(p.host), c.outcome);
  }
  Palette p;
  p.commands.IconDoubleClicked();
  EXPECT_EQ(Outcome(p.host), "shown");
  EXPECT_TRUE(p.view.visible);
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

const std::string kSaveFailed = "メモ保存: メモファイルの保存に失敗しました！";

struct MemoCase {
  const char* name;
  int command;
  ClipboardText clip;
  GridCell cell;
  bool dirInTheWay;   // Memo005.txt is a directory
  std::string title;  // what the memo's cell shows afterwards
  std::string file;   // Memo005.txt afterwards; it held "old"
  std::string feedback;
};

class MemoCommands : public MemoWorkDir, public ::testing::WithParamInterface<MemoCase> {};

TEST_P(MemoCommands, TheCellShowsWhatTheFileHolds) {
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
  p.host.cell = c.cell;
  p.commands.Command(c.command);
  EXPECT_EQ(p.view.cells[kPageMemo].at(2).at(1), c.title);  // memo 1 + 2 x 2 = 5
  if (!c.dirInTheWay) {
    EXPECT_EQ(ReadBytes("Memo005.txt"), c.file);
  }
  EXPECT_EQ(p.host.feedback, c.feedback.empty() ? Phrases{} : Phrases{c.feedback});
}

const std::string kLong = "  " + std::string(197, 'a') + "\x82\xa0" + std::string(100, 'b');

INSTANTIATE_TEST_SUITE_P(
    Cases, MemoCommands,
    ::testing::Values(
        MemoCase{"busy", kMnuCopyMemo, Clip(State::kBusy), {1, 2}, false, "old", "old", "beep"},
        MemoCase{"no_text", kMnuCopyMemo, Clip(State::kNoText), {1, 2}, false, "old", "old", ""},
        MemoCase{"no_cell", kMnuCopyMemo, Clip(State::kText, "x"), {-1, 2}, false, "old", "old",
                 ""},
        // Byte 200 is the lead byte of あ: the title keeps 199, then trimmed.
        MemoCase{"long", kMnuCopyMemo, Clip(State::kText, kLong), {1, 2}, false,
                 std::string(197, 'a'), kLong, ""},
        MemoCase{"trimmed", kMnuCopyMemo, Clip(State::kText, "\r\n 氏名\t\r\n"), {1, 2}, false,
                 "氏名", "\r\n 氏名\t\r\n", ""},
        MemoCase{"copy_fails", kMnuCopyMemo, Clip(State::kText, "x"), {1, 2}, true, "", "",
                 kSaveFailed},
        MemoCase{"delete", kMnuDelMemo, Clip(State::kBusy), {1, 2}, false, "", "", ""},
        MemoCase{"delete_no_cell", kMnuDelMemo, Clip(State::kBusy), {1, -1}, false, "old", "old",
                 ""},
        MemoCase{"delete_fails", kMnuDelMemo, Clip(State::kNoText), {1, 2}, true, "", "",
                 kSaveFailed}),
    [](const auto& info) { return info.param.name; });

// The dialog opens prefilled with the clipboard's text over a lowered
// palette; a non-empty phrase is stored, shown and its hint set.
TEST(MainCommandsTest, AddListTakesANonEmptyPhraseFromTheDialog) {
  struct Case {
    const char* name;
    ClipboardText clip;
    bool ok;
    ListEntry entry;
    bool topMost;
    const char* prefill;
    Phrases phrases;
    const char* hint;
  };
  const Case cases[] = {
      {"added", Clip(State::kText, "clip"), true, {"new", "tip"}, true, "clip",
       {"p0", "p1", "new"}, "tip"},
      {"equal phrase too", Clip(State::kNoText), true, {"p0", "h"}, false, "",
       {"p0", "p1", "p0"}, "h"},
      {"blank is not empty", Clip(State::kBusy), true, {" ", ""}, false, "", {"p0", "p1", " "},
       ""},
      {"cancelled", Clip(State::kText, "clip"), false, {"x", "y"}, true, "clip", {"p0", "p1"},
       "<none>"},
      {"empty phrase", Clip(State::kText, "clip"), true, {"", "y"}, true, "clip", {"p0", "p1"},
       "<none>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Palette p;
    p.StoreTwoColumnsAndList();
    p.Start(c.topMost);
    p.host.clipboard = c.clip;
    p.host.dialogOk = c.ok;
    p.host.listEntry = c.entry;
    p.commands.AddPhraseFromDialog();
    ASSERT_EQ(p.host.opened.size(), 1u);
    EXPECT_FALSE(p.host.opened[0].paletteTopMost);
    EXPECT_EQ(p.view.topMost, c.topMost);
    EXPECT_EQ(p.host.listPrefill, std::optional<std::string>(c.prefill));
    EXPECT_EQ(p.ShownList(), c.phrases);
    EXPECT_EQ(p.Stored().ListPhrases, c.phrases);
    EXPECT_EQ(p.ListHint(), c.hint);
  }
}

TEST(MainCommandsTest, FailedListSaveIsReportedAndThePaletteShowsWhatIsStored) {
  struct Case {
    int command;
    const char* message;
  };
  const Case cases[] = {
      {kMnuAddList, "リスト追加: リストの保存に失敗しました！"},
      {kMnuDelList, "リスト削除: リストの保存に失敗しました！"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    Palette p;
    p.StoreTwoColumnsAndList();
    p.Start();
    p.host.listEntry = {"new", "h"};
    p.store.FailWritesAfter(1);  // ItemCount only: the phrases are gone
    p.commands.Command(c.command);
    EXPECT_EQ(p.host.feedback, Phrases{c.message});
    EXPECT_EQ(p.ListHint(), "<none>");
    const Phrases stored = p.Stored().ListPhrases;
    ASSERT_FALSE(stored.empty());
    EXPECT_EQ(p.model.list().ListPhrases, stored);
    EXPECT_EQ(p.view.cells[kPageList].at(0).at(0), stored[0]);
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
  EXPECT_TRUE(p.host.opened.empty());
  EXPECT_EQ(p.host.feedback, (Phrases{"リスト追加: リストの読込みに失敗しました！",
                                      "リスト削除: リストの読込みに失敗しました！"}));
  EXPECT_EQ(p.store.KeyValues(ListItemsKey())->at("itemcount").text, "2");

  // Readable again: the list shows, but the cell chosen showed nothing
  // before, so nothing is deleted; then the list takes an addition.
  p.store.PutDword(ListItemsKey(), "ItemCount", 2);
  p.commands.DeleteCurrentPhrase();
  EXPECT_EQ(p.ShownList(), (Phrases{"p0", "p1"}));
  EXPECT_EQ(p.Stored().ListPhrases, (Phrases{"p0", "p1"}));
  p.commands.AddPhraseFromDialog();
  p.host.cell = {1, 1};  // phrase 1 + 1 x 2 = 3: none
  p.commands.DeleteCurrentPhrase();
  p.host.cell = {1, 0};
  p.commands.DeleteCurrentPhrase();
  EXPECT_EQ(p.Stored().ListPhrases, (Phrases{"p0", "new"}));
  EXPECT_EQ(p.Stored().ListHints, (Phrases{"h0", "h"}));
  EXPECT_EQ(p.ShownList(), (Phrases{"p0", "new"}));
  EXPECT_EQ(p.host.feedback.size(), 2u);
}

TEST(MainCommandsTest, NoListStoredIsAnEmptyListThatTakesAdditions) {
  Palette p;
  p.Start();
  EXPECT_TRUE(p.model.ListRead());
  p.host.listEntry = {"first", "h"};
  p.commands.AddPhraseFromDialog();
  EXPECT_EQ(p.Stored().ListPhrases, Phrases{"first"});
}

// The show hotkey brings the palette forward, and pressed again (or Esc)
// gives the foreground back; a palette that was in the tray goes back there,
// one that was shown stays.
TEST(MainCommandsTest, ShowHotKeyBringsThePaletteAndTakesItBackWhereItWas) {
  for (const bool inTray : {true, false}) {
    SCOPED_TRACE(inTray ? "from the tray" : "shown");
    Palette p;
    p.Start();
    p.view.visible = !inTray;
    p.commands.ShowHotKey();
    EXPECT_TRUE(p.host.active);
    EXPECT_TRUE(p.view.visible);
    p.commands.ShowHotKey();
    EXPECT_EQ(p.host.givenBack, 1);
    EXPECT_EQ(p.view.visible, !inTray);
    p.commands.ReturnFromPalette();  // Esc after that: nothing more is hidden
    EXPECT_EQ(p.view.visible, !inTray);
  }
}

// A restore changes nothing unless the file is whole, the user agrees and
// the store was first kept beside the file; then the palette shows what the
// backup held, hotkeys included.
TEST(MainCommandsTest, RestoreKeepsTheStoreFirstAndReloadsThePalette) {
  struct Case {
    const char* name;
    bool fileOk, confirm, saveOk;
    bool restored;
  };
  const Case cases[] = {
      {"a damaged file", false, true, true, false},
      {"the user says no", true, false, true, false},
      {"the store cannot be kept", true, true, false, false},
      {"restored", true, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Palette p;
    p.StoreTwoColumnsAndList();
    p.Start();
    p.host.fileOk = c.fileOk;
    p.host.confirm = c.confirm;
    p.host.saveOk = c.saveOk;
    p.host.whileOpen = [&] { p.store.PutString(UserKey(0), "KanjSei", "R"); };
    p.commands.Command(kMnuRestore);
    EXPECT_EQ(p.host.restores, c.restored ? 1 : 0);
    EXPECT_EQ(p.model.profile().fields[0], c.restored ? "R" : "");
    EXPECT_EQ(p.host.hotKeysRegistered, c.restored ? 1 : 0);
    const bool kept = c.fileOk && c.confirm;
    EXPECT_EQ(p.host.saved.size(), kept ? 1u : 0u);
    if (kept) {
      EXPECT_EQ(p.host.saved[0], L"C:\\b\\x.tcb|beside");
      EXPECT_EQ(p.host.besideName, SafetyBackupName(p.host.Now()));
    }
    EXPECT_EQ(p.host.feedback.size(), c.restored || !c.confirm ? 0u : 1u);
  }
  Palette p;
  p.commands.Command(kMnuBackup);
  EXPECT_EQ(p.host.suggested, "Tabcard-20261209.tcb");
  EXPECT_EQ(p.host.saved, std::vector<std::wstring>{L"C:\\b\\x.tcb"});
}

}  // namespace
}  // namespace tabcard
