#include "ImageDifferences.h"

#include <algorithm>
#include <cstdio>

namespace pavok {

ImageDifferences FindDifferences(std::span<const std::uint8_t> chip, std::span<const std::uint8_t> file) {
  ImageDifferences result;
  result.compared = std::min(chip.size(), file.size());
  for (std::size_t address = 0; address < result.compared; ++address) {
    if (chip[address] == file[address]) continue;
    ++result.count;
    if (result.first.size() < kShownDifferences) result.first.push_back({address, chip[address], file[address]});
  }
  return result;
}

void PrintDifferences(std::ostream& out, const ImageDifferences& differences, const std::string& fileName) {
  if (differences.count == 0) {
    out << "The chip matches " << fileName << " (" << differences.compared << " bytes).\n";
    return;
  }
  out << differences.count << " of " << differences.compared << " bytes differ between the chip and " << fileName
      << ":\n";
  for (const ByteDifference& d : differences.first) {
    char line[40];
    std::snprintf(line, sizeof line, "0x%04zX: chip %02X, file %02X\n", d.address, d.chip, d.file);
    out << line;
  }
  if (differences.count > differences.first.size()) {
    out << "... and " << differences.count - differences.first.size() << " more\n";
  }
}

}  // namespace pavok
