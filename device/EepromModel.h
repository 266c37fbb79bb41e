#pragma once
// A 24Cxx serial EEPROM as the bus sees it: 256-byte banks reached through
// the select byte, sequential reads, and page writes that wrap inside their
// page. It knows nothing about the adapter's request encoding.

#include <cstdint>
#include <span>
#include <vector>

namespace pavok {

class EepromModel {
 public:
  // A new chip of `size` bytes (256, 512, 1,024 or 2,048), every byte 0xFF.
  explicit EepromModel(int size);

  int size() const { return static_cast<int>(memory_.size()); }
  std::span<const std::uint8_t> contents() const { return memory_; }
  // Replaces the start of the contents with `data` (at most size() bytes).
  void Load(std::span<const std::uint8_t> data);

  // Whether a device-select byte addresses this chip: fixed pattern 1010 and
  // a bank inside the chip. Any other select byte gets no acknowledge.
  bool Acknowledges(std::uint8_t selectByte) const;

  // Sequential read from bank/word address; wraps at the end of the chip.
  void Read(std::uint8_t selectByte, std::uint8_t wordAddress, std::span<std::uint8_t> out) const;
  // Page write; the address counter wraps inside the page, as on the chip.
  void Write(std::uint8_t selectByte, std::uint8_t wordAddress, std::span<const std::uint8_t> data);
  // The page a write to this address lands in, all of it.
  std::span<const std::uint8_t> PageAt(std::uint8_t selectByte, std::uint8_t wordAddress) const;

 private:
  int Offset(std::uint8_t selectByte, std::uint8_t wordAddress) const;
  int PageSize() const;

  std::vector<std::uint8_t> memory_;
};

}  // namespace pavok
