#include "OpenFailureHint.h"

namespace pavok {

std::string OpenFailureHint(const OpenResult& open) {
  const OpenFailure failure = open.failure;
  if (failure == OpenFailure::InUse) {
    const std::optional<long>& holder = open.holder;
    return "The adapter is in use by another program" +
           (holder ? " (process " + std::to_string(*holder) + ")" : std::string()) +
           "; try again once it has finished.";
  }
  if (failure != OpenFailure::AccessDenied) return {};
  return "The adapter is connected, but this user may not open it: the udev rule " + std::string(kUdevRulePath) +
         " (installed with the pavok package) gives the logged-in user access; install it, then unplug and "
         "replug the adapter.";
}

}  // namespace pavok
