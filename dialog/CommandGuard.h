#pragma once
// A chip transfer runs to its end inside the handler that started it. While
// it runs, the dialog stays alive: it repaints, answers the window manager
// and assistive technology, and shows every progress step. It takes no user
// input until the command ends: input aimed at the dialog and requests to
// close it are dropped by the front end, not kept for later, and no
// notification starts another handler meanwhile. The message boxes and file
// dialogs a command opens take their input as usual.

#include <functional>

#include "DialogControls.h"

namespace pavok {

class CommandGuard {
 public:
  explicit CommandGuard(DialogControls& controls) : controls_(controls) {}

  // Runs `handler`, unless a command that handles pending events is running:
  // then the notification is dropped.
  void Run(const std::function<void()>& handler);

  // Inside a handler: handles what is pending (paints, the window manager,
  // assistive technology) and drops user input to the dialog, which stays
  // busy until the handler ends. Outside a handler there is nothing to wait
  // for, and nothing is done.
  void HandlePendingEvents();

 private:
  DialogControls& controls_;
  int handlersRunning_ = 0;
  bool busy_ = false;
};

}  // namespace pavok
