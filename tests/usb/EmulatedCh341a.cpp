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
      bus_(I2cEeprom(std::move(chip), faults.endlessWriteCycleAt)),
      faults_(faults) {}

void EmulatedCh341a::Restart(EepromModel chip, const FaultPlan& faults) {
  const auto lock = Lock();
  bus_ = Ch341aStreamBus(I2cEeprom(std::move(chip), faults.endlessWriteCycleAt));
  faults_ = faults;
  urbs_.clear();
  answeredIns_ = 0;
}

void EmulatedCh341a::LetTimePass(std::chrono::milliseconds time) {
  const auto lock = Lock();
  bus_.chip().Wait(time);
}

std::vector<std::uint8_t> EmulatedCh341a::chipContents() const {
  const auto lock = Lock();
  const auto contents = bus_.chip().chip().contents();
  return {contents.begin(), contents.end()};
}

std::vector<BulkUrb> EmulatedCh341a::urbs() const {
  const auto lock = Lock();
  return urbs_;
}

int EmulatedCh341a::chipWrites() const {
  const auto lock = Lock();
  return bus_.chip().writes();
}

std::chrono::nanoseconds EmulatedCh341a::busTime() const {
  const auto lock = Lock();
  return bus_.chip().elapsed();
}

unsigned EmulatedCh341a::i2cClockKhz() const {
  const auto lock = Lock();
  return bus_.chip().clockKhz();
}

bool EmulatedCh341a::leftUnanswered() const {
  const auto lock = Lock();
  return faults_.unansweredAt && answeredIns_ > *faults_.unansweredAt;
}

int EmulatedCh341a::streamErrors() const {
  const auto lock = Lock();
  return bus_.streamErrors();
}

EmulatedUsbDevice::UrbAnswer EmulatedCh341a::AnswerUrb(std::uint8_t type, std::uint8_t endpoint,
                                                       std::span<std::uint8_t> buffer) {
  const int index = static_cast<int>(urbs_.size());
  urbs_.push_back({endpoint, {}});
  if (type != USBDEVFS_URB_TYPE_BULK || (endpoint != kCh341aBulkOut && endpoint != kCh341aBulkIn)) {
    bus_.CountStreamError();
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
    moved = cut < buffer.size() ? cut - cut % kCh341aPacketSize : cut;
    bus_.TakeStream(buffer.first(moved));
  } else {
    // With nothing to fetch the chip answers no IN token; the host gives up.
    if (!bus_.hasReplies()) return {-ETIMEDOUT};
    if (faults_.unansweredAt == answeredIns_++) return {0, 0, Afterwards::NeverAnswered};
    moved = std::min(bus_.GiveReplies(buffer), cut);
  }
  urbs_.back().bytes.assign(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(moved));
  const bool leaves = faults_.unplugAfter && index + 1 >= *faults_.unplugAfter;
  return {0, moved, leaves ? Afterwards::UnpluggedWhenReaped : Afterwards::Stays};
}

}  // namespace pavok::test
