#include "LibusbTransport.h"

#include <libusb.h>

#include <algorithm>
#include <cstdio>

#include "DeviceRequest.h"

namespace pavok {

namespace {

OpenFailure FailureOfOpen(int libusbError) {
  switch (libusbError) {
    case LIBUSB_ERROR_ACCESS:
      return OpenFailure::AccessDenied;
    case LIBUSB_ERROR_NO_DEVICE:  // unplugged between listing and opening
    case LIBUSB_ERROR_NOT_FOUND:
      return OpenFailure::NotFound;
    default:
      return OpenFailure::Other;
  }
}

}  // namespace

LibusbTransport::LibusbTransport(std::uint16_t vendorId, std::uint16_t productId)
    : LibusbTransport(MakeLibusbBackend(), vendorId, productId) {}

LibusbTransport::LibusbTransport(std::unique_ptr<UsbBackend> backend, std::uint16_t vendorId, std::uint16_t productId)
    : backend_(std::move(backend)), ids_{vendorId, productId} {}

LibusbTransport::~LibusbTransport() { Close(); }

bool LibusbTransport::FailOpen(OpenFailure failure) {
  lastOpenFailure_ = failure;
  return false;
}

// The library context is made at the first open and kept for the transport's
// life; each open lists the bus afresh, since the adapter may come and go
// between requests.
bool LibusbTransport::Open() {
  Close();
  if (!initialised_ && backend_->Initialise() < 0) return FailOpen(OpenFailure::Other);
  initialised_ = true;
  const std::vector<UsbDeviceIds> devices = backend_->Enumerate();
  const auto match = std::ranges::find(devices, ids_);
  if (match == devices.end()) return FailOpen(OpenFailure::NotFound);
  const int result = backend_->Open(static_cast<std::size_t>(match - devices.begin()));
  if (result < 0) return FailOpen(FailureOfOpen(result));
  open_ = true;
  lastOpenFailure_ = OpenFailure::None;
  place_ = backend_->OpenDevicePlace();
  return true;
}

ExchangeResult LibusbTransport::Exchange(std::span<const std::uint8_t, 5> request, std::span<std::uint8_t> reply) {
  if (!open_) return {};
  const DeviceRequest fields = DeviceRequest::FromBytes(request);
  const UsbControlSetup setup{kVendorRequestIn, fields.code(), fields.param1(), fields.param2()};
  const int result = backend_->ControlTransfer(setup, reply, kExchangeTimeoutMilliseconds);
  if (result < 0) return {};
  return {true, std::min(static_cast<std::size_t>(result), reply.size())};
}

void LibusbTransport::Close() {
  if (!open_) return;
  backend_->Close();
  open_ = false;
}

std::string LibusbTransport::LockName() const {
  char name[32];
  std::snprintf(name, sizeof name, "usb-%04x-%04x", ids_.vendorId, ids_.productId);
  return name;
}

std::string LibusbTransport::Describe() const {
  char text[64];
  if (place_.bus == 0) {
    std::snprintf(text, sizeof text, "USB adapter %04X:%04X", ids_.vendorId, ids_.productId);
  } else {
    std::snprintf(text, sizeof text, "USB adapter %04X:%04X on bus %u, device %u", ids_.vendorId, ids_.productId,
                  unsigned{place_.bus}, unsigned{place_.device});
  }
  return text;
}

}  // namespace pavok
