#pragma once
// The shape both text image formats share: one record a line, a start
// character, then pairs of hex digits, the last pair a checksum.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "DecodedImage.h"

namespace pavok {

// The longest record either format has: an Intel HEX record of 255 data
// bytes with its length, address, type and checksum.
inline constexpr std::size_t kMaxRecordBytes = 260;

// The bytes of one record's digit pairs.
struct RecordBytes {
  std::array<std::uint8_t, kMaxRecordBytes> storage{};
  std::size_t size = 0;

  std::span<const std::uint8_t> bytes() const { return std::span<const std::uint8_t>(storage).first(size); }
};

// Reads `digits` as pairs of hex digits, upper or lower case. A line too
// long for any record is a bad length.
std::optional<ImageFault> ParseHexPairs(std::string_view digits, RecordBytes& record);

// The low byte of the plain sum of `bytes`.
std::uint8_t ByteSum(std::span<const std::uint8_t> bytes);

// Reads one record line (never blank; line ends and trailing blanks taken
// off) into `image`, and sets `ended` when it is the end record.
using RecordReader = std::function<std::optional<ImageFault>(std::string_view line, DecodedImage& image, bool& ended)>;

// Reads every line of `file` with `read`. A line ends at LF, with or
// without CR before it; blank lines are passed over. A record after the end
// record, a file without data and one without an end record (most often a
// copy cut short) are refused: the line named is where the end record is,
// or would be.
DecodeResult DecodeRecordLines(std::span<const std::uint8_t> file, std::size_t chipSize, const RecordReader& read);

// Appends `start`, `bytes` and `checksum` as upper-case digit pairs, and LF.
void AppendRecordLine(std::vector<std::uint8_t>& text, std::string_view start, std::span<const std::uint8_t> bytes,
                      std::uint8_t checksum);

}  // namespace pavok
