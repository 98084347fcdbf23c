#include "store/system_charset_win.h"

#include <windows.h>

namespace tabcard {

bool IsShiftJisSystem() { return GetACP() == 932; }

}  // namespace tabcard
