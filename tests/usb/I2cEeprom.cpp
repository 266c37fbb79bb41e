#include "I2cEeprom.h"

#include "ChipType.h"
#include "DeviceRequest.h"

namespace pavok::test {

I2cEeprom::I2cEeprom(EepromModel chip, std::optional<int> endlessWriteCycleAt)
    : chip_(std::move(chip)), endlessWriteCycleAt_(endlessWriteCycleAt) {}

// A start before the stop of a write abandons the bytes received.
void I2cEeprom::Start() {
  now_ += bitTime_;
  received_.clear();
  phase_ = Phase::DeviceAddress;
}

void I2cEeprom::Stop() {
  now_ += bitTime_;
  if (phase_ == Phase::Receiving && !received_.empty()) {
    chip_.Write(select_, word_, received_);
    const auto page = static_cast<std::size_t>(PageSizeOf(chip_.size()));
    if (word_ % page + received_.size() > page) ++wrappedWrites_;
    endless_ = endlessWriteCycleAt_ == writes_++;
    busyUntil_ = now_ + kWriteCycle;
  }
  received_.clear();
  phase_ = Phase::Idle;
}

bool I2cEeprom::Write(std::uint8_t byte) {
  now_ += 9 * bitTime_;
  switch (phase_) {
    case Phase::DeviceAddress:
      return Address(byte);
    case Phase::WordAddress:
      word_ = byte;
      counter_ = (selectBank(select_) * kBankSize + word_) % chip_.size();
      phase_ = Phase::Receiving;
      return true;
    case Phase::Receiving:
      received_.push_back(byte);
      return true;
    case Phase::Idle:
    case Phase::Sending:
      break;
  }
  return false;
}

// The chip answers to 1010, bank bits inside it, while no write cycle runs;
// the read bit turns it to sending from its address counter.
bool I2cEeprom::Address(std::uint8_t byte) {
  const auto select = static_cast<std::uint8_t>(byte & 0xFE);
  if (gone_ || Busy() || !chip_.Acknowledges(select)) {
    phase_ = Phase::Idle;
    return false;
  }
  select_ = select;
  phase_ = (byte & 1) != 0 ? Phase::Sending : Phase::WordAddress;
  return true;
}

std::uint8_t I2cEeprom::Read(bool more) {
  now_ += 9 * bitTime_;
  if (phase_ != Phase::Sending) return 0xFF;
  std::uint8_t byte = 0;
  const auto offset = static_cast<std::uint16_t>(counter_);
  chip_.Read(static_cast<std::uint8_t>(deviceSelect(offset)), static_cast<std::uint8_t>(wordAddress(offset)),
             std::span(&byte, 1));
  counter_ = (counter_ + 1) % chip_.size();
  if (!more) phase_ = Phase::Idle;
  return byte;
}

}  // namespace pavok::test
