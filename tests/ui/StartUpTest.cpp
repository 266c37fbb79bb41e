// The Qt dialog as it opens, and how it ends: its controls made from the
// template, typing, fonts, keys. What the logic shows at start-up is tested
// in tests/dialog.

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <cstdlib>
#include <memory>

#include "DialogBuilder.h"
#include "DialogTemplate.h"
#include "DialogTestSupport.h"
#include "HexCodec.h"
#include "QtTexts.h"
#include "SystemTexts.h"

namespace pavok::test {

class StartUpTest : public QObject {
  Q_OBJECT

  std::unique_ptr<OpenedDialog> opened;

 private slots:
  void init() { opened = std::make_unique<OpenedDialog>(); }
  void cleanup() { opened.reset(); }

  void fieldLimits() {
    opened->type(IDC_LINE_EDIT, QString(48, u'A'));
    QCOMPARE(opened->edit(IDC_LINE_EDIT).text().size(), 47);
    for (const ControlId field : {IDC_RANGE_START, IDC_RANGE_END}) {
      opened->type(field, QStringLiteral("12345"));
      QCOMPARE(opened->edit(field).text(), QStringLiteral("1234"));
    }
  }

  void typedLettersBecomeUpperCaseWhereverTheCursorIs() {
    QLineEdit& field = opened->edit(IDC_RANGE_START);
    opened->type(IDC_RANGE_START, QStringLiteral("7f"));
    QCOMPARE(field.text(), QStringLiteral("7F"));
    QTest::keyClick(&field, Qt::Key_Home);
    QTest::keyClicks(&field, QStringLiteral("a"));
    QCOMPARE(field.text(), QStringLiteral("A7F"));
    QCOMPARE(field.cursorPosition(), 1);
    field.selectAll();
    field.insert(QStringLiteral("ab"));  // what a paste does
    QCOMPARE(field.text(), QStringLiteral("AB"));
  }

  void controlsFollowTheTemplate() {
    const std::vector<QWidget*>& controls = opened->dialog.controls();
    QCOMPARE(controls.size(), kMainDialogControls.size());
    const DialogBaseUnits units = BaseUnitsOf(opened->dialog.font());
    QCOMPARE(opened->dialog.size(), MapDialogSize(units, 449, 330));
    QCOMPARE(opened->dialog.windowTitle(), QStringLiteral("Pavok"));
    QVERIFY(!(opened->dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

    for (std::size_t i = 0; i < controls.size(); ++i) {
      const ControlTemplate& control = kMainDialogControls[i];
      const QRect expected = MapDialogRect(units, control.x, control.y, control.width, control.height);
      QCOMPARE(controls[i]->x(), expected.x());
      QCOMPARE(controls[i]->width(), expected.width());
      if (qobject_cast<QCheckBox*>(controls[i]) != nullptr) {
        // Grown, if at all, around its centre, so its tick box is drawn whole.
        QVERIFY(std::abs(controls[i]->geometry().center().y() - expected.center().y()) <= 1);
        QVERIFY(controls[i]->height() >= expected.height());
      } else {
        QCOMPARE(controls[i]->y(), expected.y());
      }
      if (control.id != IDC_STATIC) QCOMPARE(opened->dialog.GetDlgItem(control.id), controls[i]);
      // What a control is, for assistive technology: its name, or for a text
      // that is named by what it shows, its description.
      const QString what = ToQString(control.accessibleName);
      if (!what.isEmpty()) {
        QVERIFY(controls[i]->accessibleName() == what || controls[i]->accessibleDescription() == what);
      }
    }
    QCOMPARE(qobject_cast<QPushButton*>(controls[0])->isDefault(), true);
    QVERIFY(qobject_cast<QPushButton*>(controls[1])->autoDefault());
    QVERIFY(qobject_cast<QGroupBox*>(controls[12]) != nullptr);
    QVERIFY(qobject_cast<QCheckBox*>(controls[23]) != nullptr);
    QVERIFY(!opened->dialog.Item<QProgressBar>(IDC_PROGRESS).isTextVisible());
    for (const ControlId unnamed : {IDC_HEX_LIST, IDC_LINE_EDIT, IDC_RANGE_START, IDC_RANGE_END, IDC_CHECKSUM,
                                    IDC_STATUS, IDC_PROGRESS, IDC_CHIP_TYPE}) {
      const QWidget* control = opened->dialog.GetDlgItem(unnamed);
      QVERIFY2(!control->accessibleName().isEmpty() || !control->accessibleDescription().isEmpty(),
               "accessible name missing");
    }
  }

  void tabVisitsTheTabStopsInTemplateOrder() {
    std::vector<QWidget*> tabStops;
    for (std::size_t i = 0; i < kMainDialogControls.size(); ++i) {
      if (HasStyle(kMainDialogControls[i].style, ControlStyle::TabStop)) {
        tabStops.push_back(opened->dialog.controls()[i]);
      }
    }
    QCOMPARE(tabStops.size(), std::size_t{20});
    QWidget* focus = tabStops.front();
    for (std::size_t i = 1; i < tabStops.size(); ++i) {
      do {
        focus = focus->nextInFocusChain();
      } while (!(focus->focusPolicy() & Qt::TabFocus));
      QCOMPARE(focus, tabStops[i]);
    }
  }

  void fixedPitchFontOnTheHexTexts() {
    for (const ControlId id : {IDC_HEX_LIST, IDC_HEX_HEADER, IDC_LINE_EDIT, IDC_RANGE_START, IDC_RANGE_END}) {
      const QWidget* control = opened->dialog.GetDlgItem(id);
      QVERIFY2(QFontInfo(control->font()).fixedPitch(), qPrintable(QString::number(id)));
      QCOMPARE(QFontMetrics(control->font()).height(), 16);
    }
    const QFont credit = opened->dialog.GetDlgItem(IDC_CREDIT)->font();
    QVERIFY(QFontMetrics(credit).height() <= 11);
    QVERIFY(!opened->dialog.windowIcon().isNull());
  }

  // Enter presses the default button "Выход" unless a push button has the
  // focus; then it presses that one. In the line editor it saves the line.
  void enterEndsTheDialogFromAnyControlButAPushButton_data() {
    QTest::addColumn<int>("focus");
    QTest::newRow("range field") << IDC_RANGE_START;
    QTest::newRow("hex list") << IDC_HEX_LIST;
    QTest::newRow("closed chip-type list") << IDC_CHIP_TYPE;
    QTest::newRow("checksum field") << IDC_CHECKSUM;
    QTest::newRow("check box") << IDC_A0;
    QTest::newRow("Выход") << IDOK;
  }
  void enterEndsTheDialogFromAnyControlButAPushButton() {
    QFETCH(int, focus);
    QWidget* control = opened->dialog.GetDlgItem(focus);
    control->setFocus();
    QTest::keyClick(control, Qt::Key_Return);
    QVERIFY(!opened->dialog.isVisible());
    QCOMPARE(opened->dialog.result(), int(QDialog::Accepted));
    QVERIFY(opened->window.messages.empty());
  }

  void enterOnAFocusedPushButtonPressesIt() {
    QWidget* save = opened->dialog.GetDlgItem(IDC_SAVE_LINE);
    save->setFocus();
    QTest::keyClick(save, Qt::Key_Return);
    QVERIFY(opened->dialog.isVisible());
    QCOMPARE(opened->window.messages, std::vector<std::string>{std::string(kEditLineLengthMessage)});
  }

  // The focus starts on "Выход", so Enter straight away ends the dialog.
  void enterStraightAfterStartUpEndsTheDialog() {
    QtProgrammerDlg dialog;
    QWidget* focused = nullptr;
    QTimer::singleShot(0, &dialog, [&] {
      if (!QTest::qWaitForWindowActive(&dialog)) return dialog.reject();
      focused = QApplication::focusWidget();
      QTest::keyClick(dialog.windowHandle(), Qt::Key_Return);  // to whatever has the focus
    });
    QCOMPARE(dialog.DoModal(), int(QDialog::Accepted));
    QCOMPARE(focused, dialog.GetDlgItem(IDOK));
  }

  // Each control is read out as what it shows, and what it is stays said:
  // as its name, or, for a text that is named by what it shows, as its
  // description.
  void assistiveTechnologyReadsWhatEachControlShows_data() {
    QTest::addColumn<int>("control");
    QTest::addColumn<QString>("shows");
    QTest::addColumn<QString>("is");
    QTest::newRow("status") << IDC_STATUS << "Порт закрыт" << "Состояние порта";
    QTest::newRow("status, a path") << IDC_STATUS << "/home/руслан/прошивка.bin" << "Состояние порта";
    QTest::newRow("checksum") << IDC_CHECKSUM << "КС: 7f800" << "Контрольная сумма буфера";
    QTest::newRow("chip type") << IDC_CHIP_TYPE << "C16" << "Тип микросхемы";
    QTest::newRow("progress") << IDC_PROGRESS << "0" << "Ход операции";
    QTest::newRow("column header") << IDC_HEX_HEADER << "      00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F"
                                   << "";
  }
  void assistiveTechnologyReadsWhatEachControlShows() {
    QFETCH(int, control);
    QFETCH(QString, shows);
    QFETCH(QString, is);
    QtProgrammerDlg& dialog = opened->dialog;
    if (control == IDC_STATUS) dialog.windowOperations().SetStatusText(shows.toStdString());

    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(dialog.GetDlgItem(control));
    QVERIFY(accessible != nullptr);
    const QString name = accessible->text(QAccessible::Name);
    QVERIFY2(name == shows || accessible->text(QAccessible::Value) == shows, qPrintable(name));
    if (!is.isEmpty()) QVERIFY(name == is || accessible->text(QAccessible::Description) == is);
  }

  // Through the real keys and close requests: Enter in the line editor saves
  // the typed line, and with that edit unsaved the close box asks first.
  void enterInTheLineEditorSavesAndTheCloseBoxAsks() {
    opened->doubleClickEntry(2);
    opened->type(IDC_LINE_EDIT, QStringLiteral("00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF"));
    QTest::keyClick(&opened->edit(IDC_LINE_EDIT), Qt::Key_Return);
    QVERIFY(opened->dialog.isVisible());
    QCOMPARE(opened->entry(2), QStringLiteral("0020: 00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF"));
    QCOMPARE(opened->edit(IDC_LINE_EDIT).text(), QString());

    opened->window.answers = {false};
    opened->dialog.close();
    QVERIFY(opened->dialog.isVisible());
    opened->window.answers = {true};
    QTest::keyClick(opened->dialog.GetDlgItem(IDC_HEX_LIST), Qt::Key_Escape);
    QVERIFY(!opened->dialog.isVisible());
    QCOMPARE(opened->window.messages, (std::vector<std::string>(2, std::string(kUnsavedQuestion))));
  }

  void closeBoxEndsTheDialog() {
    opened->dialog.close();
    QVERIFY(!opened->dialog.isVisible());
    QCOMPARE(opened->dialog.result(), int(QDialog::Rejected));
  }

  void runningDialogIsTheActiveWindow() {
    QtProgrammerDlg dialog;
    WindowOperations* activeWhileRunning = nullptr;
    QTimer::singleShot(0, &dialog, [&] {
      activeWhileRunning = GetActiveWindow();
      dialog.Item<QPushButton>(IDOK).click();
    });
    QCOMPARE(dialog.DoModal(), int(QDialog::Accepted));
    QCOMPARE(activeWhileRunning, &dialog.windowOperations());
    QCOMPARE(GetActiveWindow(), static_cast<WindowOperations*>(&opened->window));
  }

  void escapeEndsTheDialogAndF1DoesNothing() {
    QTest::keyClick(opened->dialog.GetDlgItem(IDC_HEX_LIST), Qt::Key_F1);
    QVERIFY(opened->dialog.isVisible());
    QTest::keyClick(opened->dialog.GetDlgItem(IDC_HEX_LIST), Qt::Key_Escape);
    QVERIFY(!opened->dialog.isVisible());
    QCOMPARE(opened->dialog.result(), int(QDialog::Rejected));
  }
};

}  // namespace pavok::test

QTEST_MAIN(pavok::test::StartUpTest)
#include "StartUpTest.moc"
