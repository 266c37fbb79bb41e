#pragma once
// A chip transfer runs to its end inside the handler that started it. While
// it runs, the dialog stays alive: it repaints, answers the window manager
// and assistive technology, and shows every progress step. It takes no user
// input until the command ends: a click, key, wheel or touch aimed at the
// dialog and a request to close it are dropped, not kept for later, and no
// notification starts another handler meanwhile. The message boxes and file
// dialogs that a command opens take their input as usual.

#include <QObject>
#include <functional>

class QWidget;

namespace pavok {

class CommandGuard final : public QObject {
 public:
  explicit CommandGuard(QWidget& dialog) : dialog_(dialog) {}

  // Runs `handler`, unless a command that handles pending events is running:
  // then the notification is dropped.
  void Run(const std::function<void()>& handler);

  // Inside a handler: handles what is pending (paints, the window manager,
  // assistive technology) and drops user input to the dialog, which stays
  // busy until the handler ends. Outside a handler there is nothing to wait
  // for, and nothing is done.
  void HandlePendingEvents();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& dialog_;
  int handlersRunning_ = 0;
  bool busy_ = false;
};

}  // namespace pavok
