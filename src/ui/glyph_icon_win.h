// The small pictures beside the captions of OK, Cancel and Help: a check
// mark, a cross and a question mark, coloured, made at the device pixel
// size so they stay crisp at every DPI.
#pragma once

#include <windows.h>

#include "forms/form.h"
#include "ui/gdi_win.h"

namespace tabcard {

// A square 32-bit icon with alpha, its side the character height of the
// caption's font, the glyph's ink fitted inside. Empty for ButtonGlyph::None
// or when the font for the glyph is missing.
OwnedIcon MakeGlyphIcon(forms::ButtonGlyph glyph, const LOGFONTW& caption);

}  // namespace tabcard
