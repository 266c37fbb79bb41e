#include "SRecord.h"

#include <algorithm>
#include <array>

#include "BufferState.h"
#include "ChipType.h"
#include "RecordLines.h"

namespace pavok {

namespace {

enum class SRecordKind { Header, Data, Count, End };

struct SRecordType {
  char digit;               // after the 'S'
  std::size_t addressSize;  // bytes
  SRecordKind kind;
};

// S4 is reserved and has no row.
constexpr std::array<SRecordType, 9> kSRecordTypes{{
    {'0', 2, SRecordKind::Header},
    {'1', 2, SRecordKind::Data},
    {'2', 3, SRecordKind::Data},
    {'3', 4, SRecordKind::Data},
    {'5', 2, SRecordKind::Count},
    {'6', 3, SRecordKind::Count},
    {'7', 4, SRecordKind::End},
    {'8', 3, SRecordKind::End},
    {'9', 2, SRecordKind::End},
}};

constexpr std::size_t kBytesPerRecord = 16;

std::optional<ImageFault> ReadSRecord(std::string_view line, std::uint64_t& dataRecords, DecodedImage& image,
                                      bool& ended) {
  if (line.front() != 'S') return ImageFault::MissingS;
  const auto type = std::find_if(kSRecordTypes.begin(), kSRecordTypes.end(),
                                 [&line](const SRecordType& row) { return line.size() > 1 && row.digit == line[1]; });
  if (type == kSRecordTypes.end()) return ImageFault::UnknownType;
  RecordBytes record;
  if (const auto fault = ParseHexPairs(line.substr(2), record)) return fault;
  // Count of the bytes that follow it, address, data, checksum.
  const auto bytes = record.bytes();
  if (bytes.size() < type->addressSize + 2 || bytes[0] != bytes.size() - 1) return ImageFault::BadLength;
  if (ByteSum(bytes) != 0xFF) return ImageFault::BadChecksum;
  std::uint64_t address = 0;
  for (const std::uint8_t byte : bytes.subspan(1, type->addressSize)) address = address << 8 | byte;
  const auto data = bytes.subspan(1 + type->addressSize, bytes.size() - 2 - type->addressSize);
  switch (type->kind) {
    case SRecordKind::Header:
      break;
    case SRecordKind::Data:
      ++dataRecords;
      if (!image.Put(address, data)) return ImageFault::BeyondChip;
      break;
    case SRecordKind::Count:
      if (!data.empty()) return ImageFault::BadLength;
      if (address != dataRecords) return ImageFault::CountMismatch;
      break;
    case SRecordKind::End:
      if (!data.empty()) return ImageFault::BadLength;
      ended = true;
      break;
  }
  return std::nullopt;
}

// The bytes of a record with a 16-bit address, count first.
void AppendS16Record(std::vector<std::uint8_t>& text, std::string_view start, std::size_t address,
                     std::span<const std::uint8_t> data) {
  std::array<std::uint8_t, 3 + 255> record{static_cast<std::uint8_t>(data.size() + 3),
                                           static_cast<std::uint8_t>(address >> 8),
                                           static_cast<std::uint8_t>(address)};
  std::copy(data.begin(), data.end(), record.begin() + 3);
  const auto bytes = std::span<const std::uint8_t>(record).first(3 + data.size());
  AppendRecordLine(text, start, bytes, static_cast<std::uint8_t>(0xFF - ByteSum(bytes)));
}

std::string_view ChipLabel(std::size_t size) {
  const auto type = std::find_if(kChipTypes.begin(), kChipTypes.end(),
                                 [size](const ChipType& row) { return static_cast<std::size_t>(row.size) == size; });
  return type == kChipTypes.end() ? std::string_view() : type->label;
}

}  // namespace

DecodeResult DecodeSRecord(std::span<const std::uint8_t> file, std::size_t chipSize) {
  std::uint64_t dataRecords = 0;
  return DecodeRecordLines(file, chipSize, [&dataRecords](std::string_view line, DecodedImage& image, bool& ended) {
    return ReadSRecord(line, dataRecords, image, ended);
  });
}

std::vector<std::uint8_t> EncodeSRecord(std::span<const std::uint8_t> chip) {
  // An image is at most 64 KiB, so S1's 16-bit addresses reach every byte.
  static_assert(kImageSize <= 0x10000);
  std::vector<std::uint8_t> text;
  text.reserve((chip.size() / kBytesPerRecord + 2) * (2 + 2 * (4 + kBytesPerRecord) + 1));
  const std::string_view label = ChipLabel(chip.size());
  AppendS16Record(text, "S0", 0, std::span(reinterpret_cast<const std::uint8_t*>(label.data()), label.size()));
  for (std::size_t address = 0; address < chip.size(); address += kBytesPerRecord) {
    AppendS16Record(text, "S1", address, chip.subspan(address, std::min(kBytesPerRecord, chip.size() - address)));
  }
  AppendS16Record(text, "S9", 0, {});
  return text;
}

}  // namespace pavok
