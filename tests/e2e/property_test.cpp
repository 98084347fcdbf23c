// The profile editor as a user meets it: opened at the first start and from
// the system menu, typed into with real keystrokes, its pages switched with
// the mouse, and what OK, Cancel, the memo page's Update and the list page
// leave in HKCU, in the memo files and in the palette.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "app/main_menus.h"
#include "core/strconv_win.h"
#include "forms/main_form.h"
#include "forms/property_form.h"
#include "app_test.h"
#include "harness.h"
#include "input.h"
#include "palette_setup.h"
#include "receiver_client.h"
#include "store/catalogue.h"

namespace tabcard::e2e {
namespace {

using C = forms::PropertyControl;

enum EditorPage { kPersonal = 0, kWorkplace = 1, kOther = 2, kMemoPage = 3, kListPage = 4 };

class PropertyTest : public AppTest {
 protected:
  void Start(bool completeStore, int palettePage = kPageKojin1) {
    if (completeStore) {
      ASSERT_TRUE(StoreCompleteProfile({palettePage}));
    }
    ASSERT_TRUE(program_.Start(dir_.path()));
    main_ = program_.MainWindow();
    ASSERT_NE(main_, nullptr);
  }

  HWND WaitEditor() { return WaitShown(L"TfrmProperty"); }
  // The editor as the system menu's プロパティ opens it.
  HWND OpenFromSystemMenu() {
    PostMessageW(main_, WM_SYSCOMMAND, kSysProperty, 0);
    return WaitEditor();
  }
  HWND Ctl(HWND dlg, C id) { return Control(dlg, id, 1000); }

  // Clicks the tab at a position of PageControl1 (fixed 100-px tabs; the
  // tab rectangles cannot be asked across processes) and waits for it.
  bool ShowPage(HWND dlg, int page) {
    HWND tabs = Ctl(dlg, C::PageControl1);
    const RECT r = WindowBounds(tabs);
    if (!Click(POINT{r.left + 52 + 100 * page, r.top + 12})) return false;
    return WaitFor([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == page; }, kActMs);
  }

  // Clicks into a box, waits for its focus and types text at its end.
  void TypeInto(HWND dlg, C box, const std::wstring& text) {
    HWND edit = Ctl(dlg, box);
    ASSERT_NE(edit, nullptr) << forms::IdOf(box);
    const std::wstring want = ControlText(edit) + text;
    ASSERT_TRUE(Click(Centre(WindowBounds(edit))));
    ASSERT_TRUE(WaitFor([&] { return FocusOf(dlg) == edit && GetForegroundWindow() == dlg; },
                        kActMs))
        << forms::IdOf(box);
    ASSERT_TRUE(PressKey(VK_END));
    ASSERT_TRUE(TypeText(text));
    ASSERT_TRUE(WaitFor([&] { return ControlText(edit) == want; }, kActMs))
        << forms::IdOf(box) << ": " << Narrow(ControlText(edit));
  }

  void ClickButton(HWND dlg, C id) {
    AppTest::ClickButton(Ctl(dlg, id), std::to_string(forms::IdOf(id)).c_str());
  }

  HWND WaitMessageBox() {
    HWND box = nullptr;
    WaitFor([&] { return (box = FindTopLevelNow({program_.pid(), L"#32770", true})); }, kActMs);
    return box;
  }

};

// The scenario that also runs in the C locale.
using SmokePropertyTest = PropertyTest;

// The first start's editor over a palette that stays topmost: the typed
// name is stored as CP932 with the derived user name, the other users get
// their default names, and the palette sends the new name.
TEST_F(SmokePropertyTest, FirstStartOpensTheEditorAndItsEditsReachStoreAndPalette) {
  ASSERT_NO_FATAL_FAILURE(Start(false));
  HWND dlg = WaitEditor();
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(TopMost(main_));
  EXPECT_FALSE(IsWindowEnabled(main_));
  const wchar_t* const shots[] = {L"property_personal", L"property_workplace", L"property_other",
                                  L"property_memo", L"property_list"};
  for (int page = kListPage; page >= kPersonal; --page) {
    ASSERT_TRUE(ShowPage(dlg, page)) << page;
    PumpFor(300);
    SaveScreenshot(dlg, shots[page]);
  }
  ASSERT_NO_FATAL_FAILURE(TypeInto(dlg, C::txtKnjSei, L"山田"));
  ASSERT_NO_FATAL_FAILURE(TypeInto(dlg, C::txtKnjMei, L"太郎"));
  ASSERT_TRUE(ShowPage(dlg, kWorkplace));
  ASSERT_NO_FATAL_FAILURE(TypeInto(dlg, C::txtKinmusaki, L"東京商事"));
  ASSERT_TRUE(PressKey(VK_RETURN));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dlg); }, kActMs));

  const std::wstring user1 = Key(L"\\User1");
  EXPECT_EQ(GetString(user1, L"KanjSei"), std::wstring(L"山田"));
  EXPECT_EQ(GetString(user1, L"KanjMei"), std::wstring(L"太郎"));
  EXPECT_EQ(GetString(user1, L"Kinmusaki"), std::wstring(L"東京商事"));
  const auto name = GetString(user1, L"UserName");
  EXPECT_EQ(name, std::wstring(L"山田太郎"));
  EXPECT_EQ(Narrow(name.value_or(L"")), "山田太郎");
  for (int n = 2; n <= 4; ++n) {
    SCOPED_TRACE(n);
    const std::wstring user = Key((L"\\User" + std::to_wstring(n)).c_str());
    const wchar_t digit = static_cast<wchar_t>(L'０' + n);
    EXPECT_EQ(GetString(user, L"UserName"), L"ＵＳＥＲ" + std::wstring(1, digit));
    for (const char* field : kFieldNames) {
      EXPECT_EQ(GetString(user, Widen(field).c_str()), std::wstring()) << field;
    }
  }

  HWND grid = Control(main_, forms::kMainGrids[kPageKojin1]);
  ASSERT_TRUE(receiver_.Start(kReceiverPos));
  ASSERT_TRUE(BringForward(receiver_.window()));
  ASSERT_TRUE(receiver_.Focus(kMultiLine));
  // The palette takes the program in front as its target on a tick.
  const std::wstring tick = L"tick " + std::to_wstring(GetTickCount64());
  ASSERT_TRUE(PutClipboardUnicode(tick));
  ASSERT_TRUE(WaitFor([&] { return WindowTitle(main_) == tick; }, kActMs));
  ASSERT_TRUE(DoubleClick(reader_.CellCentre(grid, 0, 0)));
  const auto state = receiver_.WaitState(
      [](const ReceiverState& s) { return s.text.at(kMultiLine) == L"山田太郎"; }, kActMs);
  ASSERT_TRUE(state.has_value());
  EXPECT_EQ(state->text.at(kMultiLine), L"山田太郎") << state->Describe();
}

// Cancel writes nothing, not even what a refused OK left in the boxes; the
// palette, lowered while the editor is open, is topmost again afterwards.
TEST_F(PropertyTest, CancelLeavesTheStoreAsItWas) {
  ASSERT_NO_FATAL_FAILURE(Start(true));
  const RegistrySnapshot before = Snapshot();
  ASSERT_GT(before.size(), 10u);
  HWND dlg = OpenFromSystemMenu();
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(WaitFor([&] { return !TopMost(main_); }, kActMs));

  // 𠮷 has no CP932 code: OK names it, selects it and keeps the editor open.
  const std::wstring unstorable = L"\U00020BB7";
  ASSERT_NO_FATAL_FAILURE(TypeInto(dlg, C::txtKnjMei, unstorable));
  ASSERT_TRUE(PressKey(VK_RETURN));
  HWND box = WaitMessageBox();
  ASSERT_NE(box, nullptr);
  const std::wstring message = ControlText(GetDlgItem(box, 0xFFFF));
  EXPECT_NE(message.find(unstorable), std::wstring::npos) << Narrow(message);
  EXPECT_NE(message.find(L"漢字氏名（名）"), std::wstring::npos) << Narrow(message);
  ASSERT_TRUE(PressKey(VK_RETURN));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, kActMs));
  EXPECT_TRUE(IsWindowVisible(dlg));
  HWND mei = Ctl(dlg, C::txtKnjMei);
  EXPECT_EQ(SendMessageW(mei, EM_GETSEL, 0, 0), MAKELRESULT(2, 4));
  EXPECT_EQ(Differences(before, Snapshot()), "");

  ASSERT_TRUE(WaitFor([&] { return FocusOf(dlg) == mei; }, kActMs));
  ASSERT_TRUE(PressKey(VK_BACK));  // the selected character
  ASSERT_TRUE(WaitFor([&] { return ControlText(mei) == L"太郎"; }, kActMs));
  ASSERT_NO_FATAL_FAILURE(TypeInto(dlg, C::txtKnjSei, L"川"));
  ASSERT_TRUE(ShowPage(dlg, kWorkplace));
  ASSERT_NO_FATAL_FAILURE(TypeInto(dlg, C::txtSyozoku, L"営業部"));
  ASSERT_TRUE(PressKey(VK_ESCAPE));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dlg); }, kActMs));
  EXPECT_TRUE(WaitFor([&] { return TopMost(main_); }, kActMs));
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_EQ(Differences(before, Snapshot()), "");
}

// The memo page writes its file at once; the list page's entry is stored
// by OK, and the palette then shows both and gives the phrase its hint.
TEST_F(PropertyTest, MemoUpdateWritesAtOnceAndOkBringsMemoAndPhraseToThePalette) {
  ASSERT_NO_FATAL_FAILURE(Start(true, kPageList));
  HWND memoGrid = Control(main_, forms::kMainGrids[kPageMemo]);
  HWND listGrid = Control(main_, forms::kMainGrids[kPageList]);
  HWND dlg = OpenFromSystemMenu();
  ASSERT_NE(dlg, nullptr);

  const std::wstring memo = L"牛乳とパンを買う";
  ASSERT_TRUE(ShowPage(dlg, kMemoPage));
  HWND editorMemos = Ctl(dlg, C::SGrdMemo);
  ASSERT_TRUE(Click(reader_.CellCentre(editorMemos, 0, 0)));
  ASSERT_NO_FATAL_FAILURE(TypeInto(dlg, C::Memo, memo));
  ASSERT_NO_FATAL_FAILURE(ClickButton(dlg, C::cmdMemoUpDate));
  EXPECT_TRUE(WaitFor([&] { return dir_.ReadFile(L"Memo000.txt") == Narrow(memo); }, kActMs))
      << dir_.ReadFile(L"Memo000.txt").value_or("<no file>");
  EXPECT_TRUE(WaitFor([&] { return reader_.CellOr(editorMemos, 0, 0) == Narrow(memo); }, kActMs));
  EXPECT_EQ(reader_.CellOr(memoGrid, 0, 0), "");  // the palette reloads on OK only

  // A memo holds 4096 bytes of Shift-JIS: 2,100 kana (4,200 bytes) pasted
  // into the box are cut to what fits, and 更新 writes what the box shows.
  ASSERT_TRUE(Click(reader_.CellCentre(editorMemos, 0, 1)));
  ASSERT_NO_FATAL_FAILURE(ClickButton(dlg, C::cmdMemoClr));
  HWND box = Ctl(dlg, C::Memo);
  ASSERT_TRUE(WaitFor([&] { return ControlText(box).empty(); }, kActMs));
  ASSERT_TRUE(PutClipboardUnicode(std::wstring(2100, L'あ')));
  SendMessageW(box, WM_PASTE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return ControlText(box) == std::wstring(2048, L'あ'); }, kActMs))
      << ControlText(box).size();
  ASSERT_NO_FATAL_FAILURE(ClickButton(dlg, C::cmdMemoUpDate));
  EXPECT_TRUE(WaitFor([&] { return dir_.ReadFile(L"Memo001.txt") == Narrow(ControlText(box)); },
                      kActMs))
      << dir_.ReadFile(L"Memo001.txt").value_or("<no file>").size();

  const std::wstring phrase = L"お世話になっております。";
  ASSERT_TRUE(ShowPage(dlg, kListPage));
  ASSERT_NO_FATAL_FAILURE(TypeInto(dlg, C::txtListMemo, phrase));
  ASSERT_NO_FATAL_FAILURE(TypeInto(dlg, C::txtListHint, L"挨拶"));
  ASSERT_NO_FATAL_FAILURE(ClickButton(dlg, C::cmdAddList));
  HWND entries = Ctl(dlg, C::ListBox1);
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(entries, LB_GETCOUNT, 0, 0) == 1; }, kActMs));
  EXPECT_EQ(ControlText(Ctl(dlg, C::txtListMemo)), L"");
  ASSERT_NO_FATAL_FAILURE(ClickButton(dlg, C::cmdOK));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dlg); }, kActMs));

  EXPECT_TRUE(WaitFor([&] { return reader_.CellOr(memoGrid, 0, 0) == Narrow(memo); }, kActMs))
      << reader_.CellOr(memoGrid, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return reader_.CellOr(listGrid, 0, 0) == Narrow(phrase); }, kActMs))
      << reader_.CellOr(listGrid, 0, 0);
  ASSERT_TRUE(Click(reader_.CellCentre(listGrid, 0, 0)));
  // The tooltip's hint, as a screen reader hears it: the cell's description.
  EXPECT_TRUE(WaitFor([&] { return reader_.Hint(listGrid, 0, 0) == std::wstring(L"挨拶"); },
                      kActMs))
      << Narrow(reader_.Hint(listGrid, 0, 0).value_or(L"<no hint>"));
}

// A session that ends while the editor holds edits waits for them: a
// sign-out that the user then cancels finds the dialog as it was, and OK
// stores the edit. Without edits the editor agrees at once.
TEST_F(PropertyTest, AnEditorWithEditsHoldsTheEndOfTheSession) {
  ASSERT_NO_FATAL_FAILURE(Start(true));
  HWND dlg = OpenFromSystemMenu();
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(program_.QueryEndSession());
  ASSERT_NO_FATAL_FAILURE(TypeInto(dlg, C::txtKnjMei, L"花子"));
  EXPECT_FALSE(program_.QueryEndSession());
  program_.EndSession(false);
  ASSERT_TRUE(IsWindow(dlg));
  HWND mei = Ctl(dlg, C::txtKnjMei);
  const std::wstring typed = ControlText(mei);
  EXPECT_EQ(typed.substr(typed.size() - 2), L"花子");
  ASSERT_NO_FATAL_FAILURE(ClickButton(dlg, C::cmdOK));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dlg); }, kActMs));
  EXPECT_EQ(GetString(Key(L"\\User1"), L"KanjMei"), typed);
  EXPECT_TRUE(program_.QueryEndSession());
}

}  // namespace
}  // namespace tabcard::e2e
