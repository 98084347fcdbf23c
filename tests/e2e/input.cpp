#include "input.h"

#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "harness.h"

namespace tabcard::e2e {
namespace {

constexpr DWORD kMoveTimeoutMs = 1000;
constexpr int kSteadyPolls = 3;
constexpr DWORD kForegroundTimeoutMs = 2000;
constexpr DWORD kClipboardTimeoutMs = 1000;

bool Send(std::vector<INPUT> inputs) {
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) ==
         inputs.size();
}

INPUT MouseInput(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = dx;
  in.mi.dy = dy;
  in.mi.dwFlags = flags;
  return in;
}

INPUT KeyInput(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

bool CursorIs(POINT p) {
  POINT now{};
  return GetCursorPos(&now) && now.x == p.x && now.y == p.y;
}

// The owner the clipboard is opened with.
HWND ClipboardWindow() {
  static HWND window = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TabcardE2eClipboard";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           wc.hInstance, nullptr);
  }();
  return window;
}

// Open for its lifetime; the palette may hold the clipboard for a moment.
class OpenedClipboard {
 public:
  OpenedClipboard() {
    open_ = WaitFor([] { return OpenClipboard(ClipboardWindow()) != FALSE; }, kClipboardTimeoutMs);
  }
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  bool IsOpen() const { return open_; }

 private:
  bool open_ = false;
};

std::optional<std::vector<BYTE>> ClipboardBytes(UINT format) {
  OpenedClipboard clip;
  if (!clip.IsOpen()) return std::nullopt;
  HANDLE data = GetClipboardData(format);
  if (!data) return std::nullopt;
  const auto* p = static_cast<const BYTE*>(GlobalLock(data));
  if (!p) return std::nullopt;
  std::vector<BYTE> bytes(p, p + GlobalSize(data));
  GlobalUnlock(data);
  return bytes;
}

// The normalised coordinate of a pixel's middle. Wine maps it back as
// dx * width / 65536, truncated: rounding to the nearest unit instead lands
// one pixel short for about half of all positions; the middle lands on the
// pixel whether the divisor is 65536 or 65535.
LONG Normalised(LONG pixel, int screen) {
  return static_cast<LONG>((2LL * pixel + 1) * 32768 / screen);
}

// The last left press, so that a new one never pairs with it into a
// double-click: two drags of one cell in quick succession would otherwise
// arrive as a double-click and a drag.
struct Press {
  ULONGLONG time = 0;
  POINT at{-1000, -1000};
};
Press lastPress;

void WaitOutDoubleClick(POINT p) {
  const bool nearby = std::abs(p.x - lastPress.at.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
                      std::abs(p.y - lastPress.at.y) <= GetSystemMetrics(SM_CYDOUBLECLK);
  if (!nearby) return;
  const ULONGLONG end = lastPress.time + GetDoubleClickTime() + 50;
  WaitFor([&] { return GetTickCount64() >= end; }, GetDoubleClickTime() + 100);
}

bool PressLeft(POINT p) {
  WaitOutDoubleClick(p);
  if (!MoveMouseTo(p) || !MouseButton(MOUSEEVENTF_LEFTDOWN)) return false;
  lastPress = {GetTickCount64(), p};
  return true;
}

}  // namespace

bool MoveMouseTo(POINT p) {
  if (!Send({MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
                        Normalised(p.x, GetSystemMetrics(SM_CXSCREEN)),
                        Normalised(p.y, GetSystemMetrics(SM_CYSCREEN)))})) {
    return false;
  }
  int steady = 0;
  return WaitFor([&] { return (steady = CursorIs(p) ? steady + 1 : 0) >= kSteadyPolls; },
                 kMoveTimeoutMs);
}

bool MouseButton(DWORD flag) { return Send({MouseInput(flag)}); }

bool Drag(POINT from, POINT to, int steps) {
  if (!PressLeft(from)) return false;
  for (int i = 1; i <= steps; ++i) {
    const POINT p{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
    if (!MoveMouseTo(p)) {
      MouseButton(MOUSEEVENTF_LEFTUP);
      return false;
    }
  }
  return MouseButton(MOUSEEVENTF_LEFTUP);
}

bool Click(POINT p) { return PressLeft(p) && MouseButton(MOUSEEVENTF_LEFTUP); }

bool DoubleClick(POINT p) {
  if (!PressLeft(p)) return false;
  const bool sent = Send({MouseInput(MOUSEEVENTF_LEFTUP), MouseInput(MOUSEEVENTF_LEFTDOWN),
                          MouseInput(MOUSEEVENTF_LEFTUP)});
  // A press after this would make a triple click.
  lastPress = {GetTickCount64(), p};
  return sent;
}

bool RightClick(POINT p) {
  return MoveMouseTo(p) &&
         Send({MouseInput(MOUSEEVENTF_RIGHTDOWN), MouseInput(MOUSEEVENTF_RIGHTUP)});
}

bool PressKey(WORD vk) { return Send({KeyInput(vk, false), KeyInput(vk, true)}); }

bool PressKeys(const std::vector<WORD>& keys) {
  std::vector<INPUT> inputs;
  for (WORD vk : keys) {
    inputs.push_back(KeyInput(vk, false));
    inputs.push_back(KeyInput(vk, true));
  }
  return Send(std::move(inputs));
}

bool PressChord(std::initializer_list<WORD> modifiers, WORD vk, DWORD holdMs) {
  std::vector<INPUT> down;
  for (WORD m : modifiers) down.push_back(KeyInput(m, false));
  down.push_back(KeyInput(vk, false));
  down.push_back(KeyInput(vk, true));
  if (!Send(down)) return false;
  PumpFor(holdMs);
  std::vector<INPUT> up;
  for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) up.push_back(KeyInput(*it, true));
  return Send(up);
}

bool TypeText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT in{};
      in.type = INPUT_KEYBOARD;
      in.ki.wScan = c;
      in.ki.dwFlags = KEYEVENTF_UNICODE | up;
      inputs.push_back(in);
    }
  }
  return Send(std::move(inputs));
}

bool BringForward(HWND window) {
  SetForegroundWindow(window);
  if (!WaitFor([&] { return GetForegroundWindow() == window; }, kForegroundTimeoutMs)) return false;
  Sleep(kForegroundSettleMs);
  return GetForegroundWindow() == window;
}

HWND CaptureOf(DWORD threadId) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(threadId, &info) ? info.hwndCapture : nullptr;
}

bool InMenuMode(DWORD threadId) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(threadId, &info) && (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE));
}

DWORD ThreadOf(HWND window) { return GetWindowThreadProcessId(window, nullptr); }

namespace {

struct MenuSearch {
  DWORD pid;
  int n;
  HWND last;
};

BOOL CALLBACK CountMenu(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<MenuSearch*>(lp);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  wchar_t cls[16] = {};
  GetClassNameW(hwnd, cls, 16);
  if (owner == s->pid && lstrcmpW(cls, L"#32768") == 0 && IsWindowVisible(hwnd)) {
    ++s->n;
    s->last = hwnd;
  }
  return TRUE;
}

MenuSearch SearchMenus(DWORD pid) {
  MenuSearch s{pid, 0, nullptr};
  EnumWindows(CountMenu, reinterpret_cast<LPARAM>(&s));
  return s;
}

}  // namespace

int VisibleMenus(DWORD pid) { return SearchMenus(pid).n; }

HWND VisibleMenu(DWORD pid) { return SearchMenus(pid).last; }

std::wstring ControlText(HWND control) {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length);
  std::wstring text(length + 1, L'\0');
  DWORD_PTR n = 0;
  SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_NORMAL, 5000, &n);
  text.resize(n);
  return text;
}

std::wstring WindowTitle(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

namespace {

HGLOBAL BlockOf(const void* data, std::size_t bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!block) return nullptr;
  if (void* p = GlobalLock(block)) {
    std::memcpy(p, data, bytes);
    GlobalUnlock(block);
  }
  return block;
}

// SetClipboardData takes the block only when it succeeds.
bool Put(UINT format, HGLOBAL block) {
  if (block && SetClipboardData(format, block)) return true;
  if (block) GlobalFree(block);
  return false;
}

}  // namespace

bool PutClipboardUnicode(const std::wstring& text, const wchar_t* formatName, DWORD value) {
  OpenedClipboard clip;
  if (!clip.IsOpen() || !EmptyClipboard()) return false;
  if (!Put(CF_UNICODETEXT, BlockOf(text.c_str(), (text.size() + 1) * sizeof(wchar_t)))) {
    return false;
  }
  return !formatName ||
         Put(RegisterClipboardFormatW(formatName), BlockOf(&value, sizeof value));
}

bool EmptyTheClipboard() {
  OpenedClipboard clip;
  return clip.IsOpen() && EmptyClipboard();
}

std::optional<std::wstring> ClipboardUnicode() {
  const auto bytes = ClipboardBytes(CF_UNICODETEXT);
  if (!bytes) return std::nullopt;
  std::wstring text(bytes->size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), bytes->data(), text.size() * sizeof(wchar_t));
  return text.substr(0, text.find(L'\0'));
}

std::optional<std::string> ClipboardAnsi() {
  const auto bytes = ClipboardBytes(CF_TEXT);
  if (!bytes) return std::nullopt;
  std::string text(bytes->begin(), bytes->end());
  return text.substr(0, text.find('\0'));
}

std::optional<LCID> ClipboardLocale() {
  const auto bytes = ClipboardBytes(CF_LOCALE);
  if (!bytes || bytes->size() < sizeof(LCID)) return std::nullopt;
  LCID lcid = 0;
  std::memcpy(&lcid, bytes->data(), sizeof lcid);
  return lcid;
}

bool ClipboardHas(const wchar_t* formatName) {
  OpenedClipboard clip;
  return clip.IsOpen() && IsClipboardFormatAvailable(RegisterClipboardFormatW(formatName));
}

std::optional<DWORD> ClipboardDword(const wchar_t* formatName) {
  const auto bytes = ClipboardBytes(RegisterClipboardFormatW(formatName));
  if (!bytes || bytes->size() < sizeof(DWORD)) return std::nullopt;
  DWORD value = 0;
  std::memcpy(&value, bytes->data(), sizeof value);
  return value;
}

RECT Union(const RECT& a, const RECT& b) {
  RECT u{};
  UnionRect(&u, &a, &b);
  return u;
}

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

}  // namespace tabcard::e2e
