#pragma once
// Texts between the program, which keeps them in UTF-8, and the wide
// (UTF-16) Windows API. These are the only conversions, so a Cyrillic file
// name or caption reaches the system exactly as the program holds it.

#include <string>
#include <string_view>

namespace pavok {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace pavok
