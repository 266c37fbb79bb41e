#include "OpenFailureHint.h"

#include "AdapterReservation.h"
#include "Translation.h"

namespace pavok {

std::string OpenFailureHint(const OpenResult& open) {
  const OpenFailure failure = open.failure;
  if (failure == OpenFailure::InUse) {
    const std::optional<long>& holder = open.holder;
    return holder ? FormatText(Tr("The adapter is in use by another program (process %1); try again once it has "
                                  "finished."),
                               {std::to_string(*holder)})
                  : Tr("The adapter is in use by another program; try again once it has finished.");
  }
  if (const std::string lock = CurrentAdapterLockFailure(); failure == OpenFailure::Other && !lock.empty()) {
    return FormatText(Tr("The adapter's lock cannot be taken (%1), so nothing was sent: another program could be "
                         "using the adapter."),
                      {lock});
  }
  if (failure == OpenFailure::DriverMissing) return open.whatToDo;
  if (failure != OpenFailure::AccessDenied) return {};
  return FormatText(Tr("The adapter is connected, but this user may not open it: the udev rule %1 (installed with "
                       "the pavok package) gives the logged-in user access; install it, then unplug and replug the "
                       "adapter."),
                    {kUdevRulePath});
}

}  // namespace pavok
