#pragma once
// One USB device in a umockdev testbed that answers libusb's usbfs calls as
// the adapter does. Each vendor control transfer from device to host becomes
// one request to an EmulatedAdapter, so the USB path and --emulate are two
// front doors to the same chip model. The adapter's fault plan also decides
// what the bus shows: a stall, a short transfer, a node that is gone or may
// not be opened, a device that leaves the bus.

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "EmulatedAdapter.h"
#include "SetupPacket.h"
#include "UsbBackend.h"

using UMockdevTestbed = struct _UMockdevTestbed;
using UMockdevIoctlBase = struct _UMockdevIoctlBase;
using UMockdevIoctlClient = struct _UMockdevIoctlClient;
using UMockdevIoctlData = struct _UMockdevIoctlData;

namespace pavok::test {

class EmulatedUsbAdapter {
 public:
  // Plugs the device into `testbed` with `ids` at `place`.
  EmulatedUsbAdapter(UMockdevTestbed* testbed, UsbDeviceIds ids, UsbDevicePlace place, EmulatedAdapter adapter);
  ~EmulatedUsbAdapter();
  EmulatedUsbAdapter(const EmulatedUsbAdapter&) = delete;
  EmulatedUsbAdapter& operator=(const EmulatedUsbAdapter&) = delete;

  // Every setup packet the device received, in order.
  std::vector<SetupPacket> setupPackets() const;
  std::vector<std::uint8_t> chipContents() const;
  // How many times the device node was opened.
  int opens() const;

  // The node as programs name it, e.g. "/dev/bus/usb/100/002".
  const std::string& deviceNode() const { return deviceNode_; }

 private:
  struct IoctlResult {
    long result;
    int error;
  };

  static int HandleIoctl(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);
  static void ClientConnected(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);

  IoctlResult Answer(unsigned long request, UMockdevIoctlData* argument);
  IoctlResult Submit(UMockdevIoctlData* argument);
  IoctlResult Reap(UMockdevIoctlData* argument);
  void Unplug();

  UMockdevTestbed* testbed_;
  UMockdevIoctlBase* handler_;
  std::string sysfsPath_;
  std::string deviceNode_;

  mutable std::mutex mutex_;  // the testbed answers on a thread of its own
  EmulatedAdapter adapter_;
  std::vector<SetupPacket> packets_;
  std::deque<UMockdevIoctlData*> completed_;  // submitted, not yet reaped; each holds a reference
  UMockdevIoctlData* lastReaped_ = nullptr;   // holds a reference
  int opens_ = 0;
  bool unplugWhenReaped_ = false;
  bool gone_ = false;
};

}  // namespace pavok::test
