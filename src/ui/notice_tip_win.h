// A balloon that tells the user something by a window and goes away by
// itself, for refusals that a beep alone would leave unexplained.
#pragma once

#include <windows.h>

#include <string>

namespace tabcard {

constexpr UINT kNoticeShownMs = 4000;

class NoticeTip {
 public:
  explicit NoticeTip(HWND owner) : owner_(owner) {}
  ~NoticeTip();
  NoticeTip(const NoticeTip&) = delete;
  NoticeTip& operator=(const NoticeTip&) = delete;

  // Shows text with the balloon's stem at a screen point; a notice shown
  // before is replaced.
  void Show(const std::wstring& text, POINT at);
  // The tooltip window, null before the first Show.
  HWND Handle() const { return tip_; }

 private:
  static void CALLBACK Expire(HWND tip, UINT, UINT_PTR, DWORD);

  HWND owner_;
  HWND tip_ = nullptr;
  std::wstring text_;
};

}  // namespace tabcard
