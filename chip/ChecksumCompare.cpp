#include "ChecksumCompare.h"

#include <array>
#include <numeric>
#include <span>
#include <vector>

#include "BlockRead.h"
#include "BufferState.h"
#include "DeviceChannel.h"
#include "HexCodec.h"
#include "SystemTexts.h"
#include "Translation.h"
#include "WindowOperations.h"

namespace pavok {

namespace {

void CountDifferences(std::span<const std::uint8_t> chip, std::span<const std::uint8_t> buffer,
                      ChecksumComparison& comparison) {
  for (std::size_t i = chip.size(); i-- > 0;) {
    if (chip[i] == buffer[i]) continue;
    ++comparison.differing;
    comparison.firstDifference = static_cast<std::uint16_t>(i);
  }
}

}  // namespace

std::string ComparisonMessage(const ChecksumComparison& comparison) {
  const std::string verdict = comparison.Equal() ? std::string("\n\nOK !") : Tr("\n\nПрошивки не одинаковые !");
  std::string message = FormatText(Tr("КС микросхемы: %1 \nКС буфера: %2 "),
                                   {FormatChecksum(comparison.chipSum), FormatChecksum(comparison.bufferSum)}) +
                        verdict;
  if (comparison.differing == 0) return message;
  return message + Tr(kBytesDifferText) + std::to_string(comparison.differing) + Tr(kFirstDifferenceText) +
         FormatAddress(comparison.firstDifference);
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
  if (ReadBlocks(window, chip, TransferKind::Compare) < chip.size()) {
    // The bar stays where the last block put it, showing how far it got.
    SetStatusText(window, kPortClosedText);
    return std::nullopt;
  }
  SetProgressPos(window, 0);
  comparison.chipSum = std::accumulate(chip.begin(), chip.end(), std::uint32_t{0});
  CountDifferences(chip, std::span<const std::uint8_t>(buffer.workImage).first(chip.size()), comparison);
  ShowMessage(window, ComparisonMessage(comparison));
  SetStatusText(window, kPortClosedText);
  return comparison;
}

void CompareChecksums() { RunCompareChecksums(); }

}  // namespace pavok
