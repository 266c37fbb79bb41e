#include "Transport.h"

namespace pavok {

namespace {

// Stands in until a front end chooses a transport: there is no adapter.
class NoAdapter final : public Transport {
 public:
  OpenResult Open() override { return OpenFailure::NotFound; }
  ExchangeResult Exchange(std::span<const std::uint8_t, 5>, std::span<std::uint8_t>) override { return {}; }
  void Close() override {}
  OpenFailure LastOpenFailure() const override { return OpenFailure::NotFound; }
  std::string Describe() const override { return "no adapter"; }
};

NoAdapter noAdapter;
Transport* current = &noAdapter;

}  // namespace

std::string_view OpenFailureText(OpenFailure failure) {
  switch (failure) {
    case OpenFailure::None:
      return "no failure";
    case OpenFailure::NotFound:
      return "adapter not found";
    case OpenFailure::AccessDenied:
      return "access to the adapter denied";
    case OpenFailure::InUse:
      return "adapter in use by another program";
    case OpenFailure::DriverMissing:
      return "the adapter's driver is missing or unusable";
    case OpenFailure::Other:
      break;
  }
  return "adapter could not be opened";
}

Transport& CurrentTransport() { return *current; }

TransportScope::TransportScope(Transport& transport) : previous_(current) { current = &transport; }

TransportScope::~TransportScope() { current = previous_; }

}  // namespace pavok
