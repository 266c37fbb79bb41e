#pragma once
// The block-by-block read that the chip read and the checksum comparison share.

#include <cstddef>
#include <cstdint>
#include <span>

#include "TransferFailure.h"
#include "WindowOperations.h"

namespace pavok {

// Reads the chip's first destination.size() bytes (a whole number of blocks)
// into `destination`, one block request each, setting the bar to i + 1 once
// block i has arrived. Stops at the first failed request, reporting it as a
// failure of `kind`, and returns how many bytes arrived: destination.size()
// when every block did.
std::size_t ReadBlocks(WindowOperations* window, std::span<std::uint8_t> destination, TransferKind kind);

}  // namespace pavok
