#pragma once
// A byte-by-byte comparison of the chip with an image file, for the
// command-line verify.

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace pavok {

struct ByteDifference {
  std::size_t address = 0;
  std::uint8_t chip = 0;
  std::uint8_t file = 0;
};

struct ImageDifferences {
  std::size_t compared = 0;             // bytes compared
  std::size_t count = 0;                // bytes that differ
  std::vector<ByteDifference> first;    // the lowest addresses that differ, at most kShownDifferences
};

inline constexpr std::size_t kShownDifferences = 16;

// `chip` and `file` have the same length.
ImageDifferences FindDifferences(std::span<const std::uint8_t> chip, std::span<const std::uint8_t> file);

// "The chip matches FILE (2048 bytes)." or the count and one line per shown
// difference: "0x01A0: chip 41, file 42".
void PrintDifferences(std::ostream& out, const ImageDifferences& differences, const std::string& fileName);

}  // namespace pavok
