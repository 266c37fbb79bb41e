#include "ChipType.h"

namespace pavok {

std::optional<ChipType> FindChipType(std::string_view label) {
  for (const ChipType& type : kChipTypes) {
    if (type.label == label) return type;
  }
  return std::nullopt;
}

int PageSizeOf(int size) {
  for (const ChipType& type : kChipTypes) {
    if (type.size == size) return type.pageSize;
  }
  return kGroupSize;
}

}  // namespace pavok
