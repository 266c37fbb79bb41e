#pragma once
// Comparing the chip's byte sum with the buffer's.

#include <cstdint>
#include <optional>
#include <string>

namespace pavok {

struct ChecksumComparison {
  std::uint32_t chipSum = 0;
  std::uint32_t bufferSum = 0;
  bool Equal() const { return chipSum == bufferSum; }
};

// The message shown after a complete comparison.
std::string ComparisonMessage(const ChecksumComparison& comparison);

// Nothing when a request failed.
std::optional<ChecksumComparison> RunCompareChecksums();

// The dialog's command.
void CompareChecksums();

}  // namespace pavok
