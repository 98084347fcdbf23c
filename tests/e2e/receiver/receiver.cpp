// The receiving program of the end-to-end tests: a form of another
// application that Tabcard pastes into. A dialog-like window built from code
// with three edits, a RichEdit and a panel holding one more edit (so a drop
// has a parent that is not the top-level window), and optionally an owned
// pop-up with an edit. TAB moves the focus (IsDialogMessage in the loop).
//
//   receiver.exe [--state PATH] [--pos X,Y] [--title TEXT] [--popup] [--menu]
//
// --menu gives the form a menu bar, so a test sees whether a released Alt
// armed it (the log then holds WM_ENTERMENULOOP or WM_INITMENU).
//
// The test drives it with WM_COPYDATA to its main window (class
// "TabcardReceiver"); dwData is the command:
//   1 dump   write the state file (lpData: a UTF-16 path, or none for --state)
//   2 clear  empty every control and the message log
//   3 hang   lpData: a DWORD of milliseconds the UI thread then sleeps
//   4 focus  lpData: a DWORD control id to give the focus
// The answer is 1 when the command was carried out.
//
// The state file is UTF-16LE with a BOM, one "key=value" per line, written
// through a temporary file so it is never read half-written:
//   foreground=1|0, focus=<id>, then for every control hwnd.<id>, rect.<id>
//   (screen l,t,r,b) and text.<id> (\r \n \t \\ escaped), then log=<entry>
//   lines: "<id> <message> wp=<hex> lp=<hex>", key messages with
//   " shift=<0|1> ctrl=<0|1>". The state file is first written at start-up.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "dialog_focus.h"

namespace {

using tabcard::testing::kLastFocus;

constexpr wchar_t kMainClass[] = L"TabcardReceiver";
constexpr wchar_t kPanelClass[] = L"TabcardReceiverPanel";
constexpr UINT kHangMessage = WM_APP + 1;
constexpr std::size_t kMaxLog = 2000;

enum Command : ULONG_PTR { kDump = 1, kClear = 2, kHang = 3, kFocus = 4 };

struct Control {
  int id;
  HWND hwnd;
};

struct Receiver {
  HWND main = nullptr;
  HWND panel = nullptr;
  HWND popup = nullptr;
  std::vector<Control> controls;
  std::vector<std::wstring> log;
  std::wstring statePath;
};
Receiver g;

const wchar_t* MessageName(UINT msg) {
  switch (msg) {
    case WM_MOUSEACTIVATE: return L"WM_MOUSEACTIVATE";
    case WM_LBUTTONDOWN: return L"WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return L"WM_LBUTTONUP";
    case WM_PARENTNOTIFY: return L"WM_PARENTNOTIFY";
    case WM_KEYDOWN: return L"WM_KEYDOWN";
    case WM_KEYUP: return L"WM_KEYUP";
    case WM_CHAR: return L"WM_CHAR";
    case WM_SETFOCUS: return L"WM_SETFOCUS";
    case WM_PASTE: return L"WM_PASTE";
    case WM_ACTIVATE: return L"WM_ACTIVATE";
    case WM_KILLFOCUS: return L"WM_KILLFOCUS";
    case WM_SYSKEYDOWN: return L"WM_SYSKEYDOWN";
    case WM_SYSKEYUP: return L"WM_SYSKEYUP";
    case WM_SYSCOMMAND: return L"WM_SYSCOMMAND";
    case WM_INITMENU: return L"WM_INITMENU";
    case WM_ENTERMENULOOP: return L"WM_ENTERMENULOOP";
    default: return nullptr;
  }
}

int IdOf(HWND hwnd) {
  if (hwnd == g.main) return 0;
  if (hwnd == g.popup) return 200;
  return GetDlgCtrlID(hwnd);
}

void Record(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const wchar_t* name = MessageName(msg);
  if (!name || g.log.size() >= kMaxLog) return;
  wchar_t line[160];
  std::swprintf(line, 160, L"%d %ls wp=%llX lp=%llX", IdOf(hwnd), name,
                static_cast<unsigned long long>(wp), static_cast<unsigned long long>(lp));
  std::wstring entry = line;
  if (msg == WM_KEYDOWN || msg == WM_KEYUP) {
    entry += GetKeyState(VK_SHIFT) < 0 ? L" shift=1" : L" shift=0";
    entry += GetKeyState(VK_CONTROL) < 0 ? L" ctrl=1" : L" ctrl=0";
  }
  g.log.push_back(entry);
}

LRESULT CALLBACK ControlSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                 DWORD_PTR) {
  Record(hwnd, msg, wp, lp);
  return DefSubclassProc(hwnd, msg, wp, lp);
}

std::wstring Escaped(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    switch (c) {
      case L'\\': out += L"\\\\"; break;
      case L'\r': out += L"\\r"; break;
      case L'\n': out += L"\\n"; break;
      case L'\t': out += L"\\t"; break;
      default: out += c;
    }
  }
  return out;
}

std::wstring TextOf(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), n + 1)));
  return text;
}

std::wstring StateText() {
  HWND fg = GetForegroundWindow();
  HWND focus = GetFocus();
  std::wstring s = L"foreground=";
  s += (fg && (fg == g.main || fg == g.popup)) ? L"1\r\n" : L"0\r\n";
  s += L"focus=" + std::to_wstring(focus ? IdOf(focus) : -1) + L"\r\n";
  for (const Control& c : g.controls) {
    const std::wstring id = std::to_wstring(c.id);
    RECT r{};
    GetWindowRect(c.hwnd, &r);
    wchar_t buf[96];
    std::swprintf(buf, 96, L"hwnd.%ls=%llX\r\nrect.%ls=%ld,%ld,%ld,%ld\r\n", id.c_str(),
                  static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(c.hwnd)),
                  id.c_str(), r.left, r.top, r.right, r.bottom);
    s += buf;
    s += L"text." + id + L"=" + Escaped(TextOf(c.hwnd)) + L"\r\n";
  }
  for (const std::wstring& entry : g.log) s += L"log=" + entry + L"\r\n";
  return s;
}

bool WriteState(const std::wstring& path) {
  if (path.empty()) return false;
  const std::wstring temp = path + L".tmp";
  HANDLE f = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  const std::wstring body = L"\xFEFF" + StateText();
  DWORD written = 0;
  const DWORD bytes = static_cast<DWORD>(body.size() * sizeof(wchar_t));
  const bool ok = WriteFile(f, body.data(), bytes, &written, nullptr) && written == bytes;
  CloseHandle(f);
  return ok && MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

DWORD DwordOf(const COPYDATASTRUCT* cds) {
  return cds->cbData >= sizeof(DWORD) ? *static_cast<const DWORD*>(cds->lpData) : 0;
}

LRESULT OnCommand(const COPYDATASTRUCT* cds) {
  switch (cds->dwData) {
    case kDump: {
      std::wstring path = g.statePath;
      if (cds->cbData >= sizeof(wchar_t)) {
        path.assign(static_cast<const wchar_t*>(cds->lpData), cds->cbData / sizeof(wchar_t));
        path = path.substr(0, path.find(L'\0'));
      }
      return WriteState(path) ? 1 : 0;
    }
    case kClear:
      for (const Control& c : g.controls) SetWindowTextW(c.hwnd, L"");
      g.log.clear();
      return 1;
    case kHang:
      // Posted, so the sender gets its answer before the thread stops.
      return PostMessageW(g.main, kHangMessage, DwordOf(cds), 0) ? 1 : 0;
    case kFocus:
      for (const Control& c : g.controls) {
        if (c.id == static_cast<int>(DwordOf(cds))) {
          SetFocus(c.hwnd);
          return 1;
        }
      }
      return 0;
  }
  return 0;
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Record(hwnd, msg, wp, lp);
  if (LRESULT r; tabcard::testing::HandleDialogFocus(hwnd, msg, wp, &r)) return r;
  switch (msg) {
    case WM_COPYDATA:
      return OnCommand(reinterpret_cast<const COPYDATASTRUCT*>(lp));
    case kHangMessage:
      Sleep(static_cast<DWORD>(wp));
      return 0;
    case WM_DESTROY:
      RemovePropW(hwnd, kLastFocus);
      if (hwnd == g.main) PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

const wchar_t* RichEditClass() {
  if (LoadLibraryW(L"Msftedit.dll")) return MSFTEDIT_CLASS;  // RICHEDIT50W
  if (LoadLibraryW(L"riched20.dll")) return RICHEDIT_CLASSW;
  return L"EDIT";
}

void AddControl(HWND parent, int id, const wchar_t* cls, DWORD style, int x, int y, int w,
                int h) {
  HWND c = CreateWindowExW(WS_EX_CLIENTEDGE, cls, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style,
                           x, y, w, h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  SetWindowSubclass(c, ControlSubclass, 1, 0);
  g.controls.push_back({id, c});
}

void RegisterClasses(HINSTANCE instance) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = FormProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kMainClass;
  RegisterClassW(&wc);
  wc.lpszClassName = kPanelClass;
  RegisterClassW(&wc);
}

HMENU MenuBar() {
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, 1, L"&Open");
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  return bar;
}

void CreateForm(HINSTANCE instance, int x, int y, const std::wstring& title, bool withPopup,
                bool withMenu) {
  g.main = CreateWindowExW(WS_EX_CONTROLPARENT, kMainClass, title.c_str(),
                           WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 440,
                           330, nullptr, withMenu ? MenuBar() : nullptr, instance, nullptr);
  AddControl(g.main, 101, L"EDIT", ES_AUTOHSCROLL, 10, 10, 400, 24);
  AddControl(g.main, 102, L"EDIT", ES_AUTOHSCROLL, 10, 44, 400, 24);
  AddControl(g.main, 103, L"EDIT", ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL, 10,
             78, 400, 60);
  AddControl(g.main, 104, RichEditClass(), ES_AUTOHSCROLL, 10, 148, 400, 24);
  g.panel = CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"",
                            WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 182, 400, 60, g.main,
                            reinterpret_cast<HMENU>(110), instance, nullptr);
  AddControl(g.panel, 111, L"EDIT", ES_AUTOHSCROLL, 10, 16, 370, 24);
  if (withPopup) {
    g.popup = CreateWindowExW(WS_EX_CONTROLPARENT, kMainClass, (title + L" Popup").c_str(),
                              WS_POPUP | WS_CAPTION | WS_VISIBLE, x + 460, y, 300, 120, g.main,
                              nullptr, instance, nullptr);
    AddControl(g.popup, 201, L"EDIT", ES_AUTOHSCROLL, 10, 10, 270, 24);
    SetPropW(g.popup, kLastFocus, g.controls.back().hwnd);
  }
  SetPropW(g.main, kLastFocus, g.controls.front().hwnd);
  ShowWindow(g.main, SW_SHOW);
  SetFocus(g.controls.front().hwnd);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int x = 600, y = 100;
  std::wstring title = L"Receiver";
  bool withPopup = false, withMenu = false;
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; argv && i < argc; ++i) {
    const std::wstring a = argv[i];
    if (a == L"--state" && i + 1 < argc) g.statePath = argv[++i];
    else if (a == L"--pos" && i + 1 < argc) std::swscanf(argv[++i], L"%d,%d", &x, &y);
    else if (a == L"--title" && i + 1 < argc) title = argv[++i];
    else if (a == L"--popup") withPopup = true;
    else if (a == L"--menu") withMenu = true;
  }
  LocalFree(argv);

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  RegisterClasses(instance);
  CreateForm(instance, x, y, title, withPopup, withMenu);
  WriteState(g.statePath);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(g.main, &msg) || (g.popup && IsDialogMessageW(g.popup, &msg))) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
