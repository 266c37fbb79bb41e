#include "HexCodec.h"

#include "Translation.h"

namespace pavok {

namespace {
constexpr std::string_view kDigits = "0123456789ABCDEF";
}

std::uint8_t HexDigitValue(char c) {
  const auto value = static_cast<signed char>(c);
  if (value >= '0' && value <= '9') return static_cast<std::uint8_t>(value - '0');
  if (value >= 'A' && value <= 'F') return static_cast<std::uint8_t>(value - 'A' + 10);
  if (value >= 'a' && value <= 'f') return static_cast<std::uint8_t>(value - 'a' + 10);
  return 0xFF;
}

char HexDigitChar(std::uint8_t value) { return kDigits[value & 0x0F]; }

std::string FormatAddress(std::uint16_t address) {
  const auto hi = static_cast<std::uint8_t>(address / 256);
  const auto lo = static_cast<std::uint8_t>(address % 256);
  return {HexDigitChar(hi / 16), HexDigitChar(hi % 16), HexDigitChar(lo / 16), HexDigitChar(lo % 16)};
}

std::string FormatHexLine(std::uint16_t offset, std::span<const std::uint8_t, 16> bytes) {
  std::string line = FormatAddress(offset);
  line += ": ";
  for (std::size_t k = 0; k < bytes.size(); ++k) {
    line += HexDigitChar(static_cast<std::uint8_t>(bytes[k] >> 4));
    line += HexDigitChar(static_cast<std::uint8_t>(bytes[k] % 16));
    if (k + 1 < bytes.size()) line += ' ';
  }
  return line;
}

EditLineResult ParseEditLine(std::string_view text) {
  if (text.size() != kEditLineLength) return WrongLength{};
  LineBytes bytes{};
  for (std::size_t k = 0; k < bytes.size(); ++k) {
    const std::size_t first = 3 * k;
    const std::uint8_t high = HexDigitValue(text[first]);
    if (high == 0xFF) return BadCharacter{static_cast<int>(first)};
    const std::uint8_t low = HexDigitValue(text[first + 1]);
    if (low == 0xFF) return BadCharacter{static_cast<int>(first + 1)};
    bytes[k] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return bytes;
}

AddressResult ParseAddress(std::string_view text) {
  if (text.size() != kAddressTextLength) return WrongLength{};
  unsigned address = 0;
  for (std::size_t i = 0; i < kAddressTextLength; ++i) {
    const std::uint8_t digit = HexDigitValue(text[i]);
    if (digit == 0xFF) return BadCharacter{static_cast<int>(i)};
    address = address * 16 + digit;
  }
  return static_cast<std::uint16_t>(address);
}

std::string BadCharacterMessage(int position) {
  return FormatText(Tr("Неверная строка. Символ %1 ошибочный !"), {std::to_string(position)});
}

}  // namespace pavok
