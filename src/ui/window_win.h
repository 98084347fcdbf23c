// The whole window wrapper: a non-owning handle holder and one Window base in
// the scratch-program style (static procedure, `this` in GWLP_USERDATA from
// WM_NCCREATE on, virtual HandleMessage, detached at WM_NCDESTROY).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tabcard {

// Looks at a window it does not own. Not copyable, so a holder is never
// mistaken for a second owner.
class WindowRef {
 public:
  WindowRef() = default;
  explicit WindowRef(HWND hwnd) : hwnd_(hwnd) {}
  WindowRef(const WindowRef&) = delete;
  WindowRef& operator=(const WindowRef&) = delete;

  HWND hwnd() const { return hwnd_; }
  explicit operator bool() const { return hwnd_ != nullptr; }
  void Attach(HWND hwnd) { hwnd_ = hwnd; }
  HWND Detach() {
    HWND h = hwnd_;
    hwnd_ = nullptr;
    return h;
  }

  bool IsVisible() const { return hwnd_ && IsWindowVisible(hwnd_); }
  RECT ScreenBounds() const;
  void SetText(std::wstring_view text) const;
  std::wstring Text() const;

 private:
  HWND hwnd_ = nullptr;
};

// Base of every window class of the program. The object outlives its window:
// its owner destroys the window (or the destructor does) and the object stops
// receiving messages at WM_NCDESTROY.
class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return self_.hwnd(); }
  const WindowRef& self() const { return self_; }

 protected:
  // Registers the class once per process, with this base's procedure.
  static void RegisterClassOnce(const wchar_t* className, UINT classStyle, HBRUSH background,
                                HICON icon = nullptr);
  // Throws std::runtime_error when the window cannot be created.
  HWND Create(const wchar_t* className, DWORD exStyle, DWORD style, std::wstring_view title,
              const RECT& bounds, HWND parentOrOwner, HMENU menuOrId = nullptr);

  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcW(self_.hwnd(), msg, wp, lp);
  }
  // The last message: the handle is already forgotten when this runs.
  virtual void OnNcDestroy() {}

 private:
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  WindowRef self_;
};

// Keeps a shown control from drawing while it is filled line by line or cell
// by cell, then repaints it once: a fill of thousands costs one paint.
class RedrawPause {
 public:
  explicit RedrawPause(HWND window);
  ~RedrawPause();
  RedrawPause(const RedrawPause&) = delete;
  RedrawPause& operator=(const RedrawPause&) = delete;

 private:
  HWND window_;
};

}  // namespace tabcard
