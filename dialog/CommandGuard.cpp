#include "CommandGuard.h"

namespace pavok {

void CommandGuard::Run(const std::function<void()>& handler) {
  if (busy_) return;
  ++handlersRunning_;
  handler();
  if (--handlersRunning_ > 0 || !busy_) return;
  // Input that came in after the last pending events were handled was aimed
  // at the busy dialog as well.
  controls_.PumpEvents();
  controls_.SetBusy(false);
  busy_ = false;
}

void CommandGuard::HandlePendingEvents() {
  if (handlersRunning_ == 0) return;
  if (!busy_) {
    busy_ = true;
    controls_.SetBusy(true);
  }
  controls_.PumpEvents();
}

}  // namespace pavok
