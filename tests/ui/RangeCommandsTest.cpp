// The range fields, "область", "весь буфер" and the chip-type list as a user
// drives them. What ClearRange does to the buffer is tested in tests/buffer;
// here: the fields read and written, focus loss before the click, the view.

#include <QComboBox>
#include <QWheelEvent>
#include <algorithm>
#include <memory>

#include "DialogTestSupport.h"
#include "HexCodec.h"
#include "HexView.h"
#include "RangeEdits.h"

namespace pavok::test {

namespace {

// How many bytes of workImage[from, to] are 0xFF.
long ErasedBytes(std::size_t from, std::size_t to) {
  const auto& image = Buffer().workImage;
  return std::count(image.begin() + static_cast<long>(from), image.begin() + static_cast<long>(to) + 1, 0xFF);
}

}  // namespace

class RangeCommandsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<OpenedDialog> opened;

  QString field(ControlId id) { return opened->edit(id).text(); }
  QString checksumText() { return opened->edit(IDC_CHECKSUM).text(); }
  QComboBox& chipType() { return opened->dialog.Item<QComboBox>(IDC_CHIP_TYPE); }

  // The whole image zeroed and shown, so every cleared byte stands out.
  void ZeroTheBuffer() {
    Buffer().workImage.fill(0x00);
    RenderHexView(opened->dialog);
  }

 private slots:
  void init() {
    opened = std::make_unique<OpenedDialog>();
    QVERIFY(QTest::qWaitForWindowActive(&opened->dialog));
  }
  void cleanup() { opened.reset(); }

  // Typed into both fields, then "область" clicked with the mouse.
  void clearRange_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("shownStart");
    QTest::addColumn<QString>("shownEnd");
    QTest::addColumn<int>("clearedFrom");  // -1: nothing cleared
    QTest::addColumn<int>("clearedTo");
    QTest::addColumn<QString>("message");
    QTest::newRow("one byte") << "0000" << "0000" << "0000" << "0000" << 0 << 0 << "";
    QTest::newRow("last line") << "07F0" << "07FF" << "07F0" << "07FF" << 0x7F0 << 0x7FF << "";
    QTest::newRow("end clamped") << "0100" << "FFFF" << "0100" << "07FF" << 0x100 << 0x7FF << "";
    QTest::newRow("wholly beyond the chip") << "0900" << "0A00" << "0900" << "0A00" << -1 << -1 << "";
    QTest::newRow("order") << "0010" << "000F" << "0010" << "000F" << -1 << -1 << "Начальный адрес меньше конечного !";
    // Padded to 007F when the mouse takes the focus, then accepted.
    QTest::newRow("short end padded") << "0000" << "7F" << "0000" << "007F" << 0 << 0x7F << "";
    // One character is one position, a Cyrillic letter too.
    QTest::newRow("Cyrillic letter in the end")
        << "0000" << "00Ж1" << "0000" << "00Ж1" << -1 << -1 << "Неверная строка. Символ 2 ошибочный !";
  }
  void clearRange() {
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, shownStart);
    QFETCH(QString, shownEnd);
    QFETCH(int, clearedFrom);
    QFETCH(int, clearedTo);
    QFETCH(QString, message);
    ZeroTheBuffer();
    const QString zeroedSum = checksumText();
    const QString line1 = opened->entry(1);
    opened->clickEntry(1);  // a rebuild of the view would drop the selection

    opened->type(IDC_RANGE_START, start);
    opened->type(IDC_RANGE_END, end);
    opened->click(IDC_CLEAR_RANGE);

    QCOMPARE(field(IDC_RANGE_START), shownStart);
    QCOMPARE(field(IDC_RANGE_END), shownEnd);
    const std::vector<std::string> messages = message.isEmpty() ? std::vector<std::string>{}
                                                                : std::vector<std::string>{message.toStdString()};
    QCOMPARE(opened->window.messages, messages);
    QCOMPARE(opened->hexList().selectedItems().size(), clearedFrom < 0 ? 1 : 0);
    if (clearedFrom < 0) {
      QCOMPARE(ErasedBytes(0, kImageSize - 1), 0L);
      QCOMPARE(checksumText(), zeroedSum);
      QCOMPARE(opened->entry(1), line1);
      return;
    }
    const auto from = static_cast<std::size_t>(clearedFrom);
    const auto to = static_cast<std::size_t>(clearedTo);
    QCOMPARE(ErasedBytes(0, kImageSize - 1), static_cast<long>(to - from + 1));
    QCOMPARE(ErasedBytes(from, to), static_cast<long>(to - from + 1));
    QCOMPARE(checksumText(), QStringLiteral("КС: ") + QString::number((to - from + 1) * 0xFF, 16));
    const int byteInLine = static_cast<int>(from % 16);
    QCOMPARE(opened->entry(static_cast<int>(from / 16)).mid(6 + 3 * byteInLine, 2), QStringLiteral("FF"));
    QCOMPARE(Buffer().unsavedFlag, std::uint8_t{0});
  }

  // A field shortened by the program has not lost the focus, so it is not
  // padded: the click (without a focus change) finds three characters.
  void fieldThatKeptTheFocusIsRefusedForItsLength() {
    opened->edit(IDC_RANGE_END).setText(QStringLiteral("7FF"));
    opened->dialog.Item<QAbstractButton>(IDC_CLEAR_RANGE).click();
    QCOMPARE(opened->window.messages, std::vector<std::string>{std::string(kAddressLengthMessage)});
    QCOMPARE(field(IDC_RANGE_END), QStringLiteral("7FF"));
    QCOMPARE(ErasedBytes(0, kImageSize - 1), static_cast<long>(kImageSize));
  }

  void emptiedFieldShowsZerosWhenLeft() {
    opened->type(IDC_RANGE_START, QString());
    QTest::keyClick(&opened->edit(IDC_RANGE_START), Qt::Key_Tab);
    QCOMPARE(field(IDC_RANGE_START), QStringLiteral("0000"));
    QVERIFY(opened->window.calls.empty());
  }

  // Qt takes the focus from a field while the dialog is torn down; the
  // handler must not run on a half-destroyed dialog.
  void fieldWithTheFocusWhenTheDialogGoesAway() {
    opened->type(IDC_RANGE_END, QStringLiteral("7"));
    opened.reset();
  }

  void clearBuffer_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("No") << false;
    QTest::newRow("Yes") << true;
  }
  void clearBuffer() {
    QFETCH(bool, yes);
    Buffer().workImage[0x10] = 0x00;
    Buffer().workImage[0x900] = 0x00;  // beyond the chip
    Buffer().referenceImage[0x20] = 0x00;
    Buffer().changeMap[3] = 1;
    RenderHexView(opened->dialog);
    opened->type(IDC_RANGE_START, QStringLiteral("0123"));
    opened->window.answers = {yes};

    opened->click(IDC_CLEAR_BUFFER);

    QCOMPARE(opened->window.messages, std::vector<std::string>{std::string(kClearBufferQuestion)});
    const std::uint8_t expected = yes ? 0xFF : 0x00;
    QCOMPARE(Buffer().workImage[0x10], expected);
    QCOMPARE(Buffer().workImage[0x900], expected);
    QCOMPARE(Buffer().referenceImage[0x20], expected);
    QCOMPARE(Buffer().changeMap[3], static_cast<std::uint8_t>(yes ? 0 : 1));
    QCOMPARE(opened->entry(1).mid(6, 2), yes ? QStringLiteral("FF") : QStringLiteral("00"));
    QCOMPARE(field(IDC_RANGE_START), yes ? QStringLiteral("0000") : QStringLiteral("0123"));
  }

  // Chosen with the keyboard, as a user does; the bytes survive the switch.
  void chipTypeSwitchKeepsTheBytes() {
    Buffer().workImage[0x7FF] = 0x12;
    RenderHexView(opened->dialog);
    opened->doubleClickEntry(100);
    opened->type(IDC_RANGE_START, QStringLiteral("0123"));
    chipType().setFocus();

    QTest::keyClick(&chipType(), Qt::Key_Home);
    QCOMPARE(chipType().currentText(), QStringLiteral("C02"));
    QCOMPARE(Buffer().chipSize, 256);
    QCOMPARE(opened->hexList().count(), 16);
    QCOMPARE(checksumText(), QStringLiteral("КС: ff00"));
    QCOMPARE(field(IDC_RANGE_START), QStringLiteral("0000"));
    QCOMPARE(field(IDC_RANGE_END), QStringLiteral("00FF"));
    QCOMPARE(Buffer().editLineIndex, 100);

    QTest::keyClick(&chipType(), Qt::Key_End);
    QCOMPARE(Buffer().chipSize, 2048);
    QCOMPARE(opened->hexList().count(), 128);
    QCOMPARE(opened->entry(127).right(2), QStringLiteral("12"));
    QCOMPARE(field(IDC_RANGE_END), QStringLiteral("07FF"));
    QVERIFY(opened->hexList().selectedItems().isEmpty());
    QVERIFY(opened->window.messages.empty());
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

  // The list reports no selection: the size stays, the view and the fields
  // are redone all the same.
  void chipTypeListWithoutSelection() {
    opened->type(IDC_RANGE_START, QStringLiteral("0123"));
    chipType().clear();
    opened->dialog.OnChipTypeChange();
    QCOMPARE(opened->window.messages, std::vector<std::string>{std::string(kChipTypeErrorMessage)});
    QCOMPARE(Buffer().chipSize, 2048);
    QCOMPARE(opened->hexList().count(), 128);
    QCOMPARE(field(IDC_RANGE_START), QStringLiteral("0000"));
  }
};

}  // namespace pavok::test

QTEST_MAIN(pavok::test::RangeCommandsTest)
#include "RangeCommandsTest.moc"
