#pragma once
// The selectable chip types. A list index of the chip-type list is a row
// index of this table.

#include <array>
#include <optional>
#include <string_view>

namespace pavok {

struct ChipType {
  std::string_view label;
  int size;  // bytes
};

inline constexpr std::array<ChipType, 4> kChipTypes{{
    {"C02", 256},
    {"C04", 512},
    {"C08", 1024},
    {"C16", 2048},
}};

// Row selected when the program starts ("C16").
inline constexpr int kInitialChipTypeIndex = 3;

inline constexpr int kLineSize = 16;   // one line of the hex view
inline constexpr int kBlockSize = 32;  // one block read request
inline constexpr int kGroupSize = 4;   // one group write

// The row whose label is `label` (exact, upper case), if any.
std::optional<ChipType> FindChipType(std::string_view label);

}  // namespace pavok
