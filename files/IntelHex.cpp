#include "IntelHex.h"

#include <algorithm>
#include <array>

#include "BufferState.h"
#include "RecordLines.h"

namespace pavok {

namespace {

enum class IntelRecord : std::uint8_t {
  Data = 0,
  EndOfFile = 1,
  SegmentAddress = 2,
  StartSegmentAddress = 3,
  LinearAddress = 4,
  StartLinearAddress = 5,
};

// The number of data bytes each record type carries, by type; -1: any.
constexpr std::array<int, 6> kDataLength{-1, 0, 2, 4, 2, 4};

constexpr std::size_t kBytesPerRecord = 16;
constexpr std::uint32_t kSegmentSize = 0x10000;

// Where data records land, as the last address record set it.
struct IntelAddressing {
  std::uint64_t base = 0;
  bool segmented = false;  // offsets wrap round within the segment
};

bool PutData(DecodedImage& image, const IntelAddressing& at, std::uint32_t offset, std::span<const std::uint8_t> data) {
  if (!at.segmented || offset + data.size() <= kSegmentSize) return image.Put(at.base + offset, data);
  const std::size_t beforeWrap = kSegmentSize - offset;
  return image.Put(at.base + offset, data.first(beforeWrap)) && image.Put(at.base, data.subspan(beforeWrap));
}

std::optional<ImageFault> ReadIntelRecord(std::string_view line, IntelAddressing& at, DecodedImage& image,
                                          bool& ended) {
  if (line.front() != ':') return ImageFault::MissingColon;
  RecordBytes record;
  if (const auto fault = ParseHexPairs(line.substr(1), record)) return fault;
  // Length, two address bytes, type, the data, checksum.
  const auto bytes = record.bytes();
  if (bytes.size() < 5 || bytes.size() != bytes[0] + 5u) return ImageFault::BadLength;
  if (ByteSum(bytes) != 0) return ImageFault::BadChecksum;
  const std::uint8_t type = bytes[3];
  if (type >= kDataLength.size()) return ImageFault::UnknownType;
  const auto data = bytes.subspan(4, bytes[0]);
  if (kDataLength[type] >= 0 && data.size() != static_cast<std::size_t>(kDataLength[type])) {
    return ImageFault::BadLength;
  }
  const std::uint64_t value = data.size() >= 2 ? (data[0] << 8 | data[1]) : 0;
  switch (static_cast<IntelRecord>(type)) {
    case IntelRecord::Data: {
      const auto offset = static_cast<std::uint32_t>(bytes[1] << 8 | bytes[2]);
      if (!PutData(image, at, offset, data)) return ImageFault::BeyondChip;
      break;
    }
    case IntelRecord::EndOfFile:
      ended = true;
      break;
    case IntelRecord::SegmentAddress:
      at = {value << 4, true};
      break;
    case IntelRecord::LinearAddress:
      at = {value << 16, false};
      break;
    case IntelRecord::StartSegmentAddress:
    case IntelRecord::StartLinearAddress:
      break;
  }
  return std::nullopt;
}

}  // namespace

DecodeResult DecodeIntelHex(std::span<const std::uint8_t> file, std::size_t chipSize) {
  IntelAddressing at;
  return DecodeRecordLines(file, chipSize, [&at](std::string_view line, DecodedImage& image, bool& ended) {
    return ReadIntelRecord(line, at, image, ended);
  });
}

std::vector<std::uint8_t> EncodeIntelHex(std::span<const std::uint8_t> chip) {
  // An image is at most 64 KiB, so the 16-bit offsets reach every byte and
  // no address record is needed.
  static_assert(kImageSize <= kSegmentSize);
  std::vector<std::uint8_t> text;
  text.reserve((chip.size() / kBytesPerRecord + 1) * (1 + 2 * (5 + kBytesPerRecord) + 1));
  for (std::size_t address = 0; address < chip.size(); address += kBytesPerRecord) {
    const auto data = chip.subspan(address, std::min(kBytesPerRecord, chip.size() - address));
    std::array<std::uint8_t, 4 + kBytesPerRecord> record{static_cast<std::uint8_t>(data.size()),
                                                         static_cast<std::uint8_t>(address >> 8),
                                                         static_cast<std::uint8_t>(address), 0};
    std::copy(data.begin(), data.end(), record.begin() + 4);
    const auto bytes = std::span<const std::uint8_t>(record).first(4 + data.size());
    AppendRecordLine(text, ":", bytes, static_cast<std::uint8_t>(0x100 - ByteSum(bytes)));
  }
  constexpr std::array<std::uint8_t, 4> kEndOfFile{0, 0, 0, 1};
  AppendRecordLine(text, ":", kEndOfFile, 0xFF);
  return text;
}

}  // namespace pavok
