#pragma once
// The dialog opened as the program opens it, shown off screen, with a
// scripted window as the active one so that messages are answered without a
// message box. Helpers act on controls the way a user does.

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>

#include "BufferState.h"
#include "QtProgrammerDlg.h"
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
    for (const QChar character : text) {
      // QTest's own key clicks know ASCII only; a Cyrillic letter comes as
      // the text of a key press, as from a Russian keyboard layout.
      QTest::sendKeyEvent(QTest::Click, &field, Qt::Key_unknown, QString(character), Qt::NoModifier);
    }
  }

  ScriptedWindow window;
  ActiveWindowScope scope{&window};
  QtProgrammerDlg dialog;
};

// While it lives, answers every modal widget of class Modal that opens (a
// message box, a file dialog) once it is up, while the code under test waits
// for it in exec().
template <class Modal>
class ModalAnswerer {
 public:
  explicit ModalAnswerer(std::function<void(Modal&)> answer) : answer_(std::move(answer)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start(10);
  }
  ModalAnswerer(const ModalAnswerer&) = delete;
  ModalAnswerer& operator=(const ModalAnswerer&) = delete;

  int answered = 0;

 private:
  void Poll() {
    auto* modal = qobject_cast<Modal*>(QApplication::activeModalWidget());
    if (modal == nullptr || !modal->isVisible() || modal == last_) return;
    last_ = modal;
    ++answered;
    answer_(*modal);
  }

  std::function<void(Modal&)> answer_;
  QPointer<Modal> last_;
  QTimer timer_;
};

// Types `name` into an open file dialog and presses Enter, as a user does.
// A dialog that refused the name gives up after a second, so the test fails
// instead of waiting for ever.
inline void TypeFileName(QFileDialog& dialog, const QString& name) {
  dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
  QTest::keyClick(&dialog, Qt::Key_Return);
  QTimer::singleShot(1000, &dialog, [&dialog] { dialog.reject(); });
}

}  // namespace pavok::test
