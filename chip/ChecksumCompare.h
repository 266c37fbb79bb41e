#pragma once
// Comparing the chip's byte sum with the buffer's.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace pavok {

// Equal sums do not make equal contents (two bytes swapped keep the sum), so
// the bytes themselves are compared as well.
struct ChecksumComparison {
  std::uint32_t chipSum = 0;
  std::uint32_t bufferSum = 0;
  std::size_t differing = 0;          // bytes that differ
  std::uint16_t firstDifference = 0;  // the address of the first of them
  bool Equal() const { return chipSum == bufferSum && differing == 0; }
};

// The message shown after a complete comparison: both sums and the verdict,
// and where bytes differ, how many and the first address.
std::string ComparisonMessage(const ChecksumComparison& comparison);

// Nothing when a request failed.
std::optional<ChecksumComparison> RunCompareChecksums();

// The dialog's command.
void CompareChecksums();

}  // namespace pavok
