#include "RecordLines.h"

#include <numeric>

#include "HexCodec.h"

namespace pavok {

namespace {

std::string_view WithoutTrailingBlanks(std::string_view line) {
  const std::size_t end = line.find_last_not_of(" \t\r");
  return end == std::string_view::npos ? std::string_view() : line.substr(0, end + 1);
}

DecodeResult Refused(DecodeResult result, int line, ImageFault fault) {
  result.fault = ImageFaultAt{line, fault};
  return result;
}

}  // namespace

std::optional<ImageFault> ParseHexPairs(std::string_view digits, RecordBytes& record) {
  // Every character is looked at, also past what a record can hold, so a
  // stray character is named as such wherever it stands.
  for (std::size_t i = 0; i < digits.size(); ++i) {
    const std::uint8_t value = HexDigitValue(digits[i]);
    if (value > 0x0F) return ImageFault::BadCharacter;
    if (i / 2 >= record.storage.size()) continue;
    std::uint8_t& byte = record.storage[i / 2];
    byte = static_cast<std::uint8_t>(i % 2 == 0 ? value << 4 : byte | value);
  }
  if (digits.size() % 2 != 0) return ImageFault::OddDigitCount;
  if (digits.size() / 2 > record.storage.size()) return ImageFault::BadLength;
  record.size = digits.size() / 2;
  return std::nullopt;
}

std::uint8_t ByteSum(std::span<const std::uint8_t> bytes) {
  return static_cast<std::uint8_t>(std::accumulate(bytes.begin(), bytes.end(), 0u));
}

DecodeResult DecodeRecordLines(std::span<const std::uint8_t> file, std::size_t chipSize, const RecordReader& read) {
  DecodeResult result{DecodedImage(chipSize), std::nullopt};
  std::string_view rest(reinterpret_cast<const char*>(file.data()), file.size());
  int number = 0;
  int lastRecordLine = 0;
  int endLine = 0;
  while (!rest.empty()) {
    const std::size_t lineEnd = rest.find('\n');
    const std::string_view line = WithoutTrailingBlanks(rest.substr(0, lineEnd));
    rest = lineEnd == std::string_view::npos ? std::string_view() : rest.substr(lineEnd + 1);
    ++number;
    if (line.empty()) continue;
    if (endLine != 0) return Refused(std::move(result), number, ImageFault::AfterEnd);
    bool ended = false;
    if (const auto fault = read(line, result.image, ended)) return Refused(std::move(result), number, *fault);
    lastRecordLine = number;
    if (ended) endLine = number;
  }
  const int endRecordLine = endLine != 0 ? endLine : lastRecordLine + 1;
  if (result.image.count == 0) return Refused(std::move(result), endRecordLine, ImageFault::NoData);
  if (endLine == 0) return Refused(std::move(result), endRecordLine, ImageFault::NoEnd);
  return result;
}

void AppendRecordLine(std::vector<std::uint8_t>& text, std::string_view start, std::span<const std::uint8_t> bytes,
                      std::uint8_t checksum) {
  text.insert(text.end(), start.begin(), start.end());
  const auto appendByte = [&text](std::uint8_t value) {
    text.push_back(static_cast<std::uint8_t>(HexDigitChar(static_cast<std::uint8_t>(value >> 4))));
    text.push_back(static_cast<std::uint8_t>(HexDigitChar(value)));
  };
  for (const std::uint8_t value : bytes) appendByte(value);
  appendByte(checksum);
  text.push_back('\n');
}

}  // namespace pavok
