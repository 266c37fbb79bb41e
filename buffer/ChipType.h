#pragma once
// The selectable chip types. A list index of the chip-type list is a row
// index of this table.

#include <array>
#include <optional>
#include <string_view>

namespace pavok {

struct ChipType {
  std::string_view label;
  int size;      // bytes
  int pageSize;  // the most bytes one write of the chip takes, from its data sheet
};

inline constexpr std::array<ChipType, 4> kChipTypes{{
    {"C02", 256, 8},
    {"C04", 512, 16},
    {"C08", 1024, 16},
    {"C16", 2048, 16},
}};

// Row selected when the program starts ("C16").
inline constexpr int kInitialChipTypeIndex = 3;

inline constexpr int kLineSize = 16;   // one line of the hex view
inline constexpr int kBlockSize = 32;  // one block read request
inline constexpr int kGroupSize = 4;   // one group write

// The row whose label is `label` (exact, upper case), if any.
std::optional<ChipType> FindChipType(std::string_view label);
// The page size of the type holding `size` bytes; a group for a size no
// type has.
int PageSizeOf(int size);

}  // namespace pavok
