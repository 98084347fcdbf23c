#include "ui/window_win.h"

#include <stdexcept>

#include "ui/app_error_win.h"

namespace tabcard {

RECT WindowRef::ScreenBounds() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return r;
}

void WindowRef::SetText(std::wstring_view text) const {
  SetWindowTextW(hwnd_, std::wstring(text).c_str());
}

std::wstring WindowRef::Text() const {
  const int n = GetWindowTextLengthW(hwnd_);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), n + 1)));
  return text;
}

Window::~Window() {
  if (HWND h = self_.hwnd()) {
    // The derived part is gone: no message may reach HandleMessage now.
    SetWindowLongPtrW(h, GWLP_USERDATA, 0);
    self_.Detach();
    DestroyWindow(h);
  }
}

void Window::RegisterClassOnce(const wchar_t* className, UINT classStyle, HBRUSH background,
                               HICON icon) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, className, &existing)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = classStyle;
  wc.lpfnWndProc = StaticProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.lpszClassName = className;
  if (!RegisterClassExW(&wc)) throw std::runtime_error("RegisterClassEx failed");
}

HWND Window::Create(const wchar_t* className, DWORD exStyle, DWORD style, std::wstring_view title,
                    const RECT& b, HWND parentOrOwner, HMENU menuOrId) {
  HWND h = CreateWindowExW(exStyle, className, std::wstring(title).c_str(), style, b.left, b.top,
                           b.right - b.left, b.bottom - b.top, parentOrOwner, menuOrId,
                           GetModuleHandleW(nullptr), this);
  if (!h) throw std::runtime_error("CreateWindowEx failed");
  return h;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefaultProc(msg, wp, lp); }

LRESULT CALLBACK Window::StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->self_.Attach(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->self_.Detach();
    RunReported(hwnd, [&] { self->OnNcDestroy(); });
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  LRESULT result = 0;
  // The one catch point of every window procedure: a failed handler is
  // reported and the message still gets its default processing.
  if (!RunReported(hwnd, [&] { result = self->HandleMessage(msg, wp, lp); })) {
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  return result;
}

// Only a shown window is paused: WM_SETREDRAW TRUE sets WS_VISIBLE, which
// would show a hidden one, and a hidden one draws nothing anyway.
RedrawPause::RedrawPause(HWND window) : window_(IsWindowVisible(window) ? window : nullptr) {
  if (window_) SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
}

RedrawPause::~RedrawPause() {
  if (!window_) return;
  SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(window_, nullptr, TRUE);
}

}  // namespace tabcard
