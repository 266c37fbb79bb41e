#pragma once
// A USB bus of emulated devices in a umockdev testbed. While it lives, libusb
// in this process, and in the programs it starts (they inherit umockdev's
// preload library and UMOCKDEV_DIR), lists and opens these devices instead of
// the machine's own.

#include <memory>
#include <vector>

#include "Ch341aTransport.h"
#include "EmulatedCh341a.h"
#include "EmulatedUsbAdapter.h"
#include "FaultPlan.h"

namespace pavok::test {

// The bus every emulated device sits on. No host has a bus of this number,
// so a node that is gone from the testbed (umockdev then passes the path on
// to the real /dev) never reaches a real device.
inline constexpr std::uint8_t kEmulatedBus = 100;

class UsbTestbed {
 public:
  UsbTestbed();
  ~UsbTestbed();
  UsbTestbed(const UsbTestbed&) = delete;
  UsbTestbed& operator=(const UsbTestbed&) = delete;

  // Plugs in a device with `ids` that answers as the adapter with `chip` and
  // the fault plan `faults`, at the next free device number (2, 3, ...).
  EmulatedUsbAdapter& PlugAdapter(UsbDeviceIds ids, EepromModel chip, const FaultPlan& faults = {});
  // Plugs in a CH341A with `chip` in its socket, likewise.
  EmulatedCh341a& PlugCh341a(EepromModel chip, const FaultPlan& faults = {}, UsbDeviceIds ids = kCh341aIds);

  // Whether this process sees the testbed's /sys, that is, runs under
  // umockdev's preload library.
  bool SeenByThisProcess() const;

 private:
  UsbDevicePlace NextPlace() const;

  UMockdevTestbed* testbed_;
  std::vector<std::unique_ptr<EmulatedUsbDevice>> devices_;
};

// Whether this process runs under umockdev's preload library; when not, says
// on the standard error stream how to run `program` so that it does.
bool UnderUmockdevPreload(const char* program);

}  // namespace pavok::test
