// The program's icon (IDI_TABCARD) at the size a place needs.
#pragma once

#include <windows.h>

#include "ui/gdi_win.h"

namespace tabcard {

// The program's icon drawn at size x size pixels, from the image of that size
// when the icon has one; empty when the module has no such icon. module
// defaults to the executable.
OwnedIcon LoadAppIcon(int size, HINSTANCE module = nullptr);

}  // namespace tabcard
