#include "ChecksumCompare.h"

#include <array>
#include <numeric>
#include <vector>

#include "BlockRead.h"
#include "BufferState.h"
#include "DeviceChannel.h"
#include "SystemTexts.h"
#include "WindowOperations.h"

namespace pavok {

namespace {

}  // namespace

std::string ComparisonMessage(const ChecksumComparison& comparison) {
  const std::string_view verdict = comparison.Equal() ? "\n\nOK !" : "\n\nПрошивки не одинаковые !";
  return "КС микросхемы: " + FormatChecksum(comparison.chipSum) + " \nКС буфера: " + FormatChecksum(comparison.bufferSum) + " " +
         std::string(verdict);
}

std::optional<ChecksumComparison> RunCompareChecksums() {
  WindowOperations* window = GetActiveWindow();
  const BufferState& buffer = Buffer();
  ChecksumComparison comparison;
  comparison.bufferSum = BufferChecksum(buffer);
  SetProgressRange(window, 0, buffer.chipSize / kBlockSize);
  SetStatusText(window, kPortOpenText);

  // A scratch copy of its own: the comparison changes nothing in the buffer.
  std::vector<std::uint8_t> chip(static_cast<std::size_t>(buffer.chipSize));
  if (ReadBlocks(window, chip) < chip.size()) {
    // The bar stays where the last block put it, showing how far it got.
    SetStatusText(window, kPortClosedText);
    return std::nullopt;
  }
  SetProgressPos(window, 0);
  comparison.chipSum = std::accumulate(chip.begin(), chip.end(), std::uint32_t{0});
  ShowMessage(window, ComparisonMessage(comparison));
  SetStatusText(window, kPortClosedText);
  return comparison;
}

void CompareChecksums() { RunCompareChecksums(); }

}  // namespace pavok
