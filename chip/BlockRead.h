#pragma once
// One 32-byte block read, as the chip read and the checksum comparison send it.

#include <cstdint>
#include <span>

#include "ChipType.h"

namespace pavok {

// Asks the adapter for the block at `offset`. On success the block's bytes
// are the first kBlockSize bytes of replyBuffer, which BlockReply() returns.
bool RequestBlock(std::uint16_t offset);
std::span<const std::uint8_t, kBlockSize> BlockReply();

}  // namespace pavok
