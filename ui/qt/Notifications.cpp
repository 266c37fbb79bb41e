#include "Notifications.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>

namespace pavok {

namespace {

class FocusOutFilter final : public QObject {
 public:
  FocusOutFilter(std::function<void()> handler, QObject* parent) : QObject(parent), handler_(std::move(handler)) {}

  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    // A context menu of the field itself takes the focus only for a moment.
    if (event->type() == QEvent::FocusOut && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
      handler_();
    }
    return false;
  }

 private:
  std::function<void()> handler_;
};

// Connects `signal` of `control` when the control is a `Control`.
template <typename Control, typename Signal>
bool ConnectIfA(QWidget& control, Signal signal, QObject& receiver, const std::function<void()>& handler) {
  auto* typed = qobject_cast<Control*>(&control);
  if (typed == nullptr) return false;
  QObject::connect(typed, signal, &receiver, handler);
  return true;
}

}  // namespace

bool ConnectNotification(QWidget& control, Notification code, QObject& receiver, std::function<void()> handler) {
  switch (code) {
    case Notification::Clicked:
      return ConnectIfA<QAbstractButton>(control, &QAbstractButton::clicked, receiver, handler);
    case Notification::SelChange:
      // activated, unlike currentIndexChanged, comes from the user only.
      return ConnectIfA<QListWidget>(control, &QListWidget::itemSelectionChanged, receiver, handler) ||
             ConnectIfA<QComboBox>(control, &QComboBox::activated, receiver, handler);
    case Notification::DblClk:
      return ConnectIfA<QListWidget>(control, &QListWidget::itemDoubleClicked, receiver, handler);
    case Notification::KillFocus:
      if (qobject_cast<QLineEdit*>(&control) == nullptr) return false;
      // A deleted filter drops out of the control's list by itself.
      control.installEventFilter(new FocusOutFilter(std::move(handler), &receiver));
      return true;
  }
  return false;
}

}  // namespace pavok
