#pragma once
// The version record: what the file and the product call themselves.

#include <string_view>

namespace pavok {

inline constexpr std::string_view kProductName = "Pavok";
inline constexpr std::string_view kFileVersion = "1.0.0.3";
inline constexpr std::string_view kProductVersion = "1.0.0.0";
inline constexpr std::string_view kFileDescription = "Pavok I2C EEPROM programmer";

}  // namespace pavok
