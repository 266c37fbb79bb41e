#include "OpenFailureHint.h"

#include "AdapterReservation.h"

namespace pavok {

std::string OpenFailureHint(const OpenResult& open) {
  const OpenFailure failure = open.failure;
  if (failure == OpenFailure::InUse) {
    const std::optional<long>& holder = open.holder;
    return "The adapter is in use by another program" +
           (holder ? " (process " + std::to_string(*holder) + ")" : std::string()) +
           "; try again once it has finished.";
  }
  if (const std::string lock = CurrentAdapterLockFailure(); failure == OpenFailure::Other && !lock.empty()) {
    return "The adapter's lock cannot be taken (" + lock + "), so nothing was sent: another program could be "
           "using the adapter.";
  }
  if (failure == OpenFailure::DriverMissing) return open.whatToDo;
  if (failure != OpenFailure::AccessDenied) return {};
  return "The adapter is connected, but this user may not open it: the udev rule " + std::string(kUdevRulePath) +
         " (installed with the pavok package) gives the logged-in user access; install it, then unplug and "
         "replug the adapter.";
}

}  // namespace pavok
