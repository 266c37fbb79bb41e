#include "EmulatedUsbAdapter.h"

#include <sys/ioctl.h>
// After sys/ioctl.h, which defines the macros the header's request codes use.
#include <linux/usbdevice_fs.h>

#include <algorithm>
#include <cerrno>

#include "DeviceRequest.h"
#include "LibusbTransport.h"

namespace pavok::test {

namespace {
constexpr std::size_t kSetupSize = 8;
}  // namespace

// A low-speed device whose interface has no endpoints besides the control
// endpoint.
EmulatedUsbAdapter::EmulatedUsbAdapter(UMockdevTestbed* testbed, UsbDeviceIds ids, UsbDevicePlace place,
                                       EmulatedAdapter adapter)
    : EmulatedUsbDevice(testbed, {ids, {}, "1.5"}, place, adapter.Availability()), adapter_(std::move(adapter)) {}

std::vector<SetupPacket> EmulatedUsbAdapter::setupPackets() const {
  const auto lock = Lock();
  return packets_;
}

std::vector<std::uint8_t> EmulatedUsbAdapter::chipContents() const {
  const auto lock = Lock();
  const auto contents = adapter_.chip().contents();
  return {contents.begin(), contents.end()};
}

EmulatedUsbDevice::UrbAnswer EmulatedUsbAdapter::AnswerUrb(std::uint8_t type, std::uint8_t,
                                                           std::span<std::uint8_t> bytes) {
  if (type != USBDEVFS_URB_TYPE_CONTROL || bytes.size() < kSetupSize) return {-EINVAL};
  const SetupPacket setup = SetupPacket::FromBytes(bytes.first<kSetupSize>());
  packets_.push_back(setup);
  const std::span<std::uint8_t> data = bytes.subspan(kSetupSize);

  UrbAnswer answer{-EPIPE};  // a request the adapter does not take stalls
  if (setup.requestType != kVendorRequestIn || setup.length > data.size()) return answer;
  std::vector<std::uint8_t> reply(setup.length);
  adapter_.Open();
  const ExchangeResult result =
      adapter_.Exchange(DeviceRequest::Make(setup.request, setup.value, setup.index).bytes, reply);
  adapter_.Close();
  const bool unplugged = adapter_.Availability() == OpenFailure::NotFound;
  if (result.succeeded) {
    const std::size_t returned = std::min(result.bytesReturned, reply.size());
    std::copy_n(reply.begin(), returned, data.begin());
    return {0, returned, unplugged ? Afterwards::UnpluggedWhenReaped : Afterwards::Stays};
  }
  // Pulled out while answering: the host ends the URB with no data.
  if (unplugged) return {-ESHUTDOWN, 0, Afterwards::Unplugged};
  return answer;
}

}  // namespace pavok::test
