#include "ui/clipboard_win.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/text.h"
#include "ui/pause_win.h"
#include "core/strconv_win.h"

namespace tabcard {

namespace {

constexpr unsigned kRetryStepMs = 10;

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

bool PlaceClipboardText(HWND owner, std::string_view bytes, unsigned retryMs) {
  // Everything is ready before the clipboard opens, so it is held briefly.
  std::string ansi(bytes);
  ansi.push_back('\0');
  std::wstring wide = Widen(UpToZero(bytes));
  wide.push_back(L'\0');
  const LCID locale = kJapaneseLocale;
  GlobalBlock text(ansi.data(), ansi.size());
  GlobalBlock unicode(wide.data(), wide.size() * sizeof(wchar_t));
  GlobalBlock lcid(&locale, sizeof locale);
  if (!text || !unicode || !lcid) return false;

  ClipboardSession session(owner, retryMs);
  if (!session.IsOpen() || !EmptyClipboard()) return false;
  if (!Put(CF_TEXT, text) || !Put(CF_UNICODETEXT, unicode) || !Put(CF_LOCALE, lcid)) return false;
  KeepPrivate();
  return true;
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
