#pragma once
// A 24C02-24C16 serial EEPROM as an I2C slave: the chip model behind the bus
// conditions and bytes a master drives. The device address is acknowledged
// only for the chip's banks; a page write takes effect at the stop and starts
// the chip's write cycle, during which it acknowledges nothing. Time passes
// on the bus alone: a bit time per condition, nine per byte at the clock
// rate, and whatever the master waits.

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "EepromModel.h"

namespace pavok::test {

class I2cEeprom {
 public:
  // A write cycle lasts as long as the datasheets allow at most.
  static constexpr std::chrono::microseconds kWriteCycle{5000};

  // `endlessWriteCycleAt`: the chip's write of that number (from 0) starts a
  // write cycle that never ends.
  I2cEeprom(EepromModel chip, std::optional<int> endlessWriteCycleAt);

  void SetClockKhz(unsigned khz) { bitTime_ = std::chrono::nanoseconds(1'000'000 / khz); }
  unsigned clockKhz() const { return static_cast<unsigned>(1'000'000 / bitTime_.count()); }

  // A start, or a repeated start, condition.
  void Start();
  void Stop();
  // A byte from the master; true when the chip acknowledged it.
  bool Write(std::uint8_t byte);
  // A byte to the master, which acknowledges it (`more`) or ends the read.
  // Where the chip does not drive the bus, the pull-up reads 0xFF.
  std::uint8_t Read(bool more);
  void Wait(std::chrono::nanoseconds time) { now_ += time; }

  // The time the bus has been busy, or waited, since the chip was plugged in.
  std::chrono::nanoseconds elapsed() const { return now_; }
  const EepromModel& chip() const { return chip_; }
  // The page writes the chip took.
  int writes() const { return writes_; }
  // Those that ran past the end of their page, so that, as on a real chip,
  // their last bytes wrapped to the page's start.
  int wrappedWrites() const { return wrappedWrites_; }

 private:
  enum class Phase { Idle, DeviceAddress, WordAddress, Receiving, Sending };

  bool Busy() const { return endless_ || now_ < busyUntil_; }
  bool Address(std::uint8_t byte);

  EepromModel chip_;
  std::optional<int> endlessWriteCycleAt_;
  std::chrono::nanoseconds bitTime_{10'000};  // 100 kHz
  std::chrono::nanoseconds now_{0};
  std::chrono::nanoseconds busyUntil_{0};
  bool endless_ = false;
  Phase phase_ = Phase::Idle;
  std::uint8_t select_ = 0;
  std::uint8_t word_ = 0;
  int counter_ = 0;  // the chip's address counter
  std::vector<std::uint8_t> received_;
  int writes_ = 0;
  int wrappedWrites_ = 0;
};

}  // namespace pavok::test
