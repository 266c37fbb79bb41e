#include "AdapterReservation.h"

#include <string>

namespace pavok {

namespace {

// The adapter as this program sees it while another program holds it.
class BusyAdapter final : public Transport {
 public:
  BusyAdapter(const Transport& adapter, const AdapterLock& lock)
      : adapter_(adapter), holder_(lock.holder()), lockFailure_(lock.failure()) {}

  OpenResult Open() override { return {LastOpenFailure(), holder_}; }
  ExchangeResult Exchange(std::span<const std::uint8_t, 5>, std::span<std::uint8_t>) override { return {}; }
  void Close() override {}
  OpenFailure LastOpenFailure() const override {
    return lockFailure_.empty() ? OpenFailure::InUse : OpenFailure::Other;
  }
  std::string Describe() const override { return adapter_.Describe(); }
  std::vector<std::string> LockNames() const override { return adapter_.LockNames(); }

  const std::string& lockFailure() const { return lockFailure_; }

 private:
  const Transport& adapter_;
  std::optional<long> holder_;
  std::string lockFailure_;
};

// Another program holds the lock, or none could be taken at all.
bool Kept(const AdapterLock& lock) { return lock.refused() || !lock.failure().empty(); }

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
    if (Kept(*locks_.back())) break;
  }
  if (!Kept(*locks_.back())) {
    held = &transport;
    holding_ = &transport;
    transport.HoldOpen(true);
    return;
  }
  busy_ = std::make_unique<BusyAdapter>(transport, *locks_.back());
  locks_.clear();  // none is held while one of them is kept from this program
  busyScope_.emplace(*busy_);
  held = busy_.get();
}

AdapterReservation::~AdapterReservation() {
  if (holding_ != nullptr) holding_->HoldOpen(false);
  held = previouslyHeld_;
}

std::string CurrentAdapterLockFailure() {
  const auto* busy = dynamic_cast<const BusyAdapter*>(&CurrentTransport());
  return busy != nullptr ? busy->lockFailure() : std::string();
}

}  // namespace pavok
