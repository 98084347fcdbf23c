#include "tray/app_icon_win.h"

#include "res/app_res.h"

namespace tabcard {

OwnedIcon LoadAppIcon(int size, HINSTANCE module) {
  if (!module) module = GetModuleHandleW(nullptr);
  return OwnedIcon(static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_TABCARD), IMAGE_ICON,
                                                 size, size, LR_DEFAULTCOLOR)));
}

}  // namespace tabcard
