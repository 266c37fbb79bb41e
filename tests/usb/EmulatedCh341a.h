#pragma once
// The CH341A programmer as a USB device in a umockdev testbed, with a
// 24Cxx chip in its socket: its bulk OUT transfers are taken apart into
// packets of I2C stream sub-commands and carried out on an I2cEeprom, and
// what each packet reads off the bus waits as one packet for the bulk IN
// endpoint. The fault plan counts bulk transfers as its exchanges: one may
// stall, come back short or empty, or the device leaves the bus; the chip's
// write cycle may never end.

#include <chrono>
#include <vector>

#include "EmulatedUsbDevice.h"
#include "FaultPlan.h"
#include "Ch341aStreamBus.h"

namespace pavok::test {

// One bulk transfer as the device saw it: its endpoint and the bytes that
// went over the bus.
struct BulkUrb {
  std::uint8_t endpoint = 0;
  std::vector<std::uint8_t> bytes;
};

class EmulatedCh341a final : public EmulatedUsbDevice {
 public:
  EmulatedCh341a(UMockdevTestbed* testbed, UsbDeviceIds ids, UsbDevicePlace place, EepromModel chip,
                 const FaultPlan& faults);

  // Another chip in the socket and another fault plan, as if just plugged
  // in: a testbed of many runs pays for one device.
  void Restart(EepromModel chip, const FaultPlan& faults);
  // Time passing with the bus idle, as between two runs of a program.
  void LetTimePass(std::chrono::milliseconds time);

  std::vector<std::uint8_t> chipContents() const;
  std::vector<BulkUrb> urbs() const;
  // The page writes the chip took.
  int chipWrites() const;
  // How long the streams so far keep a real CH341A's I2C bus busy, waits
  // included; on hardware most of a transfer's time.
  std::chrono::nanoseconds busTime() const;
  // The I2C clock the last speed sub-command chose.
  unsigned i2cClockKhz() const;
  // Packets that did not open with the stream code, sub-commands the chip
  // does not know or that ran past their packet, answers longer than a
  // packet, page writes that wrapped inside their page: none, for a
  // transport that speaks the stream right.
  int streamErrors() const;
  // Whether the transfer in the fault plan leaves unanswered has come.
  bool leftUnanswered() const;

 private:
  UrbAnswer AnswerUrb(std::uint8_t type, std::uint8_t endpoint, std::span<std::uint8_t> buffer) override;

  Ch341aStreamBus bus_;
  FaultPlan faults_;
  std::vector<BulkUrb> urbs_;
  int answeredIns_ = 0;  // transfers in that found an answer waiting
};

}  // namespace pavok::test
