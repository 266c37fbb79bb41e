#pragma once
// A transfer's hold on the current adapter, from before its first request
// to after its last, so that no other program's requests land between its
// own (a write group is two requests, and the adapter keeps the loaded
// bytes between them). While another program holds the adapter, it stands
// in, for as long as the reservation lives, as an adapter that cannot be
// opened, its open naming the holder: the transfer fails at its first
// request with the channel's own message and sends nothing. So it does when
// no lock can be taken at all. Reservations nest, so a command made of
// several transfers can hold the adapter across all of them; for that span
// the transport may keep the adapter open (Transport::HoldOpen).

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AdapterLock.h"
#include "Transport.h"

namespace pavok {

class AdapterReservation {
 public:
  AdapterReservation();
  ~AdapterReservation();
  AdapterReservation(const AdapterReservation&) = delete;
  AdapterReservation& operator=(const AdapterReservation&) = delete;

 private:
  const Transport* previouslyHeld_;
  Transport* holding_ = nullptr;  // the transport this reservation holds open
  std::vector<std::unique_ptr<AdapterLock>> locks_;
  std::unique_ptr<Transport> busy_;
  std::optional<TransportScope> busyScope_;
};

// Why no lock could be taken on the current adapter (the lock file and the
// system's reason), while a reservation failed so; empty otherwise.
std::string CurrentAdapterLockFailure();

}  // namespace pavok
