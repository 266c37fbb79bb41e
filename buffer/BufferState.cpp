#include "BufferState.h"

#include <algorithm>
#include <charconv>
#include <numeric>

namespace pavok {

BufferState& Buffer() {
  static BufferState state;
  return state;
}

void ResetBuffer(BufferState& state) {
  state.workImage.fill(0xFF);
  state.referenceImage.fill(0xFF);
  state.changeMap.fill(0);
}

std::uint32_t BufferChecksum(const BufferState& state) {
  const auto begin = state.workImage.begin();
  return std::accumulate(begin, begin + state.chipSize, std::uint32_t{0});
}

std::string FormatChecksum(std::uint32_t sum) {
  std::array<char, 8> digits{};
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), sum, 16).ptr;
  return std::string(digits.data(), end);
}

void ComputeChangeMap(BufferState& state) {
  state.changeMap.fill(0);
  const int groups = state.chipSize / kGroupSize;
  for (int g = 0; g < groups; ++g) {
    const auto work = state.workImage.begin() + g * kGroupSize;
    const auto reference = state.referenceImage.begin() + g * kGroupSize;
    state.changeMap[static_cast<std::size_t>(g)] = std::equal(work, work + kGroupSize, reference) ? 0 : 1;
  }
}

}  // namespace pavok
