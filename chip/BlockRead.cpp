#include "BlockRead.h"

#include <algorithm>

#include "AdapterReservation.h"
#include "ChipType.h"
#include "DeviceChannel.h"

namespace pavok {

std::size_t ReadBlocks(WindowOperations* window, std::span<std::uint8_t> destination, TransferKind kind) {
  const AdapterReservation reservation;
  const std::size_t blocks = destination.size() / kBlockSize;
  for (std::size_t i = 0; i < blocks; ++i) {
    const auto offset = static_cast<std::uint16_t>(i * kBlockSize);
    if (!SendDeviceRequest(REQ_READ_BLOCK, wordAddress(offset), deviceSelect(offset), replyBuffer, kBlockSize)) {
      ReportTransferFailure(window, kind, offset);
      return i * kBlockSize;
    }
    std::copy_n(replyBuffer.begin(), kBlockSize, destination.begin() + offset);
    SetProgressPos(window, static_cast<int>(i + 1));
  }
  return blocks * kBlockSize;
}

}  // namespace pavok
