#pragma once
// Texts between Qt and the program. What a user typed is narrowed to the
// one-byte-per-character Windows-1251 texts the hex codec reads: every UTF-16
// unit becomes exactly one byte, so positions in the narrow text are the
// positions the user sees, and a character the code page lacks becomes '?',
// which is no hex digit.

#include <QString>
#include <QStringView>
#include <string>
#include <string_view>

namespace pavok {

std::string NarrowToWindows1251(QStringView text);

// The program's own texts (UTF-8 source, messages, paths) for Qt.
QString ToQString(std::string_view utf8);

}  // namespace pavok
