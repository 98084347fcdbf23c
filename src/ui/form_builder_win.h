// Creates a form's controls from its description and keeps them laid out:
// page controls become SysTabControl32 with fixed-width tabs, tab sheets
// become tabs whose content controls are shown only while the sheet is
// active, string grids become grid windows, timers are started.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

#include "forms/form.h"
#include "ui/dpi_scale.h"
#include "ui/gdi_win.h"

namespace tabcard {

struct BuiltControl {
  const forms::ControlDesc* desc = nullptr;
  HWND hwnd = nullptr;  // none for tab sheets and timers
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

  const BuiltControl* Find(std::string_view name) const;
  const BuiltControl* FindById(int id) const;
  const BuiltControl* FindByWindow(HWND hwnd) const;
  // The sheet at a tab position of a page control, or nullptr.
  const BuiltControl* SheetAt(std::string_view pageControl, int tabIndex) const;
  HFONT font() const { return font_.get(); }

  std::vector<BuiltControl> controls;
  Font font_;
};

// Window styles of the form's frame.
DWORD FormStyle(const forms::FormDesc& form);
DWORD FormExStyle(const forms::FormDesc& form);
LOGFONTW FormLogFont(const forms::FormDesc& form, const DpiScale& scale);

// Creates every control as a child of window (tab sheet contents are
// children of the window too, placed over the page control's display area)
// and starts the timers. Throws std::runtime_error when a control cannot be
// created.
BuiltForm BuildControls(const forms::FormDesc& form, HWND window, const DpiScale& scale);

// After a DPI change: the form font again, and the fixed tab width.
void RescaleControls(const forms::FormDesc& form, BuiltForm& built, const DpiScale& scale);

// Places aligned controls in the window's client area.
void LayoutControls(const BuiltForm& built, HWND window);

// The active tab of a page control, and showing a sheet: selects its tab
// and shows its content, hiding the other sheets' content.
int ActiveTab(const BuiltForm& built, std::string_view pageControl);
void ShowSheet(const BuiltForm& built, std::string_view pageControl, int tabIndex);

// TCM_SETITEMSIZE with the tab height the control has now.
void SetTabWidth(HWND pageControl, int width);

}  // namespace tabcard
