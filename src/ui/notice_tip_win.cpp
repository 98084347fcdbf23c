#include "ui/notice_tip_win.h"

#include <commctrl.h>

namespace tabcard {

namespace {

constexpr UINT_PTR kToolId = 1;
constexpr UINT_PTR kExpireTimer = 1;

TOOLINFOW ToolOf(HWND tip, const wchar_t* text) {
  TOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  ti.hwnd = GetWindow(tip, GW_OWNER);
  ti.uId = kToolId;
  ti.lpszText = const_cast<wchar_t*>(text);
  return ti;
}

}  // namespace

NoticeTip::~NoticeTip() {
  // The owner's destruction may have taken the tooltip with it already.
  if (tip_ && IsWindow(tip_)) DestroyWindow(tip_);
}

void NoticeTip::Show(const std::wstring& text, POINT at) {
  text_ = text;
  if (!tip_ || !IsWindow(tip_)) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner_, GWLP_HINSTANCE));
    // TTS_ALWAYSTIP: the palette is usually not the active window.
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                           WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner_, nullptr, instance,
                           nullptr);
    if (!tip_) return;
    TOOLINFOW ti = ToolOf(tip_, text_.c_str());
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
  TOOLINFOW ti = ToolOf(tip_, text_.c_str());
  SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
  SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
  // A timer with a procedure needs no window procedure of ours.
  SetTimer(tip_, kExpireTimer, kNoticeShownMs, &NoticeTip::Expire);
}

void CALLBACK NoticeTip::Expire(HWND tip, UINT, UINT_PTR, DWORD) {
  KillTimer(tip, kExpireTimer);
  TOOLINFOW ti = ToolOf(tip, nullptr);
  SendMessageW(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace tabcard
