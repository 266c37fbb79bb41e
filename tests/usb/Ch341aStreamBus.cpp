#include "Ch341aStreamBus.h"

#include <algorithm>
#include <chrono>

#include "Ch341aStream.h"

namespace pavok::test {

// The device sees the transfer as packets of the endpoint's size.
void Ch341aStreamBus::TakeStream(std::span<const std::uint8_t> bytes) {
  for (std::size_t start = 0; start < bytes.size(); start += kCh341aPacketSize) {
    RunPacket(bytes.subspan(start, std::min(kCh341aPacketSize, bytes.size() - start)));
  }
}

void Ch341aStreamBus::RunPacket(std::span<const std::uint8_t> packet) {
  if (packet.empty() || packet[0] != kCh341aStream) {
    ++streamErrors_;
    return;
  }
  std::vector<std::uint8_t> reply;
  for (std::size_t i = 1; i < packet.size();) {
    const std::uint8_t command = packet[i++];
    const std::uint8_t low = command & kStreamDelayMask;
    const std::size_t length = command & kStreamOutInLengthMask;
    if (command == kStreamEnd) break;
    if (command == kStreamStart) {
      chip_.Start();
    } else if (command == kStreamStop) {
      chip_.Stop();
    } else if ((command & 0xF0) == kStreamSpeed) {
      chip_.SetClockKhz(kCh341aI2cSpeedsKhz[low & 3]);
    } else if ((command & 0xF0) == kStreamDelayUs) {
      chip_.Wait(std::chrono::microseconds(low));
    } else if ((command & 0xF0) == kStreamDelayMs) {
      chip_.Wait(std::chrono::milliseconds(low));
    } else if ((command & 0xC0) == kStreamOut) {
      const std::size_t count = length == 0 ? 1 : length;
      if (i + count > packet.size()) {
        ++streamErrors_;
        break;
      }
      for (std::size_t k = 0; k < count; ++k) {
        const bool acknowledged = chip_.Write(packet[i++]);
        if (length == 0) reply.push_back(acknowledged ? 0x00 : kStreamNotAcknowledged);
      }
    } else if ((command & 0xC0) == kStreamIn) {
      if (length == 0) reply.push_back(chip_.Read(false));
      for (std::size_t k = 0; k < length; ++k) reply.push_back(chip_.Read(true));
    } else {
      ++streamErrors_;
      break;
    }
  }
  if (reply.size() > kCh341aPacketSize) ++streamErrors_;
  if (!reply.empty()) replies_.push_back(std::move(reply));
}

std::size_t Ch341aStreamBus::GiveReplies(std::span<std::uint8_t> buffer) {
  std::size_t given = 0;
  while (!replies_.empty() && given + replies_.front().size() <= buffer.size()) {
    const std::vector<std::uint8_t> packet = std::move(replies_.front());
    replies_.pop_front();
    std::copy(packet.begin(), packet.end(), buffer.begin() + static_cast<std::ptrdiff_t>(given));
    given += packet.size();
    if (packet.size() < kCh341aPacketSize) break;
  }
  return given;
}

}  // namespace pavok::test
