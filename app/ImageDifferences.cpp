#include "ImageDifferences.h"

#include <algorithm>
#include <cstdio>

#include "Translation.h"

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
    out << FormatText(Tr("The chip matches %1 (%2 bytes)."), {fileName, std::to_string(differences.compared)})
        << '\n';
    return;
  }
  out << FormatText(Tr("%1 of %2 bytes differ between the chip and %3:"),
                    {std::to_string(differences.count), std::to_string(differences.compared), fileName})
      << '\n';
  for (const ByteDifference& d : differences.first) {
    char line[40];
    std::snprintf(line, sizeof line, "0x%04zX", d.address);
    char chip[8], file[8];
    std::snprintf(chip, sizeof chip, "%02X", d.chip);
    std::snprintf(file, sizeof file, "%02X", d.file);
    out << FormatText(Tr("%1: chip %2, file %3"), {line, chip, file}) << '\n';
  }
  if (differences.count > differences.first.size()) {
    out << FormatText(Tr("... and %1 more"), {std::to_string(differences.count - differences.first.size())}) << '\n';
  }
}

}  // namespace pavok
