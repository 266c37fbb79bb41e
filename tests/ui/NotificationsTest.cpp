// How notifications arrive from Qt controls: from the user only, never from
// changes the program makes.

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "Notifications.h"

namespace pavok::test {

class NotificationsTest : public QObject {
  Q_OBJECT

 private slots:
  void selectionChangeOfADropDownListComesFromTheUserOnly() {
    QWidget window;
    auto* list = new QComboBox(&window);
    list->addItems({QStringLiteral("C02"), QStringLiteral("C04"), QStringLiteral("C08")});
    int changes = 0;
    QVERIFY(ConnectNotification(*list, Notification::SelChange, window, [&] { ++changes; }));
    window.show();

    list->setCurrentIndex(2);
    QCOMPARE(changes, 0);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(list->currentIndex(), 1);
    QCOMPARE(changes, 1);
  }

  void killFocusWhenAnEditFieldLosesTheFocus() {
    QWidget window;
    auto* field = new QLineEdit(&window);
    auto* other = new QPushButton(&window);
    int losses = 0;
    auto receiver = std::make_unique<QObject>();
    QVERIFY(ConnectNotification(*field, Notification::KillFocus, *receiver, [&] { ++losses; }));
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));

    field->setFocus(Qt::TabFocusReason);
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(field, &popup);  // the field's own context menu
    QCOMPARE(losses, 0);
    other->setFocus(Qt::MouseFocusReason);
    QCOMPARE(losses, 1);

    receiver.reset();  // what the dialog does first when it goes
    field->setFocus(Qt::TabFocusReason);
    other->setFocus(Qt::MouseFocusReason);
    QCOMPARE(losses, 1);
  }

  void notificationsAControlCannotRaiseAreRefused() {
    QLineEdit field;
    QPushButton button;
    QObject receiver;
    QVERIFY(!ConnectNotification(field, Notification::Clicked, receiver, [] {}));
    QVERIFY(!ConnectNotification(button, Notification::DblClk, receiver, [] {}));
    QVERIFY(!ConnectNotification(button, Notification::KillFocus, receiver, [] {}));
  }
};

}  // namespace pavok::test

QTEST_MAIN(pavok::test::NotificationsTest)
#include "NotificationsTest.moc"
