#pragma once
// How each notification of the dialog's message map arrives from a Qt
// control. Only what the user does notifies: changes the program makes
// itself (filling a list, selecting a row) stay silent.

#include <functional>

#include "DialogControls.h"

class QObject;
class QWidget;

namespace pavok {

// Runs `handler` whenever `control` raises `code`, for as long as `receiver`
// lives. False when the control cannot raise that notification.
bool ConnectNotification(QWidget& control, Notification code, QObject& receiver, std::function<void()> handler);

}  // namespace pavok
