#include "ChipType.h"

namespace pavok {

std::optional<ChipType> FindChipType(std::string_view label) {
  for (const ChipType& type : kChipTypes) {
    if (type.label == label) return type;
  }
  return std::nullopt;
}

}  // namespace pavok
