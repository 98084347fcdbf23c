#include "ui/clipboard_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

#include "core/text.h"
#include "ui/pause_win.h"
#include "core/strconv_win.h"

namespace tabcard {

namespace {

constexpr unsigned kRetryStepMs = 10;
constexpr UINT_PTR kOfferSubclass = 0x434C4950;  // 'CLIP'

// The formats of an offer, in the order they are named.
constexpr UINT kTextFormats[] = {CF_TEXT, CF_UNICODETEXT, CF_LOCALE};

constexpr int kTextFormatCount = static_cast<int>(std::size(kTextFormats));

int TextFormatIndex(UINT format) {
  const auto at = std::find(std::begin(kTextFormats), std::end(kTextFormats), format);
  return at == std::end(kTextFormats) ? -1 : static_cast<int>(at - std::begin(kTextFormats));
}

// SetClipboardData takes the block only when it succeeds.
bool Put(UINT format, GlobalBlock& block) {
  if (!SetClipboardData(format, block.get())) return false;
  block.Detach();
  return true;
}

// Addresses and telephone numbers are not to linger in the clipboard history
// (Win+V), reach the cloud clipboard or be kept by clipboard managers. The
// paste does not need these formats, so one that cannot be placed is no
// failure.
void KeepPrivate() {
  static const wchar_t* const kPrivacyFormats[] = {
      L"ExcludeClipboardContentFromMonitorProcessing",
      L"CanIncludeInClipboardHistory",
      L"CanUploadToCloudClipboard",
  };
  const DWORD no = 0;
  for (const wchar_t* name : kPrivacyFormats) {
    const UINT format = RegisterClipboardFormatW(name);
    GlobalBlock value(&no, sizeof no);
    if (format && value) Put(format, value);
  }
}

}  // namespace

ClipboardSession::ClipboardSession(HWND owner, unsigned retryMs) {
  const ULONGLONG start = GetTickCount64();
  while (!(open_ = OpenClipboard(owner) != FALSE)) {
    if (GetTickCount64() - start >= retryMs) break;
    PauseAnsweringSentMessages(kRetryStepMs);
  }
}

ClipboardSession::~ClipboardSession() {
  if (open_) CloseClipboard();
}

GlobalBlock::GlobalBlock(const void* data, std::size_t bytes) {
  handle_ = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!handle_) return;
  void* p = GlobalLock(handle_);
  if (!p) {
    GlobalFree(handle_);
    handle_ = nullptr;
    return;
  }
  std::memcpy(p, data, bytes);
  GlobalUnlock(handle_);
}

GlobalBlock::~GlobalBlock() {
  if (handle_) GlobalFree(handle_);
}

HGLOBAL GlobalBlock::Detach() {
  HGLOBAL h = handle_;
  handle_ = nullptr;
  return h;
}

ClipboardOffer::ClipboardOffer(HWND owner) : owner_(owner) {
  SetWindowSubclass(owner_, OwnerProc, kOfferSubclass, reinterpret_cast<DWORD_PTR>(this));
}

ClipboardOffer::~ClipboardOffer() {
  if (!IsWindow(owner_)) return;
  // Ended before its window: the text stays, rendered, rather than leave
  // formats that nobody can render.
  try {
    RenderAll();
  } catch (...) {
  }
  RemoveWindowSubclass(owner_, OwnerProc, kOfferSubclass);
}

bool ClipboardOffer::Place(std::string_view bytes, unsigned retryMs) {
  {
    ClipboardSession session(owner_, retryMs);
    // Emptying sends WM_DESTROYCLIPBOARD, which ends an offer placed before.
    if (!session.IsOpen() || !EmptyClipboard()) return false;
    for (UINT format : kTextFormats) {
      // Wine gives back the null handle it was given, success or not.
      SetClipboardData(format, nullptr);
      if (!IsClipboardFormatAvailable(format)) return false;
    }
    KeepPrivate();
    bytes_.assign(bytes);
    placed_ = true;
    read_ = false;
    rendered_ = 0;
  }
  // The close may add derived formats and count them as a change.
  sequence_ = GetClipboardSequenceNumber();
  return true;
}

bool ClipboardOffer::Held() const {
  return placed_ && GetClipboardOwner() == owner_ && GetClipboardSequenceNumber() == sequence_;
}

void ClipboardOffer::Render(UINT format) {
  const int index = TextFormatIndex(format);
  if (!placed_ || index < 0) return;
  std::string ansi;
  std::wstring wide;
  const LCID locale = kJapaneseLocale;
  const void* data = &locale;
  std::size_t size = sizeof locale;
  if (format == CF_TEXT) {
    ansi = bytes_ + '\0';
    data = ansi.data();
    size = ansi.size();
  } else if (format == CF_UNICODETEXT) {
    wide = Widen(UpToZero(bytes_)) + L'\0';
    data = wide.data();
    size = wide.size() * sizeof(wchar_t);
  }
  GlobalBlock block(data, size);
  if (!block || !Put(format, block)) return;
  rendered_ |= 1u << index;
  // The program's own reads come from this thread, not as sent messages.
  if (format != CF_LOCALE && InSendMessage()) read_ = true;
  // In case Windows counts a rendering as a change: the text is still ours.
  if (GetClipboardOwner() == owner_) sequence_ = GetClipboardSequenceNumber();
}

void ClipboardOffer::RenderAll() {
  if (!placed_) return;
  ClipboardSession session(owner_, kClipboardRetryMs);
  if (!session.IsOpen() || GetClipboardOwner() != owner_) return;
  for (int i = 0; i < kTextFormatCount; ++i) {
    if (!(rendered_ & (1u << i))) Render(kTextFormats[i]);
  }
}

LRESULT CALLBACK ClipboardOffer::OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                           DWORD_PTR self) {
  auto& offer = *reinterpret_cast<ClipboardOffer*>(self);
  switch (msg) {
    // Asked by another program waiting on us: a rendering that runs out of
    // memory gives it nothing, and no box is shown meanwhile.
    case WM_RENDERFORMAT:
      try {
        offer.Render(static_cast<UINT>(wp));
      } catch (...) {
      }
      return 0;
    case WM_RENDERALLFORMATS:
      try {
        offer.RenderAll();
      } catch (...) {
      }
      return 0;
    case WM_DESTROYCLIPBOARD:
      offer.placed_ = false;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, OwnerProc, kOfferSubclass);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

ClipboardText ReadClipboardText(HWND owner, std::size_t maxUnits, unsigned retryMs) {
  using State = ClipboardText::State;
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return {State::kNoText, {}};
  ClipboardSession session(owner, retryMs);
  if (!session.IsOpen()) return {State::kBusy, {}};
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return {State::kNoText, {}};
  const auto* units = static_cast<const wchar_t*>(GlobalLock(data));
  if (!units) return {State::kNoText, {}};
  // The block need not end in a zero: never read past its size.
  const std::size_t limit = std::min(GlobalSize(data) / sizeof(wchar_t), maxUnits);
  const std::size_t n = std::find(units, units + limit, L'\0') - units;
  std::wstring text(units, n);
  GlobalUnlock(data);
  return {State::kText, Narrow(text)};
}

}  // namespace tabcard
