#include "BusyInputFilter.h"

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

void BusyInputFilter::SetBusy(bool busy) {
  if (busy == installed_) return;
  installed_ = busy;
  if (busy) {
    QCoreApplication::instance()->installEventFilter(this);
  } else {
    QCoreApplication::instance()->removeEventFilter(this);
  }
}

bool BusyInputFilter::eventFilter(QObject* watched, QEvent* event) {
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
