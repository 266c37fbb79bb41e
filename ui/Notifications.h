#pragma once
// The control notifications the dialog's message map routes, and how each
// arrives from a Qt control. Only what the user does notifies: changes the
// program makes itself (filling a list, selecting a row) stay silent.

#include <functional>

class QObject;
class QWidget;

namespace pavok {

enum class Notification {
  Clicked,    // a button was pressed
  SelChange,  // the user chose another entry of a list or drop-down list
  DblClk,     // the user double-clicked an entry of a list
  KillFocus,  // an edit field lost the keyboard focus
};

// Runs `handler` whenever `control` raises `code`, for as long as `receiver`
// lives. False when the control cannot raise that notification.
bool ConnectNotification(QWidget& control, Notification code, QObject& receiver, std::function<void()> handler);

}  // namespace pavok
