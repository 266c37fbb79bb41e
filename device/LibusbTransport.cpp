#include "LibusbTransport.h"

#include <algorithm>

#include "DeviceRequest.h"

namespace pavok {

LibusbTransport::LibusbTransport(std::uint16_t vendorId, std::uint16_t productId)
    : LibusbTransport(MakeLibusbBackend(), vendorId, productId) {}

LibusbTransport::LibusbTransport(std::unique_ptr<UsbBackend> backend, std::uint16_t vendorId, std::uint16_t productId)
    : connection_(std::move(backend), {vendorId, productId}) {}

OpenResult LibusbTransport::Open() {
  lastOpenFailure_ = connection_.Open();
  return lastOpenFailure_;
}

ExchangeResult LibusbTransport::Exchange(std::span<const std::uint8_t, 5> request, std::span<std::uint8_t> reply) {
  if (!connection_.isOpen()) return {};
  const DeviceRequest fields = DeviceRequest::FromBytes(request);
  const UsbControlSetup setup{kVendorRequestIn, fields.code(), fields.param1(), fields.param2()};
  const int result = connection_.backend().ControlTransfer(setup, reply, kExchangeTimeoutMilliseconds);
  if (result < 0) return {};
  return {true, std::min(static_cast<std::size_t>(result), reply.size())};
}

void LibusbTransport::Close() { connection_.Close(); }

std::string LibusbTransport::Describe() const { return connection_.Describe("USB adapter"); }

}  // namespace pavok
