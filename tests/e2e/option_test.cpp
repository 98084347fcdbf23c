// The options dialog as a user meets it: written unseen at the first start,
// opened from the system menu, its page settings, item assignment, font
// dialog and behaviour options worked with the mouse and keyboard, and what
// OK leaves in HKCU and in the palette.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "app/main_menus.h"
#include "core/strconv_win.h"
#include "forms/main_form.h"
#include "forms/option_form.h"
#include "options/option_model.h"
#include "options/startup_shortcut_win.h"
#include "app_test.h"
#include "harness.h"
#include "input.h"
#include "palette_setup.h"
#include "receiver_client.h"
#include "store/catalogue.h"
#include "store/hotkey.h"
#include "store/layout.h"

namespace tabcard::e2e {
namespace {

using C = forms::OptionControl;

std::wstring ConfigKeyOf(int page) {
  return Key(L"\\Config\\") + Widen(kPageKeyNames[static_cast<std::size_t>(page)]);
}
std::wstring ItemsKeyOf(int page) { return ConfigKeyOf(page) + L"\\Items"; }

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
  std::sort(names.begin(), names.end());
  return names;
}

class OptionTest : public AppTest {
 protected:
  void Start(bool completeStore) {
    if (completeStore) {
      ASSERT_TRUE(StoreCompleteProfile({}));
    }
    ASSERT_TRUE(program_.Start(dir_.path()));
    main_ = program_.MainWindow();
    ASSERT_NE(main_, nullptr);
  }

  // The dialog as the system menu's オプション opens it.
  HWND Open() {
    PostMessageW(main_, WM_SYSCOMMAND, kSysOption, 0);
    return WaitShown(L"TfrmOption");
  }
  // The dialog opened and turned to a tab of PageControl1; null otherwise.
  HWND OpenOn(int tab) {
    HWND dlg = Open();
    return dlg && ShowTab(dlg, C::PageControl1, tab) ? dlg : nullptr;
  }
  HWND Ctl(HWND dlg, C id) { return Control(dlg, id, 1000); }
  // A list box line's place on the screen, near its left end.
  static POINT LineCentre(HWND list, int line) {
    const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    const int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    POINT p{20, (line - top) * height + height / 2};
    ClientToScreen(list, &p);
    return p;
  }

  // Clicks a tab at its place (the tabs are of fixed width, scaled with the
  // dialog's DPI; their rectangles cannot be asked across processes) and
  // waits for it.
  bool ShowTab(HWND dlg, C pageControl, int tab, int dpi = 96) {
    HWND tabs = Ctl(dlg, pageControl);
    const int width =
        forms::FindControl(forms::OptionForm(), forms::IdOf(pageControl))->tabWidth * dpi / 96;
    const RECT r = WindowBounds(tabs);
    if (!Click(POINT{r.left + width / 2 + 2 + width * tab, r.top + 12 * dpi / 96})) return false;
    return WaitFor([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == tab; }, kActMs);
  }

  // Clicks into a box, selects what it holds and types text over it.
  void TypeInto(HWND dlg, C box, const std::wstring& text) {
    HWND edit = Ctl(dlg, box);
    ASSERT_NE(edit, nullptr) << forms::IdOf(box);
    ASSERT_TRUE(Click(Centre(WindowBounds(edit))));
    ASSERT_TRUE(WaitFor([&] { return FocusOf(dlg) == edit; }, kActMs)) << forms::IdOf(box);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    ASSERT_TRUE(TypeText(text));
    ASSERT_TRUE(WaitFor([&] { return ControlText(edit) == text; }, kActMs))
        << forms::IdOf(box) << ": " << Narrow(ControlText(edit));
  }

  void ClickButton(HWND dlg, C id) {
    AppTest::ClickButton(Ctl(dlg, id), std::to_string(forms::IdOf(id)).c_str());
  }

  void PressOk(HWND dlg) {
    ASSERT_NO_FATAL_FAILURE(ClickButton(dlg, C::cmdOK));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dlg); }, kActMs));
  }

  // A visible dialog (#32770) that owner owns: a message box, the font dialog.
  HWND WaitOwnedDialog(HWND owner) {
    HWND found = nullptr;
    WaitFor(
        [&] {
          found = FindTopLevelNow({program_.pid(), L"#32770", true});
          return found && GetWindow(found, GW_OWNER) == owner;
        },
        kActMs);
    return found && GetWindow(found, GW_OWNER) == owner ? found : nullptr;
  }

  // The dialog's message box: its caption, a text that holds part, and
  // Enter, which closes it.
  void AnswerMessage(HWND dlg, const char* caption, const std::wstring& part) {
    HWND box = WaitOwnedDialog(dlg);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowTitle(box), Widen(caption));
    const std::wstring message = ControlText(GetDlgItem(box, 0xFFFF));
    EXPECT_NE(message.find(part), std::wstring::npos) << Narrow(message);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == box; }, kActMs));
    ASSERT_TRUE(PressKey(VK_RETURN));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, kActMs));
  }

  bool HasShape(HWND grid, int cols, int rows) {
    const auto g = reader_.Geometry(grid);
    return g && g->cols == cols && g->rows == rows;
  }

};

// The chord a hot-key box shows, in the stored format.
DWORD ChordIn(HWND box) { return LOWORD(SendMessageW(box, HKM_GETHOTKEY, 0, 0)); }

// Ctrl+K pressed and let go as a user types it, scan codes and all: Wine's
// hot-key box takes the key of the WM_CHAR that follows from its scan code.
bool TypeCtrlK() {
  INPUT in[4]{};
  const WORD keys[4] = {VK_CONTROL, 'K', 'K', VK_CONTROL};
  for (int i = 0; i < 4; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = keys[i];
    in[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(keys[i], MAPVK_VK_TO_VSC));
    in[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
  }
  return SendInput(4, in, sizeof(INPUT)) == 4;
}

// A chord this thread registers, as another program holding it would.
struct HeldChord {
  explicit HeldChord(HotKey key)
      : held(RegisterHotKey(nullptr, kId, RegisterModifiers(key), HotKeyVk(key)) != FALSE) {}
  ~HeldChord() {
    if (held) UnregisterHotKey(nullptr, kId);
  }
  static constexpr int kId = 1;
  const bool held;
};

// The first start and the reshaping OK also run in the C locale.
using SmokeOptionTest = OptionTest;

// Nothing of the configuration exists while the first start's editor is
// open; once it is cancelled the unseen save has written all of it.
TEST_F(SmokeOptionTest, FirstStartWritesTheWholeStandardConfiguration) {
  ASSERT_NO_FATAL_FAILURE(Start(false));
  HWND editor = WaitShown(L"TfrmProperty");
  ASSERT_NE(editor, nullptr);
  EXPECT_FALSE(ValueNames(ConfigKeyOf(kPageKojin1)).has_value());
  ASSERT_TRUE(BringForward(editor));
  ASSERT_TRUE(PressKey(VK_ESCAPE));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(editor); }, kActMs));
  // The save's last value.
  ASSERT_TRUE(
      WaitFor([&] { return GetString(ItemsKeyOf(kPageKojin2), L"Item011").has_value(); }, kActMs));

  for (const wchar_t* flag : {L"BootInTaskTray", L"CloseInTaskTray", L"TabMode"}) {
    EXPECT_EQ(GetDword(Key(), flag), std::optional<DWORD>(0)) << Narrow(flag);
  }
  const std::vector<std::wstring> configValues =
      Sorted({L"ColCount", L"RowCount", L"ColWidth", L"RowHeight", L"ColWidthMode", L"FontName",
              L"FontSize", L"FontBold", L"FontItalic"});
  const std::wstring face = Widen(StandardFont(GetACP() == 932).name);
  struct Shape {
    int page;
    DWORD cols, rows;
  };
  for (const Shape& s : {Shape{kPageKojin1, 2, 6}, Shape{kPageKojin2, 2, 6},
                         Shape{kPageMemo, 1, 10}, Shape{kPageList, 1, 10}}) {
    SCOPED_TRACE(kPageKeyNames[static_cast<std::size_t>(s.page)]);
    const std::wstring key = ConfigKeyOf(s.page);
    EXPECT_EQ(Sorted(ValueNames(key).value_or(std::vector<std::wstring>{})), configValues);
    EXPECT_EQ(GetDword(key, L"ColCount"), std::optional<DWORD>(s.cols));
    EXPECT_EQ(GetDword(key, L"RowCount"), std::optional<DWORD>(s.rows));
    EXPECT_EQ(GetDword(key, L"ColWidthMode"), std::optional<DWORD>(0));
    EXPECT_EQ(GetString(key, L"FontName"), std::optional<std::wstring>(face));
  }
  std::vector<std::wstring> itemValues{L"ItemCount"};
  for (int n = 0; n < 12; ++n) {
    wchar_t name[16];
    for (const wchar_t* series : {L"Item", L"Form"}) {
      swprintf(name, 16, L"%ls%03d", series, n);
      itemValues.push_back(name);
    }
  }
  struct Items {
    int page;
    const wchar_t* first;
    const wchar_t* last;
  };
  for (const Items& it :
       {Items{kPageKojin1, L"氏名", L"年齢"}, Items{kPageKojin2, L"勤務先名", L"ｅｔｃ３"}}) {
    SCOPED_TRACE(kPageKeyNames[static_cast<std::size_t>(it.page)]);
    const std::wstring key = ItemsKeyOf(it.page);
    EXPECT_EQ(Sorted(ValueNames(key).value_or(std::vector<std::wstring>{})), Sorted(itemValues));
    EXPECT_EQ(GetDword(key, L"ItemCount"), std::optional<DWORD>(12));
    EXPECT_EQ(GetString(key, L"Item000"), std::optional<std::wstring>(it.first));
    EXPECT_EQ(GetString(key, L"Item011"), std::optional<std::wstring>(it.last));
    EXPECT_EQ(GetString(key, L"Form000"), std::optional<std::wstring>(L""));
  }
}

// 3 columns and 4 rows on 個１: the preview re-flows at 更新, a count of 0
// is refused with nothing changed, and OK brings the shape to HKCU and to
// the palette, lowered from topmost meanwhile.
TEST_F(SmokeOptionTest, CellSettingsReshapeThePreviewAndAfterOkThePalette) {
  ASSERT_NO_FATAL_FAILURE(Start(true));
  HWND dlg = Open();
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(WaitFor([&] { return !TopMost(main_); }, kActMs));
  ASSERT_TRUE(ShowTab(dlg, C::PageControl3, 1));
  ASSERT_TRUE(WaitFor([&] { return ControlText(Ctl(dlg, C::txtRowCnt)) == L"6"; }, kActMs));
  ASSERT_NO_FATAL_FAILURE(TypeInto(dlg, C::txtColCnt, L"3"));
  ASSERT_NO_FATAL_FAILURE(TypeInto(dlg, C::txtRowCnt, L"4"));
  ASSERT_NO_FATAL_FAILURE(ClickButton(dlg, C::cmdUpDateKjn));
  HWND preview = Ctl(dlg, forms::kPreviewGrids[kPageKojin1]);
  ASSERT_TRUE(WaitFor([&] { return HasShape(preview, 3, 4); }, kActMs));
  EXPECT_EQ(reader_.CellOr(preview, 1, 2), "〒");  // slot 6, column by column

  ASSERT_NO_FATAL_FAILURE(TypeInto(dlg, C::txtColCnt, L"0"));
  ASSERT_NO_FATAL_FAILURE(ClickButton(dlg, C::cmdUpDateKjn));
  ASSERT_NO_FATAL_FAILURE(AnswerMessage(dlg, forms::kCellSettingsCaption, L"列数"));
  EXPECT_TRUE(HasShape(preview, 3, 4));

  ASSERT_NO_FATAL_FAILURE(PressOk(dlg));
  EXPECT_EQ(GetDword(ConfigKeyOf(kPageKojin1), L"ColCount"), std::optional<DWORD>(3));
  EXPECT_EQ(GetDword(ConfigKeyOf(kPageKojin1), L"RowCount"), std::optional<DWORD>(4));
  EXPECT_EQ(GetDword(ItemsKeyOf(kPageKojin1), L"ItemCount"), std::optional<DWORD>(12));
  HWND palette = Control(main_, forms::kMainGrids[kPageKojin1]);
  EXPECT_TRUE(WaitFor([&] { return HasShape(palette, 3, 4); }, kActMs));
  EXPECT_EQ(reader_.CellOr(palette, 1, 2), "〒");
  EXPECT_TRUE(WaitFor([&] { return TopMost(main_); }, kActMs));
}

// A real drag from the item list onto 個２'s preview; only 個２'s slot
// changes, and the palette's 個２ shows the item after OK.
TEST_F(OptionTest, ItemDraggedOntoThePreviewIsStoredInItsSlot) {
  ASSERT_NO_FATAL_FAILURE(Start(true));
  HWND dlg = Open();
  ASSERT_NE(dlg, nullptr);
  ASSERT_TRUE(ShowTab(dlg, C::PageControl2, kPageKojin2));
  HWND list = Ctl(dlg, C::lstKojinItem);
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(list) != FALSE; }, kActMs));
  const int line = FindItem("E-Mail2");
  ASSERT_LT(line - SendMessageW(list, LB_GETTOPINDEX, 0, 0), 17) << "the line is scrolled out of sight";
  const POINT from = LineCentre(list, line);

  // Column 1, row 2 of 6 rows: slot 8.
  HWND preview = Ctl(dlg, forms::kPreviewGrids[kPageKojin2]);
  ASSERT_EQ(reader_.CellOr(preview, 1, 2), "勤住所２");
  ASSERT_TRUE(Drag(from, reader_.CellCentre(preview, 1, 2)));
  EXPECT_TRUE(WaitFor([&] { return reader_.CellOr(preview, 1, 2) == "E-Mail2"; }, kActMs))
      << reader_.CellOr(preview, 1, 2);
  const auto g = reader_.Geometry(preview);
  ASSERT_TRUE(g.has_value());
  EXPECT_EQ(g->currentCol, 1);
  EXPECT_EQ(g->currentRow, 2);
  EXPECT_EQ(CaptureOf(ThreadOf(dlg)), nullptr);
  SaveScreenshot(dlg, L"option_pages");

  ASSERT_NO_FATAL_FAILURE(PressOk(dlg));
  EXPECT_EQ(GetString(ItemsKeyOf(kPageKojin2), L"Item008"),
            std::optional<std::wstring>(L"E-Mail2"));
  EXPECT_EQ(GetString(ItemsKeyOf(kPageKojin1), L"Item008"), std::optional<std::wstring>(L"住所１"));
  HWND palette = Control(main_, forms::kMainGrids[kPageKojin2]);
  EXPECT_TRUE(WaitFor([&] { return reader_.CellOr(palette, 1, 2) == "E-Mail2"; }, kActMs))
      << reader_.CellOr(palette, 1, 2);
}

// The preview's font cannot be read from another process: the font dialog
// shows the font it was loaded with, and after Apply and Esc the store
// keeps the standard font.
TEST_F(OptionTest, FontDialogCancelledAfterApplyLeavesTheFont) {
  ASSERT_NO_FATAL_FAILURE(Start(true));
  HWND dlg = Open();
  ASSERT_NE(dlg, nullptr);
  ASSERT_TRUE(ShowTab(dlg, C::PageControl3, 1));
  ASSERT_NO_FATAL_FAILURE(ClickButton(dlg, C::cmdFont));
  HWND fonts = WaitOwnedDialog(dlg);
  ASSERT_NE(fonts, nullptr);
  const FontFace standard = StandardFont(GetACP() == 932);
  const std::wstring face = Widen(standard.name);
  HWND faces = GetDlgItem(fonts, cmb1);
  EXPECT_TRUE(WaitFor([&] { return ControlText(faces) == face; }, kActMs))
      << Narrow(ControlText(faces));
  EXPECT_EQ(ControlText(GetDlgItem(fonts, cmb3)), std::to_wstring(standard.size));

  // The face box has the focus as the dialog opens: Down picks the next face.
  ASSERT_TRUE(WaitFor(
      [&] { return GetForegroundWindow() == fonts && IsChild(faces, FocusOf(fonts)); }, kActMs));
  ASSERT_TRUE(PressKey(VK_DOWN));
  EXPECT_TRUE(WaitFor([&] { return ControlText(faces) != face; }, kActMs));
  // Apply, then Esc: the dialog's thread takes them in this order.
  ASSERT_TRUE(Click(Centre(WindowBounds(GetDlgItem(fonts, psh3)))));
  ASSERT_TRUE(PressKey(VK_ESCAPE));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(fonts); }, kActMs));
  EXPECT_TRUE(IsWindowEnabled(dlg));

  ASSERT_NO_FATAL_FAILURE(PressOk(dlg));
  EXPECT_EQ(GetString(ConfigKeyOf(kPageKojin1), L"FontName"), std::optional<std::wstring>(face));
  EXPECT_EQ(GetDword(ConfigKeyOf(kPageKojin1), L"FontSize"),
            std::optional<DWORD>(static_cast<DWORD>(standard.size)));
}

// ホットキー: Ctrl+K typed into パレットを表示 becomes Ctrl+Alt+K (one
// modifier alone is no chord of ours), which OK stores and the palette then
// holds. A chord this test holds itself, put into 連続入力, is named in a
// box on OK and keeps the dialog open; emptied with なし, OK closes.
TEST_F(OptionTest, HotKeysAreRegisteredBeforeTheyAreStored) {
  ASSERT_NO_FATAL_FAILURE(Start(true));
  HWND dlg = OpenOn(kHotKeyTab);
  ASSERT_NE(dlg, nullptr);
  HWND show = Ctl(dlg, C::hkyHotKeyShow);
  HWND step = Ctl(dlg, C::hkyHotKeyStep);
  ASSERT_EQ(ChordIn(show), kStandardShowHotKey);
  ASSERT_TRUE(Click(Centre(WindowBounds(show))));
  ASSERT_TRUE(WaitFor([&] { return FocusOf(dlg) == show; }, kActMs));
  ASSERT_TRUE(TypeCtrlK());
  const HotKey ctrlAltK = MakeHotKey('K', hotkeyf::kControl | hotkeyf::kAlt);
  ASSERT_TRUE(WaitFor([&] { return ChordIn(show) == ctrlAltK; }, kActMs)) << ChordIn(show);
  SaveScreenshot(dlg, L"option_hotkeys");
  ASSERT_NO_FATAL_FAILURE(PressOk(dlg));
  EXPECT_EQ(GetDword(Key(), L"HotKeyShow"), std::optional<DWORD>(ctrlAltK));
  EXPECT_EQ(GetDword(Key(), L"HotKeyStep"), std::optional<DWORD>(kStandardStepHotKey));
  EXPECT_FALSE(HeldChord(ctrlAltK).held) << "the palette does not hold Ctrl+Alt+K";

  const HotKey chord = MakeHotKey(VK_F9, hotkeyf::kControl | hotkeyf::kShift);
  const HeldChord held(chord);
  ASSERT_TRUE(held.held);
  dlg = OpenOn(kHotKeyTab);
  ASSERT_NE(dlg, nullptr);
  step = Ctl(dlg, C::hkyHotKeyStep);
  EXPECT_EQ(ChordIn(Ctl(dlg, C::hkyHotKeyShow)), ctrlAltK);
  // Set, not typed: this thread's own chord would never reach the box.
  SendMessageW(step, HKM_SETHOTKEY, chord, 0);
  ASSERT_NO_FATAL_FAILURE(ClickButton(dlg, C::cmdOK));
  ASSERT_NO_FATAL_FAILURE(AnswerMessage(dlg, forms::kOptionCaption, L"Ctrl+Shift+F9"));
  EXPECT_TRUE(IsWindow(dlg));
  EXPECT_EQ(GetDword(Key(), L"HotKeyStep"), std::optional<DWORD>(kStandardStepHotKey));

  ASSERT_NO_FATAL_FAILURE(ClickButton(dlg, C::cmdClearStep));
  ASSERT_TRUE(WaitFor([&] { return ChordIn(step) == kNoHotKey; }, kActMs));
  ASSERT_NO_FATAL_FAILURE(PressOk(dlg));
  EXPECT_EQ(GetDword(Key(), L"HotKeyStep"), std::optional<DWORD>(kNoHotKey));
  EXPECT_EQ(GetDword(Key(), L"HotKeyShow"), std::optional<DWORD>(ctrlAltK));
}

// 起動／複写動作 and OK. Start with Windows: a shortcut of another copy (this
// test's own) shows unchecked and is replaced by one starting Tabcard.exe in
// its folder, which unchecking removes. TAB mode: the palette's next drag
// ends with a TAB.
TEST_F(OptionTest, BehaviourChecksTakeEffectOnOk) {
  const std::wstring shortcut = StartupShortcutPath();
  std::string reason;
  ASSERT_TRUE(StartupShortcutWin().Make(&reason)) << reason;
  ASSERT_TRUE(PutString(Key(L"\\PasteKeys"), L"wordpad.exe", L"Ctrl+V"));
  ASSERT_TRUE(PutString(Key(L"\\PasteKeys"), L"other.exe", L"Shift+Insert"));
  ASSERT_NO_FATAL_FAILURE(Start(true));
  auto check = [&](HWND box, LRESULT to) {
    ASSERT_TRUE(Click(Centre(WindowBounds(box))));
    ASSERT_TRUE(WaitFor([&] { return SendMessageW(box, BM_GETCHECK, 0, 0) == to; }, kActMs));
  };
  HWND dlg = OpenOn(kBehaviourTab);
  ASSERT_NE(dlg, nullptr);
  HWND tabMode = Ctl(dlg, C::chkTabMode);
  HWND startup = Ctl(dlg, C::chkStartWithWindows);
  ASSERT_EQ(SendMessageW(tabMode, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  ASSERT_EQ(SendMessageW(startup, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  ASSERT_NO_FATAL_FAILURE(check(tabMode, BST_CHECKED));
  ASSERT_NO_FATAL_FAILURE(check(startup, BST_CHECKED));
  SaveScreenshot(dlg, L"option_behaviour");
  ASSERT_NO_FATAL_FAILURE(PressOk(dlg));
  EXPECT_EQ(GetDword(Key(), L"TabMode"), std::optional<DWORD>(1));
  EXPECT_EQ(GetDword(Key(), L"CloseInTaskTray"), std::optional<DWORD>(0));
  std::wstring target, folder;
  ASSERT_TRUE(ReadShortcut(shortcut, &target, &folder));
  EXPECT_EQ(CompareStringOrdinal(target.c_str(), -1, TabcardPath().c_str(), -1, TRUE), CSTR_EQUAL)
      << Narrow(target);
  EXPECT_EQ(CompareStringOrdinal(folder.c_str(), -1, dir_.path().c_str(), -1, TRUE), CSTR_EQUAL)
      << Narrow(folder);

  dlg = OpenOn(kBehaviourTab);
  ASSERT_NE(dlg, nullptr);
  startup = Ctl(dlg, C::chkStartWithWindows);
  ASSERT_EQ(SendMessageW(startup, BM_GETCHECK, 0, 0), BST_CHECKED);
  ASSERT_NO_FATAL_FAILURE(check(startup, BST_UNCHECKED));
  // 貼り付けキー: one rule switched, the other removed.
  ASSERT_TRUE(ShowTab(dlg, C::PageControl1, kPasteKeyTab));
  HWND rules = Ctl(dlg, C::lstPasteKeys);
  const auto line = [&](int n) {
    wchar_t text[128] = {};
    return SendMessageW(rules, LB_GETTEXT, n, reinterpret_cast<LPARAM>(text)) > 0 ? std::wstring(text)
                                                                                : std::wstring();
  };
  ASSERT_EQ(SendMessageW(rules, LB_GETCOUNT, 0, 0), 2);
  const int pad = line(0).rfind(L"wordpad.exe", 0) == 0 ? 0 : 1;
  EXPECT_NE(line(pad).find(L"Ctrl+V"), std::wstring::npos) << Narrow(line(pad));
  ASSERT_TRUE(Click(LineCentre(rules, pad)));
  ASSERT_TRUE(Click(Centre(WindowBounds(Ctl(dlg, C::cmdSwitchPasteKey)))));
  EXPECT_TRUE(WaitFor([&] { return line(pad).find(L"Shift+Insert") != std::wstring::npos; }, kActMs))
      << Narrow(line(pad));
  SaveScreenshot(dlg, L"option_paste_keys");
  ASSERT_TRUE(Click(LineCentre(rules, 1 - pad)));
  ASSERT_TRUE(Click(Centre(WindowBounds(Ctl(dlg, C::cmdDelPasteKey)))));
  EXPECT_TRUE(WaitFor([&] { return SendMessageW(rules, LB_GETCOUNT, 0, 0) == 1; }, kActMs));
  ASSERT_NO_FATAL_FAILURE(PressOk(dlg));
  EXPECT_EQ(GetFileAttributesW(shortcut.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ValueNames(Key(L"\\PasteKeys")), std::optional(std::vector<std::wstring>{L"wordpad.exe"}));
  EXPECT_EQ(GetString(Key(L"\\PasteKeys"), L"wordpad.exe"), std::optional<std::wstring>(L"Shift+Insert"));

  ASSERT_TRUE(receiver_.Start(kReceiverPos));
  const auto fields = receiver_.Dump();
  ASSERT_TRUE(fields.has_value());
  HWND grid = Control(main_, forms::kMainGrids[kPageKojin1]);
  ASSERT_TRUE(Drag(reader_.CellCentre(grid, 0, 0), Centre(fields->rect.at(kEdit2))));
  const auto state =
      receiver_.WaitState([](const ReceiverState& s) { return s.focus == kMultiLine; }, kActMs);
  ASSERT_TRUE(state.has_value());
  EXPECT_EQ(state->focus, kMultiLine) << state->Describe();
  EXPECT_EQ(state->text.at(kEdit2), kProfileName) << state->Describe();
}

// A format chosen with 形式 for 個１'s ＴＥＬ: the preview's cell is marked
// and named at once, OK stores it beside the item, and the palette's cell,
// marked too, types its value as the format makes it. Once at 96 and once at
// 192 DPI, where the mark and the sheet's layout scale.
class OptionFormatTest : public OptionTest, public ::testing::WithParamInterface<int> {
 protected:
  void TearDown() override {
    OptionTest::TearDown();
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels");
  }
};

TEST_P(OptionFormatTest, ChosenFormatMarksTheCellAndShapesWhatItTypes) {
  const int dpi = GetParam();
  ASSERT_TRUE(PutDword(L"Control Panel\\Desktop", L"LogPixels", static_cast<DWORD>(dpi)));
  ASSERT_TRUE(StoreCompleteProfile({}));
  // Tall enough at either DPI to show ＴＥＬ's row.
  ASSERT_TRUE(PutDword(Key(), L"Height", static_cast<DWORD>(160 * dpi / 96)));
  ASSERT_NO_FATAL_FAILURE(Start(false));
  HWND dlg = Open();
  ASSERT_NE(dlg, nullptr);
  HWND preview = Ctl(dlg, forms::kPreviewGrids[kPageKojin1]);
  HWND forms = Ctl(dlg, C::cboForm);
  ASSERT_NE(forms, nullptr);
  ASSERT_EQ(reader_.CellOr(preview, 0, 4), "ＴＥＬ");
  ASSERT_TRUE(Click(reader_.CellCentre(preview, 0, 4)));
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(forms, CB_GETCURSEL, 0, 0) == 0; }, kActMs));
  EXPECT_NE(IsWindowEnabled(forms), FALSE);

  // 数字のみ is the fourth line: down three lines in the dropped list, Enter.
  ASSERT_TRUE(Click(Centre(WindowBounds(forms))));
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(PressKey(VK_DOWN));
  ASSERT_TRUE(PressKey(VK_RETURN));
  const std::wstring mark = L"形式：数字のみ";
  EXPECT_TRUE(WaitFor([&] { return reader_.Hint(preview, 0, 4) == mark; }, kActMs))
      << Narrow(reader_.Hint(preview, 0, 4).value_or(L"<none>"));
  EXPECT_EQ(SendMessageW(forms, CB_GETCURSEL, 0, 0), 3);
  EXPECT_EQ(reader_.Hint(preview, 0, 3), std::nullopt);
  SaveScreenshot(dlg, L"option_formats_" + std::to_wstring(dpi) + L"dpi");

  // メモ has no formats: 形式 is off there.
  ASSERT_TRUE(ShowTab(dlg, C::PageControl2, kPageMemo, dpi));
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(forms) == FALSE; }, kActMs));
  EXPECT_EQ(SendMessageW(forms, CB_GETCURSEL, 0, 0), CB_ERR);
  ASSERT_NO_FATAL_FAILURE(PressOk(dlg));
  EXPECT_EQ(GetString(ItemsKeyOf(kPageKojin1), L"Form004"), std::optional<std::wstring>(L"数字のみ"));
  EXPECT_EQ(GetString(ItemsKeyOf(kPageKojin1), L"Form003"), std::optional<std::wstring>(L""));
  EXPECT_EQ(GetString(ItemsKeyOf(kPageKojin1), L"Item004"), std::optional<std::wstring>(L"ＴＥＬ"));

  HWND grid = Control(main_, forms::kMainGrids[kPageKojin1]);
  EXPECT_TRUE(WaitFor([&] { return reader_.Hint(grid, 0, 4) == mark; }, kActMs));
  ASSERT_TRUE(receiver_.Start(kReceiverPos));
  ASSERT_TRUE(BringForward(receiver_.window()));
  ASSERT_TRUE(receiver_.Focus(kMultiLine));
  // The palette takes the program in front as its target on a tick.
  ASSERT_TRUE(PutClipboardUnicode(L"tick"));
  ASSERT_TRUE(WaitFor([&] { return WindowTitle(main_) == L"tick"; }, kActMs));
  ASSERT_TRUE(DoubleClick(reader_.CellCentre(grid, 0, 4)));
  const auto state = receiver_.WaitState(
      [](const ReceiverState& s) { return s.text.at(kMultiLine) == L"0312345678"; }, kActMs);
  ASSERT_TRUE(state.has_value());
  EXPECT_EQ(state->text.at(kMultiLine), L"0312345678") << state->Describe();
  // The click's hint is the value as typed, and the format follows it.
  EXPECT_TRUE(WaitFor([&] { return reader_.Hint(grid, 0, 4) == L"0312345678、" + mark; }, kActMs))
      << Narrow(reader_.Hint(grid, 0, 4).value_or(L"<none>"));
  SaveScreenshot(main_, L"palette_formats_" + std::to_wstring(dpi) + L"dpi");
}

INSTANTIATE_TEST_SUITE_P(Dpi, OptionFormatTest, ::testing::Values(96, 192),
                         [](const auto& info) { return std::to_string(info.param); });

}  // namespace
}  // namespace tabcard::e2e
