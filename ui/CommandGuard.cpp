#include "CommandGuard.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <algorithm>
#include <array>

namespace pavok {

namespace {

// What a person does to a window, as opposed to what the window system or
// the program does to it (paint, expose, focus, timers).
constexpr std::array kUserInput{
    QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick, QEvent::MouseMove,
    QEvent::Wheel,            QEvent::KeyPress,           QEvent::KeyRelease,          QEvent::ShortcutOverride,
    QEvent::Shortcut,         QEvent::ContextMenu,        QEvent::InputMethod,         QEvent::TouchBegin,
    QEvent::TouchUpdate,      QEvent::TouchEnd,           QEvent::TouchCancel,         QEvent::TabletPress,
    QEvent::TabletMove,       QEvent::TabletRelease,      QEvent::NativeGesture,       QEvent::Drop,
};

bool IsUserInput(QEvent::Type type) { return std::ranges::find(kUserInput, type) != kUserInput.end(); }

}  // namespace

void CommandGuard::Run(const std::function<void()>& handler) {
  if (busy_) return;
  ++handlersRunning_;
  handler();
  if (--handlersRunning_ > 0 || !busy_) return;
  // Input that came in after the last pending events were handled was aimed
  // at the busy dialog as well.
  QCoreApplication::processEvents();
  QCoreApplication::instance()->removeEventFilter(this);
  busy_ = false;
}

void CommandGuard::HandlePendingEvents() {
  if (handlersRunning_ == 0) return;
  if (!busy_) {
    busy_ = true;
    QCoreApplication::instance()->installEventFilter(this);
  }
  QCoreApplication::processEvents();
}

bool CommandGuard::eventFilter(QObject* watched, QEvent* event) {
  if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != &dialog_) return false;
  if (watched == &dialog_ && event->type() == QEvent::Close) {
    event->ignore();  // the dialog stays open
    return true;
  }
  if (!IsUserInput(event->type())) return false;
  event->accept();  // handled: no parent gets it either
  return true;
}

}  // namespace pavok
