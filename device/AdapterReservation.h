#pragma once
// A transfer's hold on the current adapter, from before its first request
// to after its last, so that no other program's requests land between its
// own (a write group is two requests, and the adapter keeps the loaded
// bytes between them). While another program holds the adapter, it stands
// in, for as long as the reservation lives, as an adapter that cannot be
// opened: the transfer fails at its first request with the channel's own
// message and sends nothing. So it does when no lock can be taken at all. Reservations nest, so a command made of
// several transfers can hold the adapter across all of them.

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
  std::vector<std::unique_ptr<AdapterLock>> locks_;
  std::unique_ptr<Transport> busy_;
  std::optional<TransportScope> busyScope_;
};

// The process holding the current adapter, while a reservation was refused
// and the lock file names it.
std::optional<long> CurrentAdapterHolder();

// Why no lock could be taken on the current adapter (the lock file and the
// system's reason), while a reservation failed so; empty otherwise.
std::string CurrentAdapterLockFailure();

}  // namespace pavok
