#pragma once
// What a user typed, narrowed to the one-byte-per-character Windows-1251
// texts the hex codec reads. Every UTF-16 unit the user sees becomes exactly
// one byte, so positions in the narrow text are the positions the controls
// show: a character beyond the 16-bit range (two units) becomes "??", and a
// character the code page lacks becomes '?', which is no hex digit.

#include <string>
#include <string_view>

namespace pavok {

std::string NarrowToWindows1251(std::string_view utf8);

}  // namespace pavok
