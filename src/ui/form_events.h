// Which window notifications are form events, without a window: the
// notification codes are copies of the Win32 values (and of the string
// grid's own), which form_window_win.cpp checks against the originals.
#pragma once

#include <optional>

#include "forms/form.h"

namespace tabcard {

namespace notify {
// WM_COMMAND codes.
constexpr int kButtonClicked = 0;       // BN_CLICKED
constexpr int kEditChange = 0x0300;     // EN_CHANGE
constexpr int kComboSelChange = 1;      // CBN_SELCHANGE
constexpr int kListSelChange = 1;       // LBN_SELCHANGE
constexpr int kListDblClick = 2;        // LBN_DBLCLK
// WM_NOTIFY codes.
constexpr unsigned kTabSelChange = 0U - 551U;    // TCN_SELCHANGE
constexpr unsigned kGridMouseDown = 0U - 3000U;  // SGN_MOUSEDOWN and the grid's others
constexpr unsigned kGridMouseMove = kGridMouseDown - 1;
constexpr unsigned kGridMouseUp = kGridMouseDown - 2;
constexpr unsigned kGridDblClick = kGridMouseDown - 3;
constexpr unsigned kGridSelChange = kGridMouseDown - 4;
}  // namespace notify

// The event a WM_COMMAND notification of a control of this kind raises.
std::optional<forms::Event> CommandEvent(forms::ControlKind kind, int code);
// The event a WM_NOTIFY of a control of this kind raises.
std::optional<forms::Event> NotifyEvent(forms::ControlKind kind, unsigned code);

}  // namespace tabcard
