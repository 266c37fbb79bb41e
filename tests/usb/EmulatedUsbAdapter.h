#pragma once
// The adapter as a USB device in a umockdev testbed: each vendor control
// transfer from device to host becomes one request to an EmulatedAdapter,
// so the USB path and --emulate are two front doors to the same chip model.
// The adapter's fault plan also decides what the bus shows: a stall, a short
// transfer, a node that is gone or may not be opened, a device that leaves
// the bus.

#include <vector>

#include "EmulatedAdapter.h"
#include "EmulatedUsbDevice.h"
#include "SetupPacket.h"

namespace pavok::test {

class EmulatedUsbAdapter final : public EmulatedUsbDevice {
 public:
  // Plugs the device into `testbed` with `ids` at `place`.
  EmulatedUsbAdapter(UMockdevTestbed* testbed, UsbDeviceIds ids, UsbDevicePlace place, EmulatedAdapter adapter);

  // Every setup packet the device received, in order.
  std::vector<SetupPacket> setupPackets() const;
  std::vector<std::uint8_t> chipContents() const;

 private:
  UrbAnswer AnswerUrb(std::uint8_t type, std::uint8_t endpoint, std::span<std::uint8_t> buffer) override;

  EmulatedAdapter adapter_;
  std::vector<SetupPacket> packets_;
};

}  // namespace pavok::test
