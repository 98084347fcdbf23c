// The second baseline of the start-up benchmark: what any palette that lives
// in the notification area must load, and nothing else. A window of the
// palette's size holding a tab control of four tabs (comctl32), and a
// notification icon (shell32), pumping messages until it is closed.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

namespace {

constexpr UINT kIconMessage = WM_APP + 1;

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof(nid);
    nid.hWnd = hwnd;
    nid.uID = 1;
    Shell_NotifyIconW(NIM_DELETE, &nid);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void AddTabs(HWND parent, HINSTANCE instance) {
  HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 118,
                              132, parent, nullptr, instance, nullptr);
  SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  const wchar_t* captions[] = {L"個１", L"個２", L"メモ", L"ﾘｽﾄ"};
  for (int i = 0; i < 4; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(captions[i]);
    SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
}

void AddIcon(HWND hwnd) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof(nid);
  nid.hWnd = hwnd;
  nid.uID = 1;
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid.uCallbackMessage = kIconMessage;
  nid.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  lstrcpynW(nid.szTip, L"minimal", ARRAYSIZE(nid.szTip));
  Shell_NotifyIconW(NIM_ADD, &nid);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"MinimalTrayWindow";
  if (!RegisterClassW(&wc)) return 1;
  HWND hwnd = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"minimal", WS_OVERLAPPEDWINDOW, 100,
                              100, 126, 166, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  AddTabs(hwnd, instance);
  AddIcon(hwnd);
  ShowWindow(hwnd, SW_SHOW);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
