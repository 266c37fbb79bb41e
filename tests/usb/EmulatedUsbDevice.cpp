#include "EmulatedUsbDevice.h"

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
#include <utility>

namespace pavok::test {

namespace {

struct GObjectUnref {
  void operator()(void* object) const { g_object_unref(object); }
};
using IoctlDataPtr = std::unique_ptr<UMockdevIoctlData, GObjectUnref>;

// The client's memory at the pointer `offset` bytes into `data`, `length`
// bytes long; changes go back to the client when the ioctl completes.
IoctlDataPtr Resolve(UMockdevIoctlData* data, std::size_t offset, std::size_t length) {
  return IoctlDataPtr(umockdev_ioctl_data_resolve(data, offset, length, nullptr));
}

std::string Hex(const std::vector<int>& bytes) {
  std::string text;
  char digits[3];
  for (const int byte : bytes) {
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(byte & 0xFF));
    text += digits;
  }
  return text;
}

// A vendor-specific device with one configuration and one interface holding
// the shape's endpoints; full speed gets the larger control packets.
std::string Descriptors(const UsbDeviceShape& shape) {
  const int vid = shape.ids.vendorId;
  const int pid = shape.ids.productId;
  const int controlPacket = shape.speed == "1.5" ? 8 : 64;
  const auto endpoints = static_cast<int>(shape.endpoints.size());
  const int total = 9 + 9 + 7 * endpoints;
  std::vector<int> bytes{18,   1, 0x10, 0x01, 0xFF, 0, 0, controlPacket, vid & 0xFF, vid >> 8, pid & 0xFF, pid >> 8,
                         0x00, 1, 0,    0,    0,    1};
  const std::vector<int> rest{9, 2, total & 0xFF, total >> 8, 1, 1, 0, 0x80, 50, 9, 4, 0, 0, endpoints, 0xFF, 0, 0, 0};
  bytes.insert(bytes.end(), rest.begin(), rest.end());
  for (const UsbEndpoint& e : shape.endpoints) {
    const std::vector<int> endpoint{7, 5, e.address, e.attributes, e.maxPacketSize & 0xFF, e.maxPacketSize >> 8,
                                    e.interval};
    bytes.insert(bytes.end(), endpoint.begin(), endpoint.end());
  }
  return Hex(bytes);
}

// The device as umockdev-record would write it; libusb wants the trailing
// newlines of the text attributes, as sysfs has them.
std::string Description(const std::string& devicePath, const std::string& node, const UsbDeviceShape& shape,
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
                "A: speed=%s\\n\n"
                "A: bConfigurationValue=1\\n\n"
                "A: dev=189:%d\\n\n"
                "H: descriptors=%s\n",
                devicePath.c_str(), node.c_str(), node.c_str(), unsigned{place.bus}, unsigned{place.device},
                unsigned{place.bus}, unsigned{place.device}, unsigned{shape.ids.vendorId},
                unsigned{shape.ids.productId}, shape.speed.c_str(), minor, Descriptors(shape).c_str());
  return text;
}

}  // namespace

EmulatedUsbDevice::EmulatedUsbDevice(UMockdevTestbed* testbed, const UsbDeviceShape& shape, UsbDevicePlace place,
                                     OpenFailure availability)
    : testbed_(testbed), handler_(umockdev_ioctl_base_new()) {
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
  if (!umockdev_testbed_add_from_string(testbed_, Description(devicePath, names, shape, place).c_str(), &error) ||
      !umockdev_testbed_attach_ioctl(testbed_, deviceNode_.c_str(), handler_, &error)) {
    const std::string message = error != nullptr ? error->message : "unknown error";
    g_clear_error(&error);
    g_object_unref(handler_);
    throw std::runtime_error("cannot add " + deviceNode_ + " to the USB testbed: " + message);
  }

  gchar* root = umockdev_testbed_get_root_dir(testbed_);
  const std::string node = root + deviceNode_;
  g_free(root);
  switch (availability) {
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

EmulatedUsbDevice::~EmulatedUsbDevice() {
  g_signal_handlers_disconnect_by_data(handler_, this);
  g_object_unref(handler_);
  for (UMockdevIoctlData* urb : completed_) g_object_unref(urb);
  if (lastReaped_ != nullptr) g_object_unref(lastReaped_);
  if (unanswered_ != nullptr) g_object_unref(unanswered_);
}

int EmulatedUsbDevice::opens() const {
  const auto lock = Lock();
  return opens_;
}

int EmulatedUsbDevice::interfaceClaims() const {
  const auto lock = Lock();
  return interfaceClaims_;
}

int EmulatedUsbDevice::claimsMade() const {
  const auto lock = Lock();
  return claimsMade_;
}

void EmulatedUsbDevice::ClientConnected(UMockdevIoctlBase*, UMockdevIoctlClient*, void* self) {
  auto& device = *static_cast<EmulatedUsbDevice*>(self);
  const auto lock = device.Lock();
  ++device.opens_;
}

int EmulatedUsbDevice::HandleIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self) {
  auto& device = *static_cast<EmulatedUsbDevice*>(self);
  const auto lock = device.Lock();
  const IoctlResult answer =
      device.Answer(umockdev_ioctl_client_get_request(client), umockdev_ioctl_client_get_arg(client));
  umockdev_ioctl_client_complete(client, answer.result, answer.error);
  return TRUE;
}

EmulatedUsbDevice::IoctlResult EmulatedUsbDevice::Answer(unsigned long request, UMockdevIoctlData* argument) {
  switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
      if (gone_) return {-1, ENODEV};
      const IoctlDataPtr capabilities = Resolve(argument, 0, sizeof(std::uint32_t));
      if (!capabilities) return {-1, EFAULT};
      std::fill_n(capabilities->data, sizeof(std::uint32_t), 0);  // none of the newer usbfs features
      return {0, 0};
    }
    case USBDEVFS_GETDRIVER:
      return {-1, gone_ ? ENODEV : ENODATA};  // no kernel driver holds the interface
    case USBDEVFS_IOCTL:  // a kernel driver sent away or back again: there is none to move
      return gone_ ? IoctlResult{-1, ENODEV} : IoctlResult{0, 0};
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_DISCONNECT_CLAIM:  // a claim that first sends a kernel driver away; there is none
    case USBDEVFS_RELEASEINTERFACE:
      if (gone_) return {-1, ENODEV};
      interfaceClaims_ += request == USBDEVFS_RELEASEINTERFACE ? -1 : 1;
      claimsMade_ += request == USBDEVFS_RELEASEINTERFACE ? 0 : 1;
      return {0, 0};
    case USBDEVFS_SUBMITURB:
      return gone_ ? IoctlResult{-1, ENODEV} : Submit(argument);
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY:
      return Reap(argument);
    case USBDEVFS_DISCARDURB:  // a program that gave up waiting: the URB ends, cancelled
      if (unanswered_ == nullptr) return {-1, EINVAL};
      reinterpret_cast<usbdevfs_urb*>(unanswered_->data)->status = -ENOENT;
      completed_.push_back(std::exchange(unanswered_, nullptr));
      return {0, 0};
    default:
      return {-1, gone_ ? ENODEV : ENOTTY};
  }
}

// Answers the transfer at once; the URB waits to be reaped.
EmulatedUsbDevice::IoctlResult EmulatedUsbDevice::Submit(UMockdevIoctlData* argument) {
  IoctlDataPtr urbData = Resolve(argument, 0, sizeof(usbdevfs_urb));
  if (!urbData) return {-1, EFAULT};
  auto* urb = reinterpret_cast<usbdevfs_urb*>(urbData->data);
  if (urb->buffer_length < 0) return {-1, EINVAL};
  const IoctlDataPtr buffer =
      Resolve(urbData.get(), offsetof(usbdevfs_urb, buffer), static_cast<std::size_t>(urb->buffer_length));
  if (!buffer) return {-1, EFAULT};
  const UrbAnswer answer =
      AnswerUrb(urb->type, urb->endpoint, std::span<std::uint8_t>(buffer->data, static_cast<std::size_t>(buffer->data_len)));
  urb->status = answer.status;
  urb->actual_length = static_cast<int>(answer.actualLength);
  if (answer.afterwards == Afterwards::Unplugged) Unplug();
  unplugWhenReaped_ = answer.afterwards == Afterwards::UnpluggedWhenReaped;
  // The program waits for it until it gives up, or ends.
  if (answer.afterwards == Afterwards::NeverAnswered) {
    if (unanswered_ != nullptr) g_object_unref(unanswered_);
    unanswered_ = urbData.release();
    return {0, 0};
  }
  completed_.push_back(urbData.release());
  return {0, 0};
}

// Hands back the oldest answered URB. A device unplugged after answering
// leaves the bus before its last URB returns, so the next request finds it
// gone whatever libusb's own hot-plug handling has seen by then.
EmulatedUsbDevice::IoctlResult EmulatedUsbDevice::Reap(UMockdevIoctlData* argument) {
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

void EmulatedUsbDevice::Unplug() {
  if (gone_) return;
  gone_ = true;
  interfaceClaims_ = 0;  // a device that left the bus is claimed by nobody
  umockdev_testbed_uevent(testbed_, sysfsPath_.c_str(), "remove");
  umockdev_testbed_remove_device(testbed_, sysfsPath_.c_str());
}

}  // namespace pavok::test
