#pragma once
// The program's own texts (UTF-8 source, messages, paths) for Qt.

#include <QString>
#include <string_view>

namespace pavok {

QString ToQString(std::string_view utf8);

}  // namespace pavok
