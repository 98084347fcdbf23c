// A fuzzed image of Tabcard's registry subtree, read through every loader:
// settings and page configurations, items, user names and profiles, window
// state, the phrase list, the options dialog's and the profile editor's load.
//
// Input: dpi (2 bytes), user (1), flags (1), screen width and height (4
// each), then records until the end: key, value name, type, data (see
// ReadRecord). Flag bit 0 adds the profile editor's OK and the reload after
// it, which costs as much as all the rest.
#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/text.h"
#include "editor/list_page.h"
#include "editor/memo_page.h"
#include "editor/property_model.h"
#include "fuzz_check.h"
#include "options/option_model.h"
#include "store/layout.h"
#include "store/memo.h"
#include "store/memory_registry.h"
#include "store/phrase_list.h"
#include "store/profile_store.h"
#include "store/settings.h"
#include "store/window_state.h"

namespace tabcard {
namespace {

using fuzz::ByteReader;

bool NoZero(std::string_view s) { return s.find('\0') == std::string_view::npos; }

std::vector<std::string> KnownKeys() {
  std::vector<std::string> keys = {kBaseKey, ListItemsKey(), ListHintKey(), UserKey(-1), UserKey(4)};
  for (int page = 0; page < kPageCount; ++page) keys.push_back(ConfigKey(page));
  for (int page = 0; page < kPageCount; ++page) keys.push_back(ItemsKey(page));
  for (int user = 0; user < kUserCount; ++user) keys.push_back(UserKey(user));
  return keys;
}

std::vector<std::string> KnownNames() {
  std::vector<std::string> names = {
      "BootInTaskTray", "CloseInTaskTray", "TabMode", "ColCount", "RowCount", "ColWidth",
      "RowHeight", "ColWidthMode", "FontName", "FontSize", "FontBold", "FontItalic", "ItemCount",
      "Top", "Left", "Height", "Width", "WndTopMost", "Page", "UserNo", "UserName", ""};
  names.insert(names.end(), kFieldNames.begin(), kFieldNames.end());
  return names;
}

std::string Upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

// key: index into the known keys, or a raw path; name: a known name, Item,
// Hint or Form with a number, or raw bytes; bit 7 of the name byte
// upper-cases it.
void ReadRecord(ByteReader& in, MemoryRegistry* reg) {
  static const std::vector<std::string> keys = KnownKeys();
  static const std::vector<std::string> names = KnownNames();
  const std::uint8_t k = in.U8();
  const std::string key = k < keys.size() ? keys[k] : in.Bytes(in.U8() % 64);
  const std::uint8_t n = in.U8();
  const std::size_t pick = n & 0x7F;
  std::string name;
  if (pick < names.size()) {
    name = names[pick];
  } else if (pick < names.size() + 3) {
    static const char* const kSeries[] = {"Item", "Hint", "Form"};
    name = Numbered(kSeries[pick - names.size()], in.U16() % 1100);
  } else {
    name = in.Bytes(in.U8() % 32);
  }
  if (n & 0x80) name = Upper(name);
  RegValue value;
  const std::uint8_t type = in.U8() % 4;
  value.type = static_cast<RegValue::Type>(type);
  if (value.type == RegValue::Type::Dword) {
    value.dword = in.U32();
  } else {
    value.text = in.Bytes(in.U16() % 1024);
  }
  reg->Put(key, name, value);
}

PaletteSettings CheckSettings(MemoryRegistry& reg, const FontFace& font) {
  PaletteSettings s;
  const bool ok = LoadSettings(reg, font, &s);
  for (const PageConfig& c : s.configs) {
    FUZZ_CHECK(c.ColCount >= 1 && c.ColCount <= kMaxGridSide);
    FUZZ_CHECK(c.RowCount >= 1 && c.RowCount <= kMaxGridSide);
    FUZZ_CHECK(NoZero(c.FontName));
  }
  if (!ok) FUZZ_CHECK(s.configs == StandardPageConfigs(font));
  FUZZ_CHECK(s.MemoCount >= 1 && s.MemoCount <= kMaxGridSide * kMaxGridSide);
  for (const PageItems& items : s.items) {
    for (const std::string& item : items) FUZZ_CHECK(NoZero(item));
  }
  for (const PageForms& forms : s.forms) {
    for (std::size_t k = 0; k < forms.size(); ++k) {
      FUZZ_CHECK(std::find(kValueForms.begin(), kValueForms.end(), forms[k]) != kValueForms.end());
      if (!ok && k < kStandardSlotCount) FUZZ_CHECK(forms[k] == ValueForm::kAsStored);
    }
  }
  bool fromStore = false;
  const std::int32_t slots = ReadMemoSlotCount(reg, &fromStore);
  FUZZ_CHECK(fromStore ? slots >= 1 && slots <= kMaxGridSide * kMaxGridSide : slots == 10);
  return s;
}

void CheckUsers(MemoryRegistry& reg, int user) {
  UserNames names;
  LoadUserNames(reg, &names);
  for (const std::string& name : names) FUZZ_CHECK(!name.empty() && NoZero(name));
  Profile profile;
  const bool ok = LoadProfile(reg, user, &profile);
  if (!ok || user < 0 || user >= kUserCount) FUZZ_CHECK(profile.fields == ProfileFields{});
  std::size_t total = 0;
  for (const std::string& f : profile.fields) total += f.size();
  for (const std::string& v : profile.values) FUZZ_CHECK(v.size() <= total && NoZero(v));
}

void CheckWindowState(MemoryRegistry& reg, std::int32_t width, std::int32_t height) {
  WindowState state;
  state.Page = kPageMemo;
  const bool ok = LoadWindowState(reg, width, height, &state);
  FUZZ_CHECK(state.Page >= 0 && state.Page < kPageCount);
  if (!ok) FUZZ_CHECK(state.bounds.width == 130 && state.bounds.height == 160 && state.UserNo == 0);
}

std::size_t ValuesOf(const MemoryRegistry& reg, const std::string& key) {
  const MemoryRegistry::Values* values = reg.KeyValues(key);
  return values ? values->size() : 0;
}

bool CheckList(MemoryRegistry& reg, PhraseList* loaded) {
  PhraseList& list = *loaded;
  const int queriesBefore = reg.queries();
  const bool ok = LoadList(reg, &list);
  FUZZ_CHECK(list.ListPhrases.size() == list.ListHints.size());
  FUZZ_CHECK(list.ListPhrases.size() <= static_cast<std::size_t>(kMaxPhrases));
  // The work follows what is stored, whatever the count says: the count,
  // then at most twice the stored values plus 64 names of each key.
  const std::size_t names = 2 * ValuesOf(reg, ListItemsKey()) + 64;
  FUZZ_CHECK(static_cast<std::size_t>(reg.queries() - queriesBefore) <= 1 + 2 * names);
  // A failed read never leaves hints of a list that was not read whole.
  if (!ok) {
    for (const std::string& hint : list.ListHints) FUZZ_CHECK(hint.empty());
  }
  return ok;
}

// A count of two billion over a few stored phrases is damaged: the load
// fails at the cost of the count alone, and no empty rows come of it.
void CheckHugeList() {
  MemoryRegistry reg;
  reg.PutDword(ListItemsKey(), "ItemCount", 0x7FFFFFFF);
  reg.PutString(ListItemsKey(), Numbered("Item", 0), "first");
  reg.PutString(ListItemsKey(), Numbered("Item", kMaxPhrases - 1), "last");
  reg.PutString(ListHintKey(), Numbered("Hint", kMaxPhrases - 1), "hint");
  PhraseList list;
  FUZZ_CHECK(!CheckList(reg, &list));
  FUZZ_CHECK(list.ListPhrases.empty() && reg.queries() == 1);
}

// The options dialog's controls: what the model puts there must be sane.
class OptionViewCheck : public OptionView {
 public:
  explicit OptionViewCheck(int dpi) : dpi_(dpi) {}
  void SetItemNames(const std::vector<std::string>&) override {}
  int SelectedItem() const override { return -1; }
  GridShape PreviewShape(int page) const override { return shapes_[page]; }
  void SetGridCells(int page, const CellTexts& cells) override {
    FUZZ_CHECK(cells.Cols() == shapes_[page].cols && cells.Rows() == shapes_[page].rows);
  }
  void SetCellText(int, GridCell, std::string_view) override {}
  void SetGridMarks(int page, const CellTexts& marks) override {
    FUZZ_CHECK(marks.Cols() == shapes_[page].cols && marks.Rows() == shapes_[page].rows);
  }
  void SetCellMark(int, GridCell, std::string_view) override {}
  GridCell CurrentCell(int) const override { return GridCell{0, 0}; }
  void SetCurrentCell(int, GridCell) override {}
  DropSpot SpotUnderPointer() const override { return {}; }
  void BeginDrag(int) override {}
  void EndDrag() override {}
  int ActiveTab(OptionTabs) const override { return 0; }
  void ShowTab(OptionTabs, int) override {}
  std::string FieldText(CellField) const override { return {}; }
  void SetFieldText(CellField, std::string_view) override {}
  void EnableColWidth(bool) override {}
  bool FixedWidthChosen() const override { return false; }
  void ChooseWidthMode(bool) override {}
  void EnableItemAssignment(bool) override {}
  ValueForm ChosenForm() const override { return ValueForm::kAsStored; }
  void ShowCellForm(std::optional<ValueForm>) override {}
  bool Checked(BehaviourBox) const override { return false; }
  void SetChecked(BehaviourBox, bool) override {}
  void SetPasteKeyLines(const std::vector<std::u16string>&, int) override {}
  int SelectedPasteKeyLine() const override { return -1; }
  HotKey ChosenHotKey(HotKeyBox box) const override { return hotKeys_[box]; }
  void SetHotKey(HotKeyBox box, HotKey key) override { hotKeys_[box] = key; }
  void SetGridCounts(int page, int cols, int rows) override {
    FUZZ_CHECK(cols >= 1 && cols <= kMaxGridSide && rows >= 1 && rows <= kMaxGridSide);
    shapes_[page] = GridShape{cols, rows};
  }
  // A configured size scales to a device size of the same sign.
  void SetGridColWidth(int page, int width) override { CheckScaled(stored_[page].ColWidth, width); }
  void SetGridRowHeight(int page, int height) override { CheckScaled(stored_[page].RowHeight, height); }
  std::string GridFontFace(int) const override { return "Face"; }
  void SetGridFont(int, const GridFont& font) override {
    FUZZ_CHECK(!font.face.empty() && font.face.size() <= 31 && NoZero(font.face));
  }
  std::optional<GridFont> PickFont(const GridFont&,
                                     const std::function<void(const GridFont&)>&) override {
    return std::nullopt;
  }
  void Warn(std::string_view, std::string_view) override {}

  PageConfigs stored_;
  std::array<HotKey, 2> hotKeys_{};

 private:
  void CheckScaled(std::int32_t configured, int device) const {
    FUZZ_CHECK((configured > 0) == (device > 0) || device == 0);
    FUZZ_CHECK((configured < 0) == (device < 0) || device == 0);
    if (dpi_ >= kDesignDpi) FUZZ_CHECK(configured >= 0 ? device >= configured : device <= configured);
  }
  int dpi_;
  std::array<GridShape, kPageCount> shapes_{};
};

void CheckOptionDialog(MemoryRegistry& reg, const FontFace& font, int dpi, const PaletteSettings& loaded) {
  OptionViewCheck view(DpiScale(dpi).dpi());
  view.stored_ = loaded.configs;
  OptionModel model(reg, font, view, DpiScale(dpi));
  model.FormCreate();
  FUZZ_CHECK(model.configs() == loaded.configs);
  FUZZ_CHECK(model.slots() == loaded.items && model.forms() == loaded.forms);
  FUZZ_CHECK(view.hotKeys_[kShowHotKeyBox] == loaded.hotKeys.show &&
             view.hotKeys_[kStepHotKeyBox] == loaded.hotKeys.step);
}

// The profile editor with its memo and list pages; the boxes keep what the
// model put there, so an OK writes back what was loaded.
class EditorViews : public PropertyView, public MemoPageView, public ListPageView {
 public:
  std::string FieldText(std::string_view name) const override { return boxes_.at(std::string(name)); }
  void SetFieldText(std::string_view name, std::string_view text) override {
    FUZZ_CHECK(NoZero(text));
    boxes_[std::string(name)] = std::string(text);
  }
  void SetUserNames(int, const UserNames& names) override {
    for (const std::string& n : names) FUZZ_CHECK(!n.empty());
  }
  int SelectedUser(int) const override { return 0; }
  void SelectUser(int, int user) override { FUZZ_CHECK(user >= 0 && user < kUserCount); }
  void SetActivePage(int) override {}

  void SetRows(const std::vector<std::string>& titles) override {
    FUZZ_CHECK(!titles.empty() && titles.size() <= kMaxGridSide * kMaxGridSide);
    rows = titles.size();
  }
  void SetRowText(int, std::string_view) override {}
  int SelectedRow() const override { return 0; }
  void ShowTooltip(std::string_view) override {}
  std::string MemoText() const override { return {}; }
  void SetMemoText(std::string_view) override {}
  bool MemoModified() const override { return false; }
  void SetMemoModified(bool) override {}
  bool MemoStorable() override { return true; }
  bool Ask(std::string_view, std::string_view) override { return false; }
  void Warn(std::string_view, std::string_view) override {}

  std::string HintText() const override { return {}; }
  void SetHintText(std::string_view) override {}
  void SetLines(const std::vector<std::string>& lines, int) override {
    FUZZ_CHECK(lines.size() <= static_cast<std::size_t>(kMaxPhrases));
  }
  int Selection() const override { return -1; }
  void FocusMemo(bool) override {}

  std::size_t rows = 0;

 private:
  std::map<std::string, std::string> boxes_;
};

// Long lists are read above (LoadList, the memo slot count); the editor's
// run over them would only slow the search, and each memo slot is a file
// the memo page opens.
constexpr std::size_t kEditorPhrases = 256;
constexpr std::int32_t kEditorMemoSlots = 16;

void CheckEditor(MemoryRegistry& reg, const PhraseList& stored, bool listOk, std::int32_t memoSlots,
                 bool pressOk) {
  if (stored.ListPhrases.size() > kEditorPhrases) return;
  UserRecords before;
  UserFlags failed{};
  LoadUserRecords(reg, &before, &failed);

  EditorViews views;
  MemoPage memo(views);
  ListPage list(views, [](std::string_view a, std::string_view b) { return a == b; });
  PropertyPageHooks hooks;
  if (memoSlots <= kEditorMemoSlots) hooks.loadMemo = [&] { memo.Create(reg); };
  hooks.loadList = [&] { list.Load(reg); };
  hooks.saveList = [&] { return list.Save(reg); };
  PropertyModel model(reg, views, hooks);
  model.FormCreate();
  if (hooks.loadMemo) FUZZ_CHECK(views.rows == static_cast<std::size_t>(memo.SlotCount()));
  FUZZ_CHECK(list.list().ListPhrases == stored.ListPhrases);

  if (!pressOk) return;
  // An OK without an edit stores what was read and keeps what was not.
  const PropertySaveResult saved = model.StoreOnOk();
  FUZZ_CHECK(saved.usersSaved && saved.listSaved);
  UserRecords after;
  UserFlags failedAfter{};
  LoadUserRecords(reg, &after, &failedAfter);
  for (std::size_t u = 0; u < kUserCount; ++u) {
    FUZZ_CHECK(failedAfter[u] == failed[u]);
    if (!failed[u]) FUZZ_CHECK(after[u].fields == before[u].fields);
  }
  PhraseList reread;
  if (listOk) FUZZ_CHECK(LoadList(reg, &reread) && reread.ListPhrases == stored.ListPhrases &&
                        reread.ListHints == stored.ListHints);
}

}  // namespace
}  // namespace tabcard

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tabcard::fuzz::EnterScratchDirectory();
  tabcard::CheckHugeList();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tabcard;
  ByteReader in(data, size);
  const int dpi = in.U16();
  const int user = static_cast<std::int8_t>(in.U8());
  const std::uint8_t flags = in.U8();
  const std::int32_t screenWidth = in.I32();
  const std::int32_t screenHeight = in.I32();
  MemoryRegistry reg;
  for (int records = 0; !in.Empty() && records < 512; ++records) ReadRecord(in, &reg);

  const FontFace font = StandardFont(dpi & 1);
  const PaletteSettings settings = CheckSettings(reg, font);
  CheckUsers(reg, user);
  CheckWindowState(reg, screenWidth, screenHeight);
  PhraseList list;
  const bool listOk = CheckList(reg, &list);
  CheckOptionDialog(reg, font, dpi, settings);
  bool fromStore = false;
  CheckEditor(reg, list, listOk, ReadMemoSlotCount(reg, &fromStore), flags & 1);
  FUZZ_CHECK(reg.maxOpenAtOnce() <= 1);
  return 0;
}
