#pragma once
// The dialog opened as the program opens it, shown off screen, with a
// scripted window as the active one so that messages are answered without a
// message box. Helpers act on controls the way a user does.

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <functional>

#include "BufferState.h"
#include "CProgrammerDlg.h"
#include "ScriptedWindow.h"

namespace pavok::test {

struct OpenedDialog {
  OpenedDialog() {
    Buffer() = BufferState{};
    dialog.OnInitDialog();
    dialog.show();
  }

  QListWidget& hexList() { return dialog.Item<QListWidget>(IDC_HEX_LIST); }
  QLineEdit& edit(ControlId id) { return dialog.Item<QLineEdit>(id); }
  QString entry(int row) { return hexList().item(row)->text(); }

  void click(ControlId button) { QTest::mouseClick(&dialog.Item<QAbstractButton>(button), Qt::LeftButton); }
  void clickEntry(int row) {
    QListWidget& list = hexList();
    list.scrollToItem(list.item(row));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(row)).center());
  }
  void doubleClickEntry(int row) {
    clickEntry(row);
    QListWidget& list = hexList();
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(row)).center());
  }
  // Replaces the field's text by typing, as a user does.
  void type(ControlId id, const QString& text) {
    QLineEdit& field = edit(id);
    field.setFocus();
    field.selectAll();
    QTest::keyClick(&field, Qt::Key_Delete);
    QTest::keyClicks(&field, text);
  }

  ScriptedWindow window;
  ActiveWindowScope scope{&window};
  CProgrammerDlg dialog;
};

// Runs `answer` on the next modal widget that opens (a message box, a file
// dialog) once it is up, while the caller's exec() waits for it.
inline void WhenModalOpens(std::function<void(QWidget&)> answer) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, answer = std::move(answer)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    timer->stop();
    answer(*modal);
    timer->deleteLater();
  });
  timer->start();
}

}  // namespace pavok::test
