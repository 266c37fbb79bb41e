#pragma once
// The real adapter on Linux through libusb: open finds the adapter by its USB
// ids, each exchange is one vendor control transfer from device to host, and
// close releases the device again.

#include <cstdint>
#include <memory>

#include "Transport.h"
#include "UsbConnection.h"

namespace pavok {

inline constexpr std::uint16_t kAdapterVendorId = 0x03EB;
inline constexpr std::uint16_t kAdapterProductId = 0x21FF;

// Vendor request, device to host, addressed to the device.
inline constexpr std::uint8_t kVendorRequestIn = 0xC0;
// How long one exchange may take, as long as the Windows driver waits.
inline constexpr unsigned kExchangeTimeoutMilliseconds = 3000;

class LibusbTransport final : public Transport {
 public:
  // The adapter with these ids, reached through libusb.
  explicit LibusbTransport(std::uint16_t vendorId = kAdapterVendorId, std::uint16_t productId = kAdapterProductId);
  // The same over another backend (tests use a fake one).
  LibusbTransport(std::unique_ptr<UsbBackend> backend, std::uint16_t vendorId, std::uint16_t productId);

  OpenResult Open() override;
  // Request code as bRequest, param1 as wValue, param2 as wIndex, the reply
  // size as wLength.
  ExchangeResult Exchange(std::span<const std::uint8_t, 5> request, std::span<std::uint8_t> reply) override;
  void Close() override;
  OpenFailure LastOpenFailure() const override { return lastOpenFailure_; }
  // The ids; after an open also the bus and device number it found.
  std::string Describe() const override;
  // One lock for all adapters with these ids: the open takes the first one
  // listed, so two programs given the same ids reach the same adapter.
  std::vector<std::string> LockNames() const override { return {connection_.LockName()}; }

 private:
  UsbConnection connection_;
  OpenFailure lastOpenFailure_ = OpenFailure::None;
};

}  // namespace pavok
