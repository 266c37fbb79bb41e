#pragma once
// One USB device in a umockdev testbed: its sysfs entry, descriptors and
// device node, and the usbfs calls libusb makes on the node (capabilities,
// claiming the interface, submitting and reaping URBs). What a URB does is
// the business of the kind of device built on this; it may also leave the
// bus, as when pulled out.

#include <deque>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "Transport.h"
#include "UsbBackend.h"

using UMockdevTestbed = struct _UMockdevTestbed;
using UMockdevIoctlBase = struct _UMockdevIoctlBase;
using UMockdevIoctlClient = struct _UMockdevIoctlClient;
using UMockdevIoctlData = struct _UMockdevIoctlData;

namespace pavok::test {

struct UsbEndpoint {
  std::uint8_t address = 0;
  std::uint8_t attributes = 0;  // 2 bulk, 3 interrupt
  std::uint16_t maxPacketSize = 0;
  std::uint8_t interval = 0;
};

// What the bus shows of a device: its ids, its one vendor-specific
// interface's endpoints, its speed as sysfs writes it ("1.5", "12").
struct UsbDeviceShape {
  UsbDeviceIds ids;
  std::vector<UsbEndpoint> endpoints;
  std::string speed;
};

class EmulatedUsbDevice {
 public:
  EmulatedUsbDevice(const EmulatedUsbDevice&) = delete;
  EmulatedUsbDevice& operator=(const EmulatedUsbDevice&) = delete;
  virtual ~EmulatedUsbDevice();

  // How many times the device node was opened.
  int opens() const;
  // Claims of the interface less releases: 0 once every program let it go.
  int interfaceClaims() const;
  // Every claim of the interface so far.
  int claimsMade() const;
  // The node as programs name it, e.g. "/dev/bus/usb/100/002".
  const std::string& deviceNode() const { return deviceNode_; }

 protected:
  // Plugs the device into `testbed` at `place`. An `availability` other
  // than None makes it one that cannot be opened from the start: listed on
  // the bus, but its node gone (as just after unplugging) or closed to this
  // user.
  EmulatedUsbDevice(UMockdevTestbed* testbed, const UsbDeviceShape& shape, UsbDevicePlace place,
                    OpenFailure availability);

  enum class Afterwards { Stays, Unplugged, UnpluggedWhenReaped, NeverAnswered };
  struct UrbAnswer {
    int status = 0;  // 0, or a negative errno as the host controller ends the URB
    std::size_t actualLength = 0;
    Afterwards afterwards = Afterwards::Stays;
  };
  // Answers one URB at once. `buffer` is the URB's data (for a control URB
  // the setup packet first). Called with the device locked.
  virtual UrbAnswer AnswerUrb(std::uint8_t type, std::uint8_t endpoint, std::span<std::uint8_t> buffer) = 0;

  // The lock under which the testbed's thread answers.
  std::unique_lock<std::mutex> Lock() const { return std::unique_lock(mutex_); }

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
  std::deque<UMockdevIoctlData*> completed_;  // submitted, not yet reaped; each holds a reference
  UMockdevIoctlData* lastReaped_ = nullptr;   // holds a reference
  UMockdevIoctlData* unanswered_ = nullptr;   // never answered until discarded; holds a reference
  int opens_ = 0;
  int interfaceClaims_ = 0;
  int claimsMade_ = 0;
  bool unplugWhenReaped_ = false;
  bool gone_ = false;
};

}  // namespace pavok::test
