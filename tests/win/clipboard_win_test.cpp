#include "ui/clipboard_win.h"
#include "ui/clipboard_snapshot_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "core/strconv_win.h"

namespace tabcard {
namespace {

// A hidden window of the calling thread to open the clipboard with.
class OwnerWindow {
 public:
  OwnerWindow() {
    hwnd_ = CreateWindowExW(0, L"STATIC", L"clipboard owner", WS_POPUP, 0, 0, 1, 1, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~OwnerWindow() { DestroyWindow(hwnd_); }
  OwnerWindow(const OwnerWindow&) = delete;
  OwnerWindow& operator=(const OwnerWindow&) = delete;
  HWND get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

std::string RawBytes(UINT format) {
  std::string bytes;
  if (!OpenClipboard(nullptr)) return "<busy>";
  if (HANDLE h = GetClipboardData(format)) {
    const auto* p = static_cast<const char*>(GlobalLock(h));
    if (p) bytes.assign(p, GlobalSize(h));
    GlobalUnlock(h);
  } else {
    bytes = "<none>";
  }
  CloseClipboard();
  return bytes;
}

std::wstring UnicodeText() {
  const std::string raw = RawBytes(CF_UNICODETEXT);
  std::wstring text(raw.size() / 2, L'\0');
  raw.copy(reinterpret_cast<char*>(text.data()), text.size() * 2);
  return text.substr(0, text.find(L'\0'));
}

void PlaceForeignUnicode(HWND owner, const std::wstring& text) {
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  GlobalBlock block(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  if (SetClipboardData(CF_UNICODETEXT, block.get())) block.Detach();
  CloseClipboard();
}

class ClipboardTest : public ::testing::Test {
 protected:
  OwnerWindow owner;
  ClipboardOffer offer{owner.get()};
};

TEST_F(ClipboardTest, PlacesExactBytesUnicodeAndJapaneseLocale) {
  const std::string value = " 山田 太郎 ";  // CP932, untrimmed
  ASSERT_TRUE(offer.Place(value));

  const std::string ansi = RawBytes(CF_TEXT);
  ASSERT_GE(ansi.size(), value.size() + 1);
  EXPECT_EQ(ansi.substr(0, value.size() + 1), value + '\0');
  EXPECT_EQ(ansi.substr(0, value.size()), "\x20\x8E\x52\x93\x63\x20\x91\xBE\x98\x59\x20");
  EXPECT_EQ(UnicodeText(), L" 山田 太郎 ");
  const std::string lcid = RawBytes(CF_LOCALE);
  ASSERT_GE(lcid.size(), 4u);
  EXPECT_EQ(*reinterpret_cast<const DWORD*>(lcid.data()) & 0xFFFF, 0x0411u);
  // Kept out of the clipboard history, the cloud clipboard and the managers.
  for (const wchar_t* name : {L"ExcludeClipboardContentFromMonitorProcessing",
                              L"CanIncludeInClipboardHistory", L"CanUploadToCloudClipboard"}) {
    const std::string privacy = RawBytes(RegisterClipboardFormatW(name));
    ASSERT_GE(privacy.size(), 4u) << Narrow(name);
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(privacy.data()), 0u) << Narrow(name);
  }
}

TEST_F(ClipboardTest, MemoBufferGoesOnWhole) {
  std::string buffer(4096, '\0');
  buffer.replace(0, 8, "メモ\r\nab");
  ASSERT_TRUE(offer.Place(buffer));
  const std::string ansi = RawBytes(CF_TEXT);
  ASSERT_GE(ansi.size(), 4097u);
  EXPECT_EQ(ansi.substr(0, 4097), buffer + '\0');
  EXPECT_EQ(UnicodeText(), L"メモ\r\nab");
}

TEST_F(ClipboardTest, ReadsUnicodeTextAsCp932) {
  PlaceForeignUnicode(owner.get(), L"漢字とｶﾅ ①");
  const ClipboardText clip = ReadClipboardText(owner.get());
  ASSERT_EQ(clip.state, ClipboardText::State::kText);
  EXPECT_EQ(clip.text, "漢字とｶﾅ ①");

  ASSERT_TRUE(offer.Place("ＴＥＬ 03"));
  EXPECT_EQ(ReadClipboardText(owner.get()).text, "ＴＥＬ 03");
}

TEST_F(ClipboardTest, EmptyClipboardHasNoText) {
  ASSERT_TRUE(OpenClipboard(owner.get()));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(ReadClipboardText(owner.get()).state, ClipboardText::State::kNoText);
}

TEST_F(ClipboardTest, ReadsOnlyTheStartOfAHugeText) {
  std::wstring huge(2'000'000, L'字');
  PlaceForeignUnicode(owner.get(), huge);
  const ClipboardText clip = ReadClipboardText(owner.get(), 300, 0);
  ASSERT_EQ(clip.state, ClipboardText::State::kText);
  EXPECT_EQ(clip.text.size(), 600u);
}

TEST_F(ClipboardTest, SequenceNumberMovesWithEveryPlacement) {
  const DWORD before = GetClipboardSequenceNumber();
  ASSERT_TRUE(offer.Place("a"));
  const DWORD after = GetClipboardSequenceNumber();
  EXPECT_NE(before, after);
  ReadClipboardText(owner.get());
  EXPECT_EQ(GetClipboardSequenceNumber(), after);  // reading changes nothing
}

// The offer's data is made when asked for: only another thread's request of
// the text counts as the target's read, not our own read nor CF_LOCALE alone.
TEST_F(ClipboardTest, OfferSeesOnlyAnotherThreadReadTheText) {
  ASSERT_TRUE(offer.Place("読む"));
  EXPECT_EQ(ReadClipboardText(owner.get()).text, "読む");
  EXPECT_FALSE(offer.Read());
  ASSERT_TRUE(offer.Place("読む"));
  EXPECT_TRUE(offer.Held());
  for (UINT format : {CF_LOCALE, CF_TEXT}) {
    std::string got;
    std::atomic<bool> done{false};
    std::thread reader([&] {
      got = RawBytes(format);
      done = true;
    });
    // The request is a message sent to the owner's thread.
    const ULONGLONG end = GetTickCount64() + 2000;
    while (!done && GetTickCount64() < end) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
      MSG msg;
      PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    reader.join();
    EXPECT_EQ(offer.Read(), format == CF_TEXT) << format;
    if (format == CF_TEXT) {
      EXPECT_EQ(got.substr(0, 5), std::string("読む") + '\0');
    }
  }
  EXPECT_TRUE(offer.Held());
  PlaceForeignUnicode(owner.get(), L"another copy");
  EXPECT_FALSE(offer.Held());
}

// The user's copy: text, a format of its program's own and a bitmap, each
// placed with real data.
constexpr wchar_t kOwnFormat[] = L"Tabcard test own format";
const std::string kOwnBytes("own\0bytes", 9);
const DWORD kPixels[6] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00123456, 0x00ABCDEF, 0};

void PlaceUsersCopy(HWND owner) {
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  const std::wstring text = L"ユーザーのコピー";
  GlobalBlock unicode(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalBlock own(kOwnBytes.data(), kOwnBytes.size());
  if (SetClipboardData(CF_UNICODETEXT, unicode.get())) unicode.Detach();
  if (SetClipboardData(RegisterClipboardFormatW(kOwnFormat), own.get())) own.Detach();
  SetClipboardData(CF_BITMAP, CreateBitmap(3, 2, 1, 32, kPixels));
  CloseClipboard();
}

std::vector<DWORD> BitmapPixels() {
  std::vector<DWORD> pixels(6, 0xFFFFFFFF);
  if (!OpenClipboard(nullptr)) return {};
  if (auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
    GetBitmapBits(bitmap, static_cast<LONG>(pixels.size() * sizeof(DWORD)), pixels.data());
  }
  CloseClipboard();
  return pixels;
}

// Kept before the offer, the copy goes back whole while the offer is still
// on the clipboard, and never over a newer copy; a bound keeps nothing.
TEST_F(ClipboardTest, SnapshotGivesTheCopyBackOnlyOverTheOffer) {
  for (bool newerCopy : {false, true}) {
    SCOPED_TRACE(newerCopy ? "newer copy" : "offer still there");
    PlaceUsersCopy(owner.get());
    ClipboardSnapshot kept;
    ASSERT_EQ(kept.Capture(owner.get()), ClipboardSnapshot::Result::kKept);
    ASSERT_TRUE(offer.Place("山田太郎"));
    if (newerCopy) PlaceForeignUnicode(owner.get(), L"newer");
    EXPECT_EQ(kept.Restore(owner.get(), offer.Sequence(), 200), !newerCopy);
    if (newerCopy) {
      EXPECT_EQ(UnicodeText(), L"newer");
      continue;
    }
    EXPECT_EQ(UnicodeText(), L"ユーザーのコピー");
    EXPECT_EQ(RawBytes(RegisterClipboardFormatW(kOwnFormat)).substr(0, kOwnBytes.size()), kOwnBytes);
    EXPECT_EQ(BitmapPixels(), std::vector<DWORD>(kPixels, kPixels + 6));
    EXPECT_EQ(RawBytes(RegisterClipboardFormatW(L"CanIncludeInClipboardHistory")), "<none>");
  }
  PlaceUsersCopy(owner.get());
  ClipboardSnapshot small;
  EXPECT_EQ(small.Capture(owner.get(), 64), ClipboardSnapshot::Result::kTooBig);
  EXPECT_TRUE(small.Empty());
}

// Another thread opens the clipboard with its own window and keeps it for
// holdMs; `opened` tells when it holds it.
class Holder {
 public:
  explicit Holder(DWORD holdMs)
      : thread_([this, holdMs] {
          OwnerWindow own;
          if (OpenClipboard(own.get())) {
            opened_ = true;
            Sleep(holdMs);
            CloseClipboard();
          }
          done_ = true;
        }) {
    for (int i = 0; i < 200 && !opened_ && !done_; ++i) Sleep(5);
  }
  ~Holder() { thread_.join(); }
  bool opened() const { return opened_; }

 private:
  std::atomic<bool> opened_{false};
  std::atomic<bool> done_{false};
  std::thread thread_;
};

TEST_F(ClipboardTest, HeldClipboardFailsWithinTheBoundAndKeepsItsContent) {
  ASSERT_TRUE(offer.Place("before"));
  {
    Holder holder(600);
    ASSERT_TRUE(holder.opened());
    const ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(offer.Place("after"));
    const ULONGLONG took = GetTickCount64() - start;
    EXPECT_GE(took, kClipboardRetryMs - 20);
    EXPECT_LT(took, kClipboardRetryMs + 300);
    EXPECT_EQ(ReadClipboardText(owner.get(), 100, 0).state, ClipboardText::State::kBusy);
  }
  EXPECT_EQ(ReadClipboardText(owner.get()).text, "before");
}

TEST_F(ClipboardTest, ClipboardReleasedWhileRetryingIsTaken) {
  Holder holder(30);
  ASSERT_TRUE(holder.opened());
  EXPECT_TRUE(offer.Place("taken"));
  EXPECT_EQ(ReadClipboardText(owner.get()).text, "taken");
}

}  // namespace
}  // namespace tabcard
