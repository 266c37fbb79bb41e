#pragma once
// The version record: what the file and the product call themselves.

#include <string_view>

namespace pavok {

inline constexpr std::string_view kProductName = "Pavok";
inline constexpr std::string_view kFileVersion = "1.0.0.3";
inline constexpr std::string_view kProductVersion = "1.0.0.0";
inline constexpr std::string_view kFileDescription = "Pavok I2C EEPROM programmer";
// The dialog program's id: the names of its desktop entry and AppStream
// metadata (cmake/Install.cmake installs them under it).
inline constexpr std::string_view kAppId = "org.example.pavok";
// The terms the programs come under, printed after the version.
inline constexpr std::string_view kLicence =
    "Licence: GNU GPL version 3 or later (GPL-3.0-or-later); there is NO WARRANTY.";

}  // namespace pavok
