#pragma once
// Motorola S-record images: an S0 header, S1/S2/S3 data with 16-, 24- and
// 32-bit addresses, S5/S6 counts of the data records, S7/S8/S9 ends. Pure
// functions: text in, bytes or a fault out.

#include <cstdint>
#include <span>
#include <vector>

#include "DecodedImage.h"

namespace pavok {

DecodeResult DecodeSRecord(std::span<const std::uint8_t> file, std::size_t chipSize);

// An S0 header naming the chip type, S1 records of 16 data bytes from
// address 0, an S9 end; upper-case hex, lines ending in LF.
std::vector<std::uint8_t> EncodeSRecord(std::span<const std::uint8_t> chip);

}  // namespace pavok
