#pragma once
// Intel HEX images: data (00), end of file (01), extended segment (02) and
// extended linear (04) address records; the start addresses (03, 05) are
// read and ignored. Pure functions: text in, bytes or a fault out.

#include <cstdint>
#include <span>
#include <vector>

#include "DecodedImage.h"

namespace pavok {

DecodeResult DecodeIntelHex(std::span<const std::uint8_t> file, std::size_t chipSize);

// 16 data bytes a record from address 0, upper-case hex, lines ending in LF,
// then the end record.
std::vector<std::uint8_t> EncodeIntelHex(std::span<const std::uint8_t> chip);

}  // namespace pavok
