#pragma once
// The CH341A's own side of its I2C stream, with no USB around it: the bytes
// of a bulk OUT transfer taken apart into packets of sub-commands and
// carried out on an I2cEeprom, and what each packet reads off the bus
// waiting as one packet for the bulk IN endpoint. The USB test bed and the
// stand-in for the maker's Windows DLL both drive it.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

#include "I2cEeprom.h"

namespace pavok::test {

class Ch341aStreamBus {
 public:
  explicit Ch341aStreamBus(I2cEeprom chip) : chip_(std::move(chip)) {}

  // Carries out the packets of one OUT transfer.
  void TakeStream(std::span<const std::uint8_t> bytes);
  // Whole answer packets, as many as fit; a packet shorter than the
  // endpoint's size ends the transfer, as on the bus.
  std::size_t GiveReplies(std::span<std::uint8_t> buffer);
  bool hasReplies() const { return !replies_.empty(); }

  I2cEeprom& chip() { return chip_; }
  const I2cEeprom& chip() const { return chip_; }
  // Packets that did not open with the stream code, sub-commands the chip
  // does not know or that ran past their packet, answers longer than a
  // packet, page writes that wrapped inside their page, and what the USB
  // side counted: none, for a transport that speaks the stream right.
  int streamErrors() const { return streamErrors_ + chip_.wrappedWrites(); }
  void CountStreamError() { ++streamErrors_; }

 private:
  void RunPacket(std::span<const std::uint8_t> packet);

  I2cEeprom chip_;
  std::deque<std::vector<std::uint8_t>> replies_;  // IN packets not yet fetched
  int streamErrors_ = 0;
};

}  // namespace pavok::test
