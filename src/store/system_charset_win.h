// Whether the system's default character set is Shift-JIS, which decides the
// standard font of the pages (StandardFont).
#pragma once

namespace tabcard {

bool IsShiftJisSystem();

}  // namespace tabcard
