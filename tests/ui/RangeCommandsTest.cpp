// The range fields and the chip-type list where Qt's own behaviour matters:
// the wheel, selections the program makes, and a field that has the focus
// while the dialog goes. What the commands do is tested in tests/dialog.

#include <QComboBox>
#include <QWheelEvent>
#include <memory>

#include "DialogTestSupport.h"

namespace pavok::test {

class RangeCommandsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<OpenedDialog> opened;

  QComboBox& chipType() { return opened->dialog.Item<QComboBox>(IDC_CHIP_TYPE); }

 private slots:
  void init() {
    opened = std::make_unique<OpenedDialog>();
    QVERIFY(QTest::qWaitForWindowActive(&opened->dialog));
  }
  void cleanup() { opened.reset(); }

  // Qt takes the focus from a field while the dialog is torn down; the
  // handler must not run on a half-destroyed dialog.
  void fieldWithTheFocusWhenTheDialogGoesAway() {
    opened->type(IDC_RANGE_END, QStringLiteral("7"));
    opened.reset();
  }

  // The chip type decides how much a save writes: a wheel turned over the
  // closed list changes it only while the list has the focus.
  void wheelTurnsTheChipTypeOnlyWithTheFocus_data() {
    QTest::addColumn<int>("focus");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("chipSize");
    QTest::newRow("hex list") << IDC_HEX_LIST << "C16" << 2048;
    QTest::newRow("range field") << IDC_RANGE_START << "C16" << 2048;
    QTest::newRow("the list itself") << IDC_CHIP_TYPE << "C08" << 1024;
  }
  void wheelTurnsTheChipTypeOnlyWithTheFocus() {
    QFETCH(int, focus);
    QFETCH(QString, shown);
    QFETCH(int, chipSize);
    QApplication::setActiveWindow(&opened->dialog);
    QVERIFY(QTest::qWaitForWindowActive(&opened->dialog));
    opened->dialog.GetDlgItem(focus)->setFocus(Qt::TabFocusReason);
    const QPointF centre = QRectF(chipType().rect()).center();
    QWheelEvent up(centre, chipType().mapToGlobal(centre), {}, {0, 120}, Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);

    QApplication::sendEvent(&chipType(), &up);

    QCOMPARE(chipType().currentText(), shown);
    QCOMPARE(Buffer().chipSize, chipSize);
    QCOMPARE(opened->hexList().count(), chipSize / 16);
  }

  void programmaticSelectionRunsNothing() {
    chipType().setCurrentIndex(0);
    QCOMPARE(Buffer().chipSize, 2048);
    QCOMPARE(opened->hexList().count(), 128);
  }
};

}  // namespace pavok::test

QTEST_MAIN(pavok::test::RangeCommandsTest)
#include "RangeCommandsTest.moc"
