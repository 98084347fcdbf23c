// Drop benchmark: the time from the release of a drag over another program's
// field to the last paste keystroke leaving the palette, on the real
// Tabcard.exe and receiver.exe (both beside this program).
//
//   bench_drop_latency.exe [drops] [--tab]   (default 20 drops)
//
// A low-level mouse and keyboard hook on a thread of its own timestamps the
// release this program injects and every key the palette injects; the
// figures are the release to the first key (the foreground switch and the
// click) and to the last key (Shift up, or TAB up with --tab). Each drop is
// checked to have pasted the text. Writes the palette's store in HKCU first.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cwchar>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "forms/main_form.h"
#include "harness.h"
#include "input.h"
#include "palette_setup.h"
#include "receiver_client.h"

namespace {

using namespace tabcard::e2e;

double NowMs() {
  static const double perMs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1e3;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / perMs;
}

struct Event {
  double ms;
  bool key;     // a key, else the left button's release
  DWORD vk;
  bool up;
};

std::mutex eventsLock;
std::vector<Event> events;

LRESULT CALLBACK MouseHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && wp == WM_LBUTTONUP) {
    std::lock_guard<std::mutex> lock(eventsLock);
    events.push_back({NowMs(), false, 0, true});
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK KeyHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
    std::lock_guard<std::mutex> lock(eventsLock);
    events.push_back({NowMs(), true, k->vkCode, wp == WM_KEYUP || wp == WM_SYSKEYUP});
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

// The hooks are called on the thread that set them, so it only pumps: a
// thread busy elsewhere would hold every injected event up.
class HookThread {
 public:
  HookThread() {
    thread_ = std::thread([this] {
      HHOOK mouse = SetWindowsHookExW(WH_MOUSE_LL, MouseHook, GetModuleHandleW(nullptr), 0);
      HHOOK keys = SetWindowsHookExW(WH_KEYBOARD_LL, KeyHook, GetModuleHandleW(nullptr), 0);
      MSG msg;
      PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue WM_QUIT comes to
      threadId_ = GetCurrentThreadId();
      ok_ = mouse && keys;
      ready_ = true;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
      if (mouse) UnhookWindowsHookEx(mouse);
      if (keys) UnhookWindowsHookEx(keys);
    });
    WaitFor([this] { return ready_.load(); }, 5000);
  }
  ~HookThread() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  bool ok() const { return ok_; }

 private:
  std::thread thread_;
  std::atomic<bool> ready_{false};
  DWORD threadId_ = 0;
  bool ok_ = false;
};

struct Sample {
  double firstKeyMs;
  double lastKeyMs;
};

// The last release and the keys after it, as the hook saw them.
bool Evaluate(DWORD lastVk, Sample* out) {
  std::lock_guard<std::mutex> lock(eventsLock);
  auto release = std::find_if(events.rbegin(), events.rend(), [](const Event& e) { return !e.key; });
  if (release == events.rend()) return false;
  const double up = release->ms;
  double first = -1, last = -1;
  for (const Event& e : events) {
    if (!e.key || e.ms < up) continue;
    if (first < 0) first = e.ms - up;
    if (e.vk == lastVk && e.up) last = e.ms - up;
  }
  if (first < 0 || last < 0) return false;
  *out = {first, last};
  return true;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void Print(const wchar_t* what, const std::vector<double>& v) {
  std::wprintf(L"release to %-10ls median %7.1f ms   min %7.1f   max %7.1f\n", what, Median(v),
               *std::min_element(v.begin(), v.end()), *std::max_element(v.begin(), v.end()));
}

int Run(int drops, bool tab) {
  DeleteBaseKey();
  if (!StoreCompleteProfile({tabcard::kPageKojin1, tab})) return 1;
  TempDir dir;
  Program palette;
  ReceiverApp receiver(dir.path());
  if (!palette.Start(dir.path()) || !receiver.Start(kReceiverPos)) return 1;
  HWND main = palette.MainWindow();
  HWND grid = main ? Control(main, tabcard::forms::kMainGrids[0]) : nullptr;
  GridReader reader;
  const POINT from = grid ? reader.CellCentre(grid, 0, 0) : POINT{-1, -1};
  const auto state = receiver.Dump();
  if (from.x < 0 || !state) return 1;
  const POINT to = Centre(state->rect.at(kEdit2));

  HookThread hooks;
  if (!hooks.ok()) {
    std::fwprintf(stderr, L"the low-level hooks could not be set\n");
    return 1;
  }
  std::vector<double> firsts, lasts;
  for (int i = 0; i < drops; ++i) {
    receiver.Clear();
    if (!Drag(from, to)) return 1;
    const auto pasted = receiver.WaitState(
        [](const ReceiverState& s) { return s.text.at(kEdit2) == kProfileName; });
    Sample sample;
    const DWORD lastVk = tab ? VK_TAB : VK_SHIFT;
    if (!pasted || pasted->text.at(kEdit2) != kProfileName ||
        !WaitFor([&] { return Evaluate(lastVk, &sample); }, 2000)) {
      std::fwprintf(stderr, L"drop %d: no paste seen\n", i + 1);
      return 1;
    }
    firsts.push_back(sample.firstKeyMs);
    lasts.push_back(sample.lastKeyMs);
  }
  std::wprintf(L"%d drops onto an edit of another program%ls\n", drops, tab ? L", TAB mode" : L"");
  Print(L"first key", firsts);
  Print(L"last key", lasts);
  receiver.Close();
  palette.Close();
  DeleteBaseKey();
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int drops = 20;
  bool tab = false;
  for (int i = 1; i < argc; ++i) {
    if (std::wcscmp(argv[i], L"--tab") == 0) {
      tab = true;
    } else {
      drops = std::max(1, _wtoi(argv[i]));
    }
  }
  return Run(drops, tab);
}
