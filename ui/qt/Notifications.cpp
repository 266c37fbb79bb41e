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

bool ConnectSelectionChange(QWidget& control, QObject& receiver, const std::function<void()>& handler) {
  if (auto* list = qobject_cast<QListWidget*>(&control)) {
    QObject::connect(list, &QListWidget::itemSelectionChanged, &receiver, handler);
    return true;
  }
  if (auto* combo = qobject_cast<QComboBox*>(&control)) {
    // activated, unlike currentIndexChanged, comes from the user only.
    QObject::connect(combo, &QComboBox::activated, &receiver, handler);
    return true;
  }
  return false;
}

}  // namespace

bool ConnectNotification(QWidget& control, Notification code, QObject& receiver, std::function<void()> handler) {
  switch (code) {
    case Notification::Clicked:
      if (auto* button = qobject_cast<QAbstractButton*>(&control)) {
        QObject::connect(button, &QAbstractButton::clicked, &receiver, handler);
        return true;
      }
      return false;
    case Notification::SelChange:
      return ConnectSelectionChange(control, receiver, handler);
    case Notification::DblClk:
      if (auto* list = qobject_cast<QListWidget*>(&control)) {
        QObject::connect(list, &QListWidget::itemDoubleClicked, &receiver, handler);
        return true;
      }
      return false;
    case Notification::KillFocus:
      if (qobject_cast<QLineEdit*>(&control) == nullptr) return false;
      // A deleted filter drops out of the control's list by itself.
      control.installEventFilter(new FocusOutFilter(std::move(handler), &receiver));
      return true;
  }
  return false;
}

}  // namespace pavok
