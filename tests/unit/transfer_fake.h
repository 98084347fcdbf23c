// Shared by the tests of the item transfer and its paste: a scene of
// windows with a clock, keys and a clipboard (FakeDesktop), the palette's
// window and model in one (FakePalette), the paste-key rules (FakeBook), and
// the fixture over them. The target takes its paste on a chord of choice and
// reads the text when the desktop says so.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/transfer.h"
#include "store/layout.h"
#include "store/paste_keys.h"

namespace tabcard::testing {

using Events = std::vector<std::string>;

inline std::string Hex(unsigned long long v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%llX", v);
  return buf;
}

// Window ids of the scene. The palette: its main window, a tab row and the
// four grids. Another application: a main window, a panel in it, an edit in
// the panel, and an owned dialog.
constexpr WindowId kPalette = 0x10;
constexpr WindowId kTabRow = 0x11;
constexpr WindowId kGrid0 = 0x100;  // + page
constexpr WindowId kApp = 0x20;
constexpr WindowId kPanel = 0x21;
constexpr WindowId kEdit = 0x22;
constexpr WindowId kDialog = 0x30;

struct FakeWindow {
  WindowId parent = kNoWindow;  // parent or owner
  ScreenPoint origin;           // client origin on the screen
  bool own = false;
  SendResult answer = SendResult::kDone;
};

class FakeDesktop : public Desktop {
 public:
  explicit FakeDesktop(Events& log) : log_(log) {
    windows[kPalette] = {kNoWindow, {100, 100}, true};
    windows[kTabRow] = {kPalette, {102, 122}, true};
    for (int page = 0; page < kPageCount; ++page) {
      windows[kGrid0 + page] = {kPalette, {102, 140}, true};
    }
    windows[kApp] = {kNoWindow, {500, 300}};
    windows[kPanel] = {kApp, {510, 330}};
    windows[kEdit] = {kPanel, {520, 350}};
    windows[kDialog] = {kApp, {700, 400}};
  }

  ScreenPoint CursorPos() override { return cursor; }
  WindowId WindowFromPoint(ScreenPoint) override { return under; }
  WindowId ParentOf(WindowId w) override {
    auto it = windows.find(w);
    return it == windows.end() ? kNoWindow : it->second.parent;
  }
  WindowId TopLevelOf(WindowId w) override {
    while (ParentOf(w) != kNoWindow) w = ParentOf(w);
    return w;
  }
  WindowId LastActivePopup(WindowId w) override {
    auto it = lastActive.find(w);
    return it == lastActive.end() ? w : it->second;
  }
  bool Exists(WindowId w) override { return windows.count(w) != 0; }
  bool IsOwnWindow(WindowId w) override { return Exists(w) && windows[w].own; }
  ScreenPoint ScreenToClient(WindowId w, ScreenPoint p) override {
    const ScreenPoint o = windows[w].origin;
    return {p.x - o.x, p.y - o.y};
  }

  bool SetForeground(WindowId w) override {
    log_.push_back("foreground " + Hex(w));
    if (refuseForeground) return false;
    if (ignoredAsks > 0) {
      --ignoredAsks;
      return true;
    }
    if (switchAfterMs >= 0) {
      pendingForeground_ = w;
      switchAt_ = now + static_cast<std::uint64_t>(switchAfterMs);
    }
    return true;
  }
  WindowId Foreground() override {
    if (pendingForeground_ != kNoWindow && now >= switchAt_) {
      foreground = pendingForeground_;
      pendingForeground_ = kNoWindow;
    }
    if (now >= leaveAt) foreground = kOtherApp;
    return foreground;
  }
  void WaitForegroundChange(unsigned ms) override {
    if (pendingForeground_ != kNoWindow && switchAt_ <= now + ms) {
      now = std::max(now, switchAt_);
    } else {
      now += ms;
    }
  }

  std::optional<std::uint32_t> IntegrityLevelOf(WindowId w) override {
    auto it = levels.find(TopLevelOf(w));
    return it == levels.end() ? kMedium : it->second;
  }
  std::optional<std::uint32_t> OwnIntegrityLevel() override { return ownLevel; }

  SendResult Send(WindowId w, unsigned msg, std::uintptr_t wp, std::intptr_t lp) override {
    log_.push_back("send " + Hex(w) + " " + Hex(msg) + " " + Hex(wp) + " " +
                   Hex(static_cast<std::uint64_t>(lp)));
    if (now < busyUntil) {
      // Answered when it wakes, or not within the bound of a send.
      if (busyUntil - now > 500) {
        now += 500;
        return SendResult::kNoResponse;
      }
      now = busyUntil;
    }
    return windows[w].answer;
  }
  // The target pastes on the chord `takes` names, and reads readDelayMs
  // later; from the first paste key on it does not answer for busyMs.
  void KeyEvent(unsigned char key, unsigned flags) override {
    log_.push_back("key " + Hex(key) + " " + Hex(flags));
    const bool down = (flags & vk::kKeyUp) == 0;
    if (key == vk::kShift || key == vk::kControl) held[key] = down;
    if (!down || (key != vk::kInsert && key != vk::kV)) return;
    if (keysSeen++ == 0) busyUntil = now + busyMs;
    const std::optional<PasteKey> chord =
        key == vk::kInsert && held[vk::kShift] ? std::optional(PasteKey::kShiftInsert)
        : key == vk::kV && held[vk::kControl]  ? std::optional(PasteKey::kCtrlV)
                                               : std::nullopt;
    if (!chord || chord != takes) return;
    ++pastes;
    readAt = std::min(readAt, now + readDelayMs);
  }
  // A key is held until releaseAt[key] (a time of the fake clock), or for
  // good when it is -1.
  bool AnyKeyHeld(std::initializer_list<unsigned char> keys) override {
    for (unsigned char key : keys) {
      auto it = releaseAt.find(key);
      if (it != releaseAt.end() && (it->second < 0 || now < static_cast<std::uint64_t>(it->second))) {
        return true;
      }
    }
    return false;
  }
  void Idle(unsigned ms) override { now += ms; }

  bool PlaceClipboardText(std::string_view bytes) override {
    log_.push_back("clipboard " + std::to_string(bytes.size()));
    if (clipboardBusy) return false;
    clipboard = std::string(bytes);
    clipboardPlaced = true;
    ++sequence;
    readAt = monitorReads-- > 0 ? now : kNever;
    return true;
  }
  bool ClipboardTextRead() override { return now >= readAt; }
  bool ClipboardHoldsPlaced() override { return clipboardPlaced && now < changeAt; }
  ClipboardKeep KeepClipboard() override {
    log_.push_back("keep");
    return keep;
  }
  bool RestoreClipboard() override {
    log_.push_back("restore");
    return true;
  }
  void ForgetKeptClipboard() override { log_.push_back("forget"); }
  std::u16string ProgramOf(WindowId w) override {
    return TopLevelOf(w) == kApp ? program : std::u16string();
  }
  ClipboardText ReadClipboardText(std::size_t maxBytes) override {
    ++reads;
    lastReadMax = maxBytes;
    if (clipboardBusy) return {ClipboardText::State::kBusy, {}};
    if (!clipboardPlaced) return {ClipboardText::State::kNoText, {}};
    return {ClipboardText::State::kText, clipboard};
  }
  std::uint32_t ClipboardSequence() override { return sequence; }

  void Beep() override { log_.push_back("beep"); }
  void ShowDragCursor(bool dragging) override {
    log_.push_back(dragging ? "cursor drag" : "cursor default");
  }
  void SetCapture(WindowId w) override { log_.push_back("capture " + Hex(w)); }
  void ReleaseCapture() override { log_.push_back("release"); }
  std::uint64_t NowMs() override { return now; }

  static constexpr std::uint32_t kMedium = 0x2000;
  static constexpr std::uint64_t kNever = ~std::uint64_t{0};
  // Another window of another program, that the user may switch to.
  static constexpr WindowId kOtherApp = 0x40;

  std::map<WindowId, FakeWindow> windows;
  std::map<WindowId, WindowId> lastActive;
  ScreenPoint cursor{130, 150};
  WindowId under = kGrid0;
  WindowId foreground = kPalette;
  int switchAfterMs = 0;  // -1: the foreground never changes
  int ignoredAsks = 0;    // SetForeground calls that change nothing
  bool refuseForeground = false;
  bool clipboardBusy = false;
  bool clipboardPlaced = false;
  std::string clipboard;
  std::uint32_t sequence = 1;
  int reads = 0;
  std::size_t lastReadMax = 0;
  std::uint64_t now = 1000;
  std::map<WindowId, std::optional<std::uint32_t>> levels;  // by top-level window
  std::map<unsigned char, long long> releaseAt;
  std::optional<std::uint32_t> ownLevel = kMedium;
  // The target (kApp's program) and its paste.
  std::u16string program = u"target.exe";
  std::optional<PasteKey> takes = PasteKey::kShiftInsert;
  std::uint64_t readDelayMs = 0;
  std::uint64_t busyMs = 0;
  std::uint64_t busyUntil = 0;
  std::uint64_t readAt = kNever;
  int pastes = 0;    // chords the target took: a second is a double paste
  int keysSeen = 0;  // paste keys typed, taken or not
  std::map<unsigned char, bool> held;
  // A clipboard monitor that reads the next placements at once.
  int monitorReads = 0;
  // Another program copies at this time; the user switches windows at that.
  std::uint64_t changeAt = kNever;
  std::uint64_t leaveAt = kNever;
  ClipboardKeep keep = ClipboardKeep::kKept;

 private:
  Events& log_;
  WindowId pendingForeground_ = kNoWindow;
  std::uint64_t switchAt_ = 0;
};

// The palette's window and its model in one: cells are given by the texts
// they show, from which the model's items, memo titles and phrases follow.
class FakePalette : public PaletteView, public PaletteContent {
 public:
  explicit FakePalette(Events& log) : log_(log) {
    shapes = {GridShape{2, 6}, GridShape{2, 6}, GridShape{1, 10}, GridShape{1, 10}};
    current.fill({0, 0});
  }

  // PaletteView
  WindowId GridWindow(int page) const override { return kGrid0 + page; }
  void SetCurrentCell(int page, GridCell c) override {
    log_.push_back("cell " + std::to_string(page) + " " + std::to_string(c.col) + "," +
                   std::to_string(c.row));
    current[page] = c;
  }
  void SetHint(int page, std::string_view text) override {
    log_.push_back("hint " + std::to_string(page) + " [" + std::string(text) + "]");
  }
  void ShowHint(int page, bool on) override {
    log_.push_back("showhint " + std::to_string(page) + (on ? " on" : " off"));
  }
  void SetCaption(std::string_view text) override {
    log_.push_back("caption [" + std::string(text) + "]");
  }
  void ShowNotice(std::string_view text) override {
    log_.push_back("notice [" + std::string(text) + "]");
  }

  // PaletteContent
  GridShape Shape(int page) const override { return shapes[page]; }
  const PageItems& Items(int page) const override {
    items_[page] = PageItems{};
    for (const auto& [cell, text] : texts) {
      const auto [p, col, row] = cell;
      const int slot = PersonalSlot(shapes[page], col, row);
      if (p == page && slot >= 0) items_[page][static_cast<std::size_t>(slot)] = text;
    }
    return items_[page];
  }
  const PageForms& Forms(int page) const override { return forms[page]; }
  const ItemValues& CurrentItemValues() const override { return values; }
  std::string MemoTitle(int slot) const override {
    const GridShape s = shapes[kPageMemo];
    auto it = texts.find({kPageMemo, slot % s.cols, slot / s.cols});
    return it == texts.end() ? std::string() : it->second;
  }
  std::string MemoHead(int slot) const override {
    std::string head(4096, '\0');
    auto it = memos.find(slot);
    if (it != memos.end()) head.replace(0, std::min<std::size_t>(4096, it->second.size()), it->second, 0, 4096);
    return head;
  }
  const PhraseList& List() const override {
    list_ = PhraseList{{}, hints};
    for (const auto& [cell, text] : texts) {
      const auto [p, col, row] = cell;
      if (p != kPageList) continue;
      const auto i = static_cast<std::size_t>(row * shapes[kPageList].cols + col);
      if (list_.ListPhrases.size() <= i) list_.ListPhrases.resize(i + 1);
      list_.ListPhrases[i] = text;
    }
    if (list_.ListPhrases.size() < hints.size()) list_.ListPhrases.resize(hints.size());
    return list_;
  }
  bool SendsTab() const override { return tabMode; }
  bool RestoresClipboard() const override { return restores; }

  std::array<GridShape, kPageCount> shapes;
  std::array<GridCell, kPageCount> current;
  std::map<std::tuple<int, int, int>, std::string> texts;
  std::array<PageForms, kPersonalPageCount> forms{};
  ItemValues values;
  std::map<int, std::string> memos;
  std::vector<std::string> hints;
  bool tabMode = false;
  bool restores = false;

 private:
  Events& log_;
  mutable std::array<PageItems, kPersonalPageCount> items_;
  mutable PhraseList list_;
};

inline const Events kPaste = {"key 0x10 0x1", "key 0x2D 0x1", "key 0x2D 0x3", "key 0x10 0x3"};
inline const Events kPasteTab = {"key 0x10 0x1", "key 0x2D 0x1", "key 0x2D 0x3",
                          "key 0x10 0x3", "key 0x9 0x1",  "key 0x9 0x3"};

inline Events Concat(std::initializer_list<Events> parts) {
  Events all;
  for (const Events& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// The rules by program; what was learnt, in order.
class FakeBook : public PasteKeyBook {
 public:
  std::optional<PasteKey> RuleFor(std::u16string_view program) const override {
    const PasteKeyRule* rule = FindPasteKeyRule(rules, program);
    return rule ? std::optional(rule->key) : std::nullopt;
  }
  void Learn(std::u16string_view program, PasteKey key) override {
    learnt.push_back({std::u16string(program), key});
    PutPasteKeyRule(&rules, program, key);
  }
  PasteKeyRules rules;
  PasteKeyRules learnt;
};

class TransferTest : public ::testing::Test {
 protected:
  TransferTest() : desktop(log), palette(log), transfer(desktop, palette, palette, book) {
    palette.texts[{kPageKojin1, 0, 0}] = "氏名";
    palette.texts[{kPageKojin1, 0, 1}] = "ＴＥＬ";
    palette.texts[{kPageKojin1, 1, 0}] = "〒";
    palette.texts[{kPageKojin1, 1, 1}] = "not an item";
    palette.values[0] = "山田太郎";
    palette.values[12] = "  03-1234 ";
    palette.values[14] = " \t ";
  }

  // The grid's events on the cell the fake grid holds as current, as a
  // real grid makes the pressed cell current and follows a held button.
  void Down(int page, MouseButton b) { transfer.Press(page, palette.current[page], b); }
  void MoveOn(int page) { transfer.Move(page, palette.current[page]); }
  void Up(int page, MouseButton b) { transfer.Release(page, palette.current[page], b); }
  void DoubleClick(int page) { transfer.SendCell(page, palette.current[page]); }
  void SetForm(int page, GridCell c, ValueForm form) {
    palette.forms[page][static_cast<std::size_t>(PersonalSlot(palette.shapes[page], c.col, c.row))] =
        form;
  }
  std::vector<GridCell> SendableCellsOf(int page) { return transfer.SendableCells(page); }

  // Left press on a cell of the page, then a move with the pointer over `over`.
  void PressAndLeave(int page, GridCell cell, WindowId over) {
    palette.current[page] = cell;
    Down(page, MouseButton::Left);
    desktop.under = over;
    MoveOn(page);
  }

  // Makes the other application the target, then the palette the foreground.
  void TrackTarget(WindowId w) {
    desktop.foreground = w;
    transfer.Tick();
    desktop.foreground = kPalette;
    log.clear();
  }

  Events log;
  FakeDesktop desktop;
  FakePalette palette;
  FakeBook book;
  ItemTransfer transfer;
};

}  // namespace tabcard::testing
