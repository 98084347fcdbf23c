// Puts a finished file in the place of another in one step, so that a reader
// sees either the old file or the new one, never a half-written one.
#pragma once

#include <string>

namespace tabcard {

// Moves the file `from` over `to` (both in the same directory, ASCII names),
// replacing `to` if it exists. False when the move failed; then `from` is
// still there and `to` is unchanged.
bool ReplaceFileAtomically(const std::string& from, const std::string& to);

}  // namespace tabcard
