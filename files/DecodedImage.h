#pragma once
// What decoding an image file gives: the bytes it holds, each at its chip
// address, in a scratch image apart from the buffer, or the first fault
// found with its line. A file is taken whole or not at all.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pavok {

// What is wrong with an image file's contents.
enum class ImageFault {
  MissingColon,   // an Intel HEX line that does not start with ':'
  MissingS,       // an S-record line that does not start with 'S'
  BadCharacter,   // a character that is no hex digit
  OddDigitCount,  // hex digits that do not pair up into bytes
  BadLength,      // the record's length byte disagrees with the record
  BadChecksum,
  UnknownType,
  BeyondChip,     // a byte at or past the selected chip's size
  AfterEnd,       // a record after the end record
  NoEnd,          // the file ends without an end record
  NoData,         // not one data byte
  CountMismatch,  // an S5/S6 count that is not the number of data records
  // Each has its text in kImageFaultTexts, in this order.
};

struct ImageFaultAt {
  int line;  // from 1; blank lines count
  ImageFault fault;
  bool operator==(const ImageFaultAt&) const = default;
};

// The scratch image: chipSize bytes, and which of them the file gave.
struct DecodedImage {
  explicit DecodedImage(std::size_t chipSize) : bytes(chipSize, 0xFF), given(chipSize, false) {}

  std::vector<std::uint8_t> bytes;
  std::vector<bool> given;
  std::size_t count = 0;  // addresses given, each once

  // Puts `data` at `address` and on; false, putting nothing, when any of it
  // lies at or past the chip's size. A byte given twice keeps the later one.
  bool Put(std::uint64_t address, std::span<const std::uint8_t> data);
};

struct DecodeResult {
  DecodedImage image;
  std::optional<ImageFaultAt> fault;  // set: the file is refused and `image` means nothing
};

// A decoder turns a file's bytes into the chip bytes it gives; an encoder
// turns chipSize bytes from address 0 into a file's contents.
using DecodeImageFunction = DecodeResult (*)(std::span<const std::uint8_t> file, std::size_t chipSize);
using EncodeImageFunction = std::vector<std::uint8_t> (*)(std::span<const std::uint8_t> chip);

}  // namespace pavok
