#pragma once
// What a user typed, narrowed to the one-byte-per-character Windows-1251
// texts the hex codec reads. Every UTF-16 unit becomes exactly one byte, so
// positions in the narrow text are the positions the user sees; a character
// the code page lacks becomes '?', which is no hex digit.

#include <QStringView>
#include <string>

namespace pavok {

std::string NarrowToWindows1251(QStringView text);

}  // namespace pavok
