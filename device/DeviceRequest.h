#pragma once
// The adapter protocol: the five-byte request record, the request codes and
// the chip addressing rule.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace pavok {

inline constexpr std::uint8_t REQ_READ_BLOCK = 0x24;
inline constexpr std::uint8_t REQ_WRITE_DATA = 0x27;
inline constexpr std::uint8_t REQ_LOAD_DATA = 0x28;

// The Windows driver's control code for one exchange.
inline constexpr std::uint32_t IOCTL_DEVICE_REQUEST = 0x808;
// Where the Windows driver exposes the adapter.
inline constexpr std::string_view kDevicePath = "\\\\.\\AVR309USB_0";

// The most reply bytes ever offered to the adapter.
inline constexpr int kMaxReplyLength = 255;

// Code, then param1 and param2, each little-endian; no header or checksum.
struct DeviceRequest {
  std::array<std::uint8_t, 5> bytes{};

  static constexpr DeviceRequest Make(std::uint8_t code, std::uint16_t param1, std::uint16_t param2) {
    return {{code, static_cast<std::uint8_t>(param1 & 0xFF), static_cast<std::uint8_t>(param1 >> 8),
             static_cast<std::uint8_t>(param2 & 0xFF), static_cast<std::uint8_t>(param2 >> 8)}};
  }
  static constexpr DeviceRequest FromBytes(std::span<const std::uint8_t, 5> wire) {
    return {{wire[0], wire[1], wire[2], wire[3], wire[4]}};
  }
  constexpr std::uint8_t code() const { return bytes[0]; }
  constexpr std::uint16_t param1() const { return static_cast<std::uint16_t>(bytes[1] | bytes[2] << 8); }
  constexpr std::uint16_t param2() const { return static_cast<std::uint16_t>(bytes[3] | bytes[4] << 8); }
};

// The chip's 256-byte banks, each reached through a select byte of its own.
inline constexpr int kBankSize = 256;

// The bank a device-select byte reaches: its bits 3-1.
constexpr int selectBank(std::uint8_t select) { return (select >> 1) & 0x07; }

// The I2C device-select byte for a chip offset: 0xA0 with the 256-byte bank
// number in bits 3-1 and the read/write bit clear.
constexpr std::uint16_t deviceSelect(std::uint16_t offset) {
  return static_cast<std::uint16_t>(static_cast<std::uint16_t>((offset & 0xFF7F) | 0x5000) >> 7);
}

// The byte's address inside its bank.
constexpr std::uint16_t wordAddress(std::uint16_t offset) { return offset % 256; }

}  // namespace pavok
