#include "BlockRead.h"

#include "DeviceChannel.h"

namespace pavok {

bool RequestBlock(std::uint16_t offset) {
  return SendDeviceRequest(REQ_READ_BLOCK, wordAddress(offset), deviceSelect(offset), replyBuffer, replyLength);
}

std::span<const std::uint8_t, kBlockSize> BlockReply() {
  return std::span<const std::uint8_t>(replyBuffer).first<kBlockSize>();
}

}  // namespace pavok
