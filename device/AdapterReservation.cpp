#include "AdapterReservation.h"

#include <string>

namespace pavok {

namespace {

// The adapter as this program sees it while another program holds it.
class BusyAdapter final : public Transport {
 public:
  BusyAdapter(const Transport& adapter, std::optional<long> holder) : adapter_(adapter), holder_(holder) {}

  OpenResult Open() override { return {OpenFailure::InUse, holder_}; }
  ExchangeResult Exchange(std::span<const std::uint8_t, 5>, std::span<std::uint8_t>) override { return {}; }
  void Close() override {}
  OpenFailure LastOpenFailure() const override { return OpenFailure::InUse; }
  std::string Describe() const override { return adapter_.Describe(); }
  std::vector<std::string> LockNames() const override { return adapter_.LockNames(); }

 private:
  const Transport& adapter_;
  std::optional<long> holder_;
};

// The transport whose adapter this program holds now, if any.
const Transport* held = nullptr;

}  // namespace

AdapterReservation::AdapterReservation() : previouslyHeld_(held) {
  Transport& transport = CurrentTransport();
  if (&transport == held) return;  // an enclosing reservation holds it
  const std::vector<std::string> names = transport.LockNames();
  if (names.empty()) return;  // nothing another program could share
  for (const std::string& name : names) {
    locks_.push_back(std::make_unique<AdapterLock>(name));
    if (locks_.back()->refused()) break;
  }
  if (!locks_.back()->refused()) {
    held = &transport;
    holding_ = &transport;
    transport.HoldOpen(true);
    return;
  }
  const std::optional<long> holder = locks_.back()->holder();
  locks_.clear();  // none is held while another program holds one of them
  busy_ = std::make_unique<BusyAdapter>(transport, holder);
  busyScope_.emplace(*busy_);
  held = busy_.get();
}

AdapterReservation::~AdapterReservation() {
  if (holding_ != nullptr) holding_->HoldOpen(false);
  held = previouslyHeld_;
}

}  // namespace pavok
