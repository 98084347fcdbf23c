// Timer1 benchmark: what one tick of the palette's timer costs with a 10 MB
// text on the clipboard, side by side with an empty clipboard and a short
// text, in one run. The tick is the product's own: ClipboardCaption over the
// real Desktop (clipboard reader, sequence number), the caption set on a
// window, and the foreground window's top-level window looked up.
//
//   bench_clipboard_tick.exe [ticks]      (default 2000 per clipboard)
//   bench_clipboard_tick.exe --put CHARS  (places CHARS characters and exits)
//
// Another process places each clipboard content, as another program would,
// and the measurement starts a second later: right after a 10 MB placement
// Wine's own processes keep the wineserver busy for a moment, which slows
// every call of every program (idle ticks then take 10 times as long).
// Two figures per content: an idle tick (the clipboard did not change since
// the last tick) and a changed tick (the first tick after a change, which
// reads the clipboard). Prints medians and the ratios to the empty clipboard.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "app/caption.h"
#include "app/desktop_win.h"
#include "core/strconv_win.h"

namespace {

using tabcard::ClipboardCaption;
using tabcard::DesktopWin;

constexpr std::size_t kBigChars = 10'000'000;
constexpr DWORD kSettleMs = 1000;

double NowUs() {
  static const double perUs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1e6;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / perUs;
}

HWND MakeWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TabcardBenchTick";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         wc.hInstance, nullptr);
}

// The child's work: chars characters of text as CF_UNICODETEXT (none: empty).
int Put(std::size_t chars) {
  HWND owner = MakeWindow();
  if (!OpenClipboard(owner)) return 1;
  EmptyClipboard();
  int rc = 0;
  if (chars) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (chars + 1) * sizeof(wchar_t));
    auto* p = block ? static_cast<wchar_t*>(GlobalLock(block)) : nullptr;
    if (p) {
      for (std::size_t i = 0; i < chars; ++i) p[i] = static_cast<wchar_t>(L'a' + i % 26);
      p[chars] = L'\0';
      GlobalUnlock(block);
    }
    if (!p || !SetClipboardData(CF_UNICODETEXT, block)) rc = 1;
  }
  CloseClipboard();
  return rc;
}

bool PlaceFromChild(std::size_t chars) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring cmd = L"\"" + std::wstring(self) + L"\" --put " + std::to_wstring(chars);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    return false;
  }
  CloseHandle(pi.hThread);
  DWORD code = 1;
  if (WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  return code == 0;
}

// One tick as TfrmMain runs it, the view's caption going to a window.
struct Ticker {
  HWND window;
  DesktopWin desktop;
  tabcard::WindowId target = tabcard::kNoWindow;

  void Tick(ClipboardCaption& caption) {
    if (auto text = caption.Update(desktop)) SetWindowTextW(window, tabcard::Widen(*text).c_str());
    const tabcard::WindowId w = desktop.TopLevelOf(desktop.Foreground());
    if (w != tabcard::kNoWindow && !desktop.IsOwnWindow(w)) target = w;
  }
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct Figures {
  double idleUs = 0;
  double changedUs = 0;
};

Figures Measure(Ticker& ticker, int ticks) {
  ClipboardCaption caption;
  ticker.Tick(caption);  // takes the content in
  std::vector<double> idle, changed;
  for (int i = 0; i < ticks; ++i) {
    const double t0 = NowUs();
    ticker.Tick(caption);
    idle.push_back(NowUs() - t0);
  }
  // A fresh caption knows no sequence number: its first tick reads.
  for (int i = 0; i < std::max(1, ticks / 10); ++i) {
    ClipboardCaption fresh;
    const double t0 = NowUs();
    ticker.Tick(fresh);
    changed.push_back(NowUs() - t0);
  }
  return {Median(idle), Median(changed)};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 2 && std::wcscmp(argv[1], L"--put") == 0) {
    return Put(static_cast<std::size_t>(_wtoi64(argv[2])));
  }
  const int ticks = argc > 1 ? std::max(10, _wtoi(argv[1])) : 2000;
  HWND window = MakeWindow();
  Ticker ticker{window, DesktopWin(window, nullptr)};

  struct Content {
    const wchar_t* name;
    std::size_t chars;
    Figures figures;
  } contents[] = {{L"empty", 0, {}}, {L"short text", 8, {}}, {L"10 MB text", kBigChars, {}}};
  std::wprintf(L"%d idle ticks and %d changed ticks per clipboard, median\n", ticks,
               std::max(1, ticks / 10));
  for (Content& c : contents) {
    if (!PlaceFromChild(c.chars)) {
      std::fwprintf(stderr, L"%ls: the clipboard could not be placed\n", c.name);
      return 1;
    }
    Sleep(kSettleMs);
    c.figures = Measure(ticker, ticks);
    std::wprintf(L"%-12ls idle tick %9.2f us   changed tick %9.2f us\n", c.name,
                 c.figures.idleUs, c.figures.changedUs);
  }
  const Figures& empty = contents[0].figures;
  const Figures& small = contents[1].figures;
  const Figures& big = contents[2].figures;
  std::wprintf(L"ratio 10 MB / empty: idle %.2f, changed %.2f\n", big.idleUs / empty.idleUs,
               big.changedUs / empty.changedUs);
  std::wprintf(L"ratio 10 MB / short text: idle %.2f, changed %.2f\n", big.idleUs / small.idleUs,
               big.changedUs / small.changedUs);
  return 0;
}
