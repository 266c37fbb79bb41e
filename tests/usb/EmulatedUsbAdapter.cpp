#include "EmulatedUsbAdapter.h"

#include <sys/ioctl.h>
// After sys/ioctl.h, which defines the macros the header's request codes use.
#include <linux/usbdevice_fs.h>
#include <sys/stat.h>
#include <umockdev.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "DeviceRequest.h"
#include "LibusbTransport.h"

namespace pavok::test {

namespace {

constexpr std::size_t kSetupSize = 8;

struct GObjectUnref {
  void operator()(void* object) const { g_object_unref(object); }
};
using IoctlDataPtr = std::unique_ptr<UMockdevIoctlData, GObjectUnref>;

// The client's memory at the pointer `offset` bytes into `data`, `length`
// bytes long; changes go back to the client when the ioctl completes.
IoctlDataPtr Resolve(UMockdevIoctlData* data, std::size_t offset, std::size_t length) {
  return IoctlDataPtr(umockdev_ioctl_data_resolve(data, offset, length, nullptr));
}

std::string Hex(std::initializer_list<int> bytes) {
  std::string text;
  char digits[3];
  for (const int byte : bytes) {
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(byte & 0xFF));
    text += digits;
  }
  return text;
}

// A low-speed vendor-specific device with one configuration and one
// interface that has no endpoints besides the control endpoint.
std::string Descriptors(UsbDeviceIds ids) {
  const int vid = ids.vendorId;
  const int pid = ids.productId;
  const std::string device = Hex({18, 1, 0x10, 0x01, 0xFF, 0, 0, 8, vid & 0xFF, vid >> 8, pid & 0xFF, pid >> 8,
                                  0x00, 0x01, 0, 0, 0, 1});
  const std::string configuration = Hex({9, 2, 18, 0, 1, 1, 0, 0x80, 50});
  const std::string interface = Hex({9, 4, 0, 0, 0, 0xFF, 0, 0, 0});
  return device + configuration + interface;
}

// The device as umockdev-record would write it; libusb wants the trailing
// newlines of the text attributes, as sysfs has them.
std::string Description(const std::string& devicePath, const std::string& node, UsbDeviceIds ids,
                        UsbDevicePlace place) {
  char text[1024];
  const int minor = (place.bus - 1) * 128 + place.device - 1;
  std::snprintf(text, sizeof text,
                "P: %s\n"
                "N: %s\n"
                "E: DEVNAME=/dev/%s\n"
                "E: DEVTYPE=usb_device\n"
                "E: SUBSYSTEM=usb\n"
                "E: BUSNUM=%03u\n"
                "E: DEVNUM=%03u\n"
                "A: busnum=%u\\n\n"
                "A: devnum=%u\\n\n"
                "A: idVendor=%04x\\n\n"
                "A: idProduct=%04x\\n\n"
                "A: speed=1.5\\n\n"
                "A: bConfigurationValue=1\\n\n"
                "A: dev=189:%d\\n\n"
                "H: descriptors=%s\n",
                devicePath.c_str(), node.c_str(), node.c_str(), unsigned{place.bus}, unsigned{place.device},
                unsigned{place.bus}, unsigned{place.device}, unsigned{ids.vendorId}, unsigned{ids.productId}, minor,
                Descriptors(ids).c_str());
  return text;
}

}  // namespace

EmulatedUsbAdapter::EmulatedUsbAdapter(UMockdevTestbed* testbed, UsbDeviceIds ids, UsbDevicePlace place,
                                       EmulatedAdapter adapter)
    : testbed_(testbed), handler_(umockdev_ioctl_base_new()), adapter_(std::move(adapter)) {
  char names[96];
  std::snprintf(names, sizeof names, "/devices/pci0000:00/0000:00:14.0/usb%u/%u-%u", unsigned{place.bus},
                unsigned{place.bus}, place.device - 1u);
  const std::string devicePath = names;
  sysfsPath_ = "/sys" + devicePath;
  std::snprintf(names, sizeof names, "bus/usb/%03u/%03u", unsigned{place.bus}, unsigned{place.device});
  deviceNode_ = std::string("/dev/") + names;

  g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(HandleIoctl), this);
  g_signal_connect(handler_, "client-connected", G_CALLBACK(ClientConnected), this);
  GError* error = nullptr;
  if (!umockdev_testbed_add_from_string(testbed_, Description(devicePath, names, ids, place).c_str(), &error) ||
      !umockdev_testbed_attach_ioctl(testbed_, deviceNode_.c_str(), handler_, &error)) {
    const std::string message = error != nullptr ? error->message : "unknown error";
    g_clear_error(&error);
    g_object_unref(handler_);
    throw std::runtime_error("cannot add " + deviceNode_ + " to the USB testbed: " + message);
  }

  // An adapter that cannot be opened from the start: listed on the bus, but
  // its node is gone (as just after unplugging) or closed to this user.
  gchar* root = umockdev_testbed_get_root_dir(testbed_);
  const std::string node = root + deviceNode_;
  g_free(root);
  switch (adapter_.Availability()) {
    case OpenFailure::NotFound:
      std::remove(node.c_str());
      break;
    case OpenFailure::AccessDenied:
      chmod(node.c_str(), 0);
      break;
    default:
      break;
  }
}

EmulatedUsbAdapter::~EmulatedUsbAdapter() {
  g_signal_handlers_disconnect_by_data(handler_, this);
  g_object_unref(handler_);
  for (UMockdevIoctlData* urb : completed_) g_object_unref(urb);
  if (lastReaped_ != nullptr) g_object_unref(lastReaped_);
}

std::vector<SetupPacket> EmulatedUsbAdapter::setupPackets() const {
  const std::lock_guard lock(mutex_);
  return packets_;
}

std::vector<std::uint8_t> EmulatedUsbAdapter::chipContents() const {
  const std::lock_guard lock(mutex_);
  const auto contents = adapter_.chip().contents();
  return {contents.begin(), contents.end()};
}

int EmulatedUsbAdapter::opens() const {
  const std::lock_guard lock(mutex_);
  return opens_;
}

void EmulatedUsbAdapter::ClientConnected(UMockdevIoctlBase*, UMockdevIoctlClient*, void* self) {
  auto& device = *static_cast<EmulatedUsbAdapter*>(self);
  const std::lock_guard lock(device.mutex_);
  ++device.opens_;
}

int EmulatedUsbAdapter::HandleIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self) {
  auto& device = *static_cast<EmulatedUsbAdapter*>(self);
  const std::lock_guard lock(device.mutex_);
  const IoctlResult answer =
      device.Answer(umockdev_ioctl_client_get_request(client), umockdev_ioctl_client_get_arg(client));
  umockdev_ioctl_client_complete(client, answer.result, answer.error);
  return TRUE;
}

EmulatedUsbAdapter::IoctlResult EmulatedUsbAdapter::Answer(unsigned long request, UMockdevIoctlData* argument) {
  switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
      if (gone_) return {-1, ENODEV};
      const IoctlDataPtr capabilities = Resolve(argument, 0, sizeof(std::uint32_t));
      if (!capabilities) return {-1, EFAULT};
      std::fill_n(capabilities->data, sizeof(std::uint32_t), 0);  // none of the newer usbfs features
      return {0, 0};
    }
    case USBDEVFS_SUBMITURB:
      return gone_ ? IoctlResult{-1, ENODEV} : Submit(argument);
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY:
      return Reap(argument);
    default:
      return {-1, gone_ ? ENODEV : ENOTTY};
  }
}

// Answers the transfer at once; the URB waits to be reaped.
EmulatedUsbAdapter::IoctlResult EmulatedUsbAdapter::Submit(UMockdevIoctlData* argument) {
  IoctlDataPtr urbData = Resolve(argument, 0, sizeof(usbdevfs_urb));
  if (!urbData) return {-1, EFAULT};
  auto* urb = reinterpret_cast<usbdevfs_urb*>(urbData->data);
  if (urb->type != USBDEVFS_URB_TYPE_CONTROL || urb->buffer_length < static_cast<int>(kSetupSize)) {
    return {-1, EINVAL};
  }
  const IoctlDataPtr buffer =
      Resolve(urbData.get(), offsetof(usbdevfs_urb, buffer), static_cast<std::size_t>(urb->buffer_length));
  if (!buffer) return {-1, EFAULT};
  const std::span<std::uint8_t> bytes(buffer->data, static_cast<std::size_t>(buffer->data_len));
  const SetupPacket setup = SetupPacket::FromBytes(bytes.first<kSetupSize>());
  packets_.push_back(setup);
  const std::span<std::uint8_t> data = bytes.subspan(kSetupSize);

  urb->actual_length = 0;
  urb->status = -EPIPE;  // a request the adapter does not take stalls
  if (setup.requestType == kVendorRequestIn && setup.length <= data.size()) {
    std::vector<std::uint8_t> reply(setup.length);
    adapter_.Open();
    const ExchangeResult result =
        adapter_.Exchange(DeviceRequest::Make(setup.request, setup.value, setup.index).bytes, reply);
    adapter_.Close();
    const bool unplugged = adapter_.Availability() == OpenFailure::NotFound;
    if (result.succeeded) {
      const std::size_t returned = std::min(result.bytesReturned, reply.size());
      std::copy_n(reply.begin(), returned, data.begin());
      urb->actual_length = static_cast<int>(returned);
      urb->status = 0;
      unplugWhenReaped_ = unplugged;
    } else if (unplugged) {
      // Pulled out while answering: the host ends the URB with no data.
      urb->status = -ESHUTDOWN;
      Unplug();
    }
  }
  completed_.push_back(urbData.release());
  return {0, 0};
}

// Hands back the oldest answered URB. An adapter unplugged after answering
// leaves the bus before its last URB returns, so the next request finds it
// gone whatever libusb's own hot-plug handling has seen by then.
EmulatedUsbAdapter::IoctlResult EmulatedUsbAdapter::Reap(UMockdevIoctlData* argument) {
  if (completed_.empty()) return {-1, gone_ ? ENODEV : EAGAIN};
  const IoctlDataPtr urbPointer = Resolve(argument, 0, sizeof(void*));
  if (!urbPointer) return {-1, EFAULT};
  // Kept until the next reap: the pointer goes back to the client only when
  // the ioctl completes.
  if (lastReaped_ != nullptr) g_object_unref(lastReaped_);
  lastReaped_ = completed_.front();
  completed_.pop_front();
  umockdev_ioctl_data_set_ptr(urbPointer.get(), 0, lastReaped_);
  if (unplugWhenReaped_ && completed_.empty()) Unplug();
  return {0, 0};
}

void EmulatedUsbAdapter::Unplug() {
  if (gone_) return;
  gone_ = true;
  umockdev_testbed_uevent(testbed_, sysfsPath_.c_str(), "remove");
  umockdev_testbed_remove_device(testbed_, sysfsPath_.c_str());
}

}  // namespace pavok::test
