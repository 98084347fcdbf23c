// The baselines of the start-up benchmark. bench_minimal only opens a window
// of the palette's size and pumps messages until it is closed. Built with
// BENCH_MINIMAL_TRAY it is bench_minimal_tray, which adds what any palette
// living in the notification area must load, and nothing else: a tab control
// of four tabs (comctl32, version 6 through the palette's manifest) and a
// notification icon (shell32).
#include <windows.h>

#ifdef BENCH_MINIMAL_TRAY
#include <commctrl.h>
#include <shellapi.h>
#endif

namespace {

#ifdef BENCH_MINIMAL_TRAY
constexpr UINT kIconMessage = WM_APP + 1;

NOTIFYICONDATAW IconData(HWND hwnd) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof(nid);
  nid.hWnd = hwnd;
  nid.uID = 1;
  return nid;
}

void AddTrayParts(HWND hwnd, HINSTANCE instance) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 118,
                              132, hwnd, nullptr, instance, nullptr);
  SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  const wchar_t* captions[] = {L"個１", L"個２", L"メモ", L"ﾘｽﾄ"};
  for (int i = 0; i < 4; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(captions[i]);
    SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  NOTIFYICONDATAW nid = IconData(hwnd);
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid.uCallbackMessage = kIconMessage;
  nid.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  lstrcpynW(nid.szTip, L"minimal", ARRAYSIZE(nid.szTip));
  Shell_NotifyIconW(NIM_ADD, &nid);
}
#endif

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
#ifdef BENCH_MINIMAL_TRAY
    NOTIFYICONDATAW nid = IconData(hwnd);
    Shell_NotifyIconW(NIM_DELETE, &nid);
#endif
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"MinimalWindow";
  if (!RegisterClassW(&wc)) return 1;
  HWND hwnd = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"minimal", WS_OVERLAPPEDWINDOW,
                              100, 100, 126, 166, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
#ifdef BENCH_MINIMAL_TRAY
  AddTrayParts(hwnd, instance);
#endif
  ShowWindow(hwnd, SW_SHOW);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
