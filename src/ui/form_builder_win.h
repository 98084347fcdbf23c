// Creates a form's controls from its description, one creator per kind, and
// keeps them laid out. Page controls become SysTabControl32 with fixed-width
// tabs; tab sheets, panels and group boxes become container windows
// (WS_EX_CONTROLPARENT) whose children are placed relative to them, so a page
// switch is one ShowWindow.
#pragma once

#include <windows.h>

#include <vector>

#include "forms/form.h"
#include "ui/dpi_scale.h"
#include "ui/gdi_win.h"

namespace tabcard {

struct BuiltControl {
  const forms::ControlDesc* desc = nullptr;
  HWND hwnd = nullptr;  // none for timers
  int id = 0;           // control id, timer id
  int tabIndex = -1;    // tab sheets: the tab's position in its page control
};

class BuiltForm {
 public:
  BuiltForm() = default;
  BuiltForm(const BuiltForm&) = delete;
  BuiltForm& operator=(const BuiltForm&) = delete;
  BuiltForm(BuiltForm&&) = default;
  BuiltForm& operator=(BuiltForm&&) = default;

  // By control (or timer) id, and by window.
  const BuiltControl* Find(int id) const;
  const BuiltControl* FindByWindow(HWND hwnd) const;
  HFONT font() const { return font_.get(); }

  std::vector<BuiltControl> controls;
  Font font_;
  // Fonts of controls with a font of their own, and the images' icons.
  std::vector<Font> ownFonts_;
  std::vector<OwnedIcon> icons_;
};

// Window styles of the form's frame.
DWORD FormStyle(const forms::FormDesc& form);
DWORD FormExStyle(const forms::FormDesc& form);
LOGFONTW FormLogFont(const forms::FormDesc& form, const DpiScale& scale);
// A control's font: the form's, with the control's own fields over it.
LOGFONTW ControlLogFont(const forms::FormDesc& form, const forms::ControlDesc& c,
                        const DpiScale& scale);

// Creates every control in table order and starts the timers. Throws
// std::runtime_error when the description cannot be built (forms::FormError)
// or a control cannot be created.
BuiltForm BuildControls(const forms::FormDesc& form, HWND window, const DpiScale& scale);

// After a DPI change: fonts (but a grid's, which its owner sets), tab widths
// and the places of the controls that do not fill their parent.
void RescaleControls(const forms::FormDesc& form, BuiltForm& built, const DpiScale& scale);

// Places aligned controls in their parents' client areas.
void LayoutControls(const BuiltForm& built, HWND window);

// The active tab of a page control, and showing a sheet: selects its tab,
// shows its container and hides the other sheets of that page control.
int ActiveTab(const BuiltForm& built, int pageControl);
void ShowSheet(const BuiltForm& built, int pageControl, int tabIndex);

// TCM_SETITEMSIZE with the tab height the control has now.
void SetTabWidth(HWND pageControl, int width);

}  // namespace tabcard
