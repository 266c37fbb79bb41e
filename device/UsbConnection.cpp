#include "UsbConnection.h"

#include <algorithm>
#include <cstdio>

namespace pavok {

OpenFailure FailureOfOpen(int libusbError) {
  switch (libusbError) {
    case kUsbErrorAccess:
      return OpenFailure::AccessDenied;
    case kUsbErrorNoDevice:  // unplugged between listing and opening
    case kUsbErrorNotFound:
      return OpenFailure::NotFound;
    default:
      return OpenFailure::Other;
  }
}

UsbConnection::UsbConnection(std::unique_ptr<UsbBackend> backend, UsbDeviceIds ids)
    : backend_(std::move(backend)), ids_(ids) {}

UsbConnection::~UsbConnection() { Close(); }

OpenFailure UsbConnection::Open() {
  Close();
  if (!initialised_) {
    const int result = backend_->Initialise();
    if (result == kUsbCallNotSupported) return OpenFailure::DriverMissing;
    if (result < 0) return OpenFailure::Other;
  }
  initialised_ = true;
  const std::vector<UsbDeviceIds> devices = backend_->Enumerate();
  const auto match = std::ranges::find(devices, ids_);
  if (match == devices.end()) return OpenFailure::NotFound;
  const int result = backend_->Open(static_cast<std::size_t>(match - devices.begin()));
  if (result < 0) return FailureOfOpen(result);
  open_ = true;
  place_ = backend_->OpenDevicePlace();
  return OpenFailure::None;
}

void UsbConnection::Close() {
  if (!open_) return;
  backend_->Close();
  open_ = false;
}

std::string UsbConnection::Describe(std::string_view name) const {
  if (const std::string device = backend_->DeviceName(); !device.empty()) return std::string(name) + " " + device;
  char text[96];
  const int nameLength = static_cast<int>(name.size());
  if (place_.bus == 0) {
    std::snprintf(text, sizeof text, "%.*s %04X:%04X", nameLength, name.data(), ids_.vendorId, ids_.productId);
  } else {
    std::snprintf(text, sizeof text, "%.*s %04X:%04X on bus %u, device %u", nameLength, name.data(), ids_.vendorId,
                  ids_.productId, unsigned{place_.bus}, unsigned{place_.device});
  }
  return text;
}

std::string UsbConnection::LockName() const {
  char name[32];
  std::snprintf(name, sizeof name, "usb-%04x-%04x", ids_.vendorId, ids_.productId);
  return name;
}

}  // namespace pavok
