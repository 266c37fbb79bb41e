#include "EepromModel.h"

#include <algorithm>

#include "ChipType.h"
#include "DeviceRequest.h"

namespace pavok {

namespace {
constexpr std::uint8_t kSelectPattern = 0xA0;
}  // namespace

EepromModel::EepromModel(int size) : memory_(static_cast<std::size_t>(size), 0xFF) {}

void EepromModel::Load(std::span<const std::uint8_t> data) {
  const auto count = std::min(data.size(), memory_.size());
  std::copy_n(data.begin(), count, memory_.begin());
}

bool EepromModel::Acknowledges(std::uint8_t selectByte) const {
  if ((selectByte & 0xF0) != kSelectPattern) return false;
  return selectBank(selectByte) * kBankSize < size();
}

// A bank beyond the chip folds back into it, so a caller that skipped
// Acknowledges still stays inside the memory.
int EepromModel::Offset(std::uint8_t selectByte, std::uint8_t wordAddress) const {
  return (selectBank(selectByte) * kBankSize + wordAddress) % size();
}

int EepromModel::PageSize() const { return PageSizeOf(size()); }

void EepromModel::Read(std::uint8_t selectByte, std::uint8_t wordAddress, std::span<std::uint8_t> out) const {
  int offset = Offset(selectByte, wordAddress);
  for (std::uint8_t& byte : out) {
    byte = memory_[static_cast<std::size_t>(offset)];
    offset = (offset + 1) % size();
  }
}

std::span<const std::uint8_t> EepromModel::PageAt(std::uint8_t selectByte, std::uint8_t wordAddress) const {
  const int start = Offset(selectByte, wordAddress);
  return contents().subspan(static_cast<std::size_t>(start - start % PageSize()), static_cast<std::size_t>(PageSize()));
}

void EepromModel::Write(std::uint8_t selectByte, std::uint8_t wordAddress, std::span<const std::uint8_t> data) {
  const int start = Offset(selectByte, wordAddress);
  const int pageStart = start - start % PageSize();
  int inPage = start - pageStart;
  for (const std::uint8_t byte : data) {
    memory_[static_cast<std::size_t>(pageStart + inPage)] = byte;
    inPage = (inPage + 1) % PageSize();
  }
}

}  // namespace pavok
