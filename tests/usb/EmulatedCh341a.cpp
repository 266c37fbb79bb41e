#include "EmulatedCh341a.h"

#include <sys/ioctl.h>
// After sys/ioctl.h, which defines the macros the header's request codes use.
#include <linux/usbdevice_fs.h>

#include <algorithm>
#include <cerrno>

#include "Ch341aStream.h"
#include "Ch341aTransport.h"

namespace pavok::test {

namespace {

OpenFailure AvailabilityAtStart(const FaultPlan& faults) {
  if (faults.absent) return OpenFailure::NotFound;
  return faults.accessDenied ? OpenFailure::AccessDenied : OpenFailure::None;
}

// The CH341A's interface: bulk IN and OUT of 32-byte packets and an
// interrupt endpoint, at full speed.
UsbDeviceShape Ch341aShape(UsbDeviceIds ids) {
  return {ids,
          {{kCh341aBulkIn, 2, kCh341aPacketSize, 0}, {kCh341aBulkOut, 2, kCh341aPacketSize, 0}, {0x81, 3, 8, 1}},
          "12"};
}

}  // namespace

EmulatedCh341a::EmulatedCh341a(UMockdevTestbed* testbed, UsbDeviceIds ids, UsbDevicePlace place, EepromModel chip,
                               const FaultPlan& faults)
    : EmulatedUsbDevice(testbed, Ch341aShape(ids), place, AvailabilityAtStart(faults)),
      chip_(std::move(chip), faults.endlessWriteCycleAt),
      faults_(faults) {}

void EmulatedCh341a::LetTimePass(std::chrono::milliseconds time) {
  const auto lock = Lock();
  chip_.Wait(time);
}

std::vector<std::uint8_t> EmulatedCh341a::chipContents() const {
  const auto lock = Lock();
  const auto contents = chip_.chip().contents();
  return {contents.begin(), contents.end()};
}

std::vector<BulkUrb> EmulatedCh341a::urbs() const {
  const auto lock = Lock();
  return urbs_;
}

int EmulatedCh341a::chipWrites() const {
  const auto lock = Lock();
  return chip_.writes();
}

std::chrono::nanoseconds EmulatedCh341a::busTime() const {
  const auto lock = Lock();
  return chip_.elapsed();
}

unsigned EmulatedCh341a::i2cClockKhz() const {
  const auto lock = Lock();
  return chip_.clockKhz();
}

bool EmulatedCh341a::leftUnanswered() const {
  const auto lock = Lock();
  return faults_.unansweredAt && answeredIns_ > *faults_.unansweredAt;
}

int EmulatedCh341a::streamErrors() const {
  const auto lock = Lock();
  return streamErrors_ + chip_.wrappedWrites();
}

EmulatedUsbDevice::UrbAnswer EmulatedCh341a::AnswerUrb(std::uint8_t type, std::uint8_t endpoint,
                                                       std::span<std::uint8_t> buffer) {
  const int index = static_cast<int>(urbs_.size());
  urbs_.push_back({endpoint, {}});
  if (type != USBDEVFS_URB_TYPE_BULK || (endpoint != kCh341aBulkOut && endpoint != kCh341aBulkIn)) {
    ++streamErrors_;
    return {-EPIPE};
  }
  if (faults_.failExchangeAt == index) return {-EPIPE};
  if (faults_.unplugDuringExchangeAt == index) return {-ESHUTDOWN, 0, Afterwards::Unplugged};

  // A short or empty transfer: the bytes past the cut never reach the other
  // side. Out, only whole packets get through.
  std::size_t cut = buffer.size();
  if (faults_.emptyReplyAt == index) cut = 0;
  if (faults_.shortReplyAt == index) cut = std::min(cut, faults_.shortReplyBytes);
  std::size_t moved = 0;
  if (endpoint == kCh341aBulkOut) {
    moved = TakeStream(buffer.first(cut < buffer.size() ? cut - cut % kCh341aPacketSize : cut));
  } else {
    // With nothing to fetch the chip answers no IN token; the host gives up.
    if (replies_.empty()) return {-ETIMEDOUT};
    if (faults_.unansweredAt == answeredIns_++) return {0, 0, Afterwards::NeverAnswered};
    moved = std::min(GiveReplies(buffer), cut);
  }
  urbs_.back().bytes.assign(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(moved));
  const bool leaves = faults_.unplugAfter && index + 1 >= *faults_.unplugAfter;
  return {0, moved, leaves ? Afterwards::UnpluggedWhenReaped : Afterwards::Stays};
}

// The device sees the transfer as packets of the endpoint's size.
std::size_t EmulatedCh341a::TakeStream(std::span<const std::uint8_t> bytes) {
  for (std::size_t start = 0; start < bytes.size(); start += kCh341aPacketSize) {
    RunPacket(bytes.subspan(start, std::min(kCh341aPacketSize, bytes.size() - start)));
  }
  return bytes.size();
}

void EmulatedCh341a::RunPacket(std::span<const std::uint8_t> packet) {
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

// Whole packets, as many as fit; a packet shorter than the endpoint's
// size ends the transfer, as on the bus.
std::size_t EmulatedCh341a::GiveReplies(std::span<std::uint8_t> buffer) {
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
