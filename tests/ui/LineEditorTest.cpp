// The hex list and the line editor as a user drives them: selection,
// double-click, "Сохр." and "строку".

#include <QMessageBox>
#include <memory>

#include "DialogTestSupport.h"
#include "HexCodec.h"
#include "HexView.h"

namespace pavok::test {

namespace {
const QString kErased = QStringLiteral("FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF");
const QString kAscending = QStringLiteral("00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF");
}  // namespace

class LineEditorTest : public QObject {
  Q_OBJECT

  std::unique_ptr<OpenedDialog> opened;

  QString editorText() { return opened->edit(IDC_LINE_EDIT).text(); }
  QString checksumText() { return opened->edit(IDC_CHECKSUM).text(); }

 private slots:
  void init() { opened = std::make_unique<OpenedDialog>(); }
  void cleanup() { opened.reset(); }

  void selectingALinePutsItsAddressIntoTheRangeStart() {
    opened->clickEntry(0x1A);
    QCOMPARE(opened->edit(IDC_RANGE_START).text(), QStringLiteral("01A0"));
    QCOMPARE(opened->edit(IDC_RANGE_END).text(), QStringLiteral("07FF"));
  }

  void doubleClickThenSaveWithCommasAndLowerCaseDigits() {
    Buffer().workImage[0x50] = 0x12;
    RenderHexView(opened->dialog);
    opened->doubleClickEntry(5);
    QCOMPARE(editorText(), QStringLiteral("12 FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF"));
    QCOMPARE(Buffer().editLineIndex, 5);

    opened->type(IDC_LINE_EDIT, QStringLiteral("00,11,22,33,44,55,66,77,88,99,aa,bb,cc,dd,ee,ff"));
    QCOMPARE(editorText(), QStringLiteral("00,11,22,33,44,55,66,77,88,99,AA,BB,CC,DD,EE,FF"));
    opened->click(IDC_SAVE_LINE);

    QCOMPARE(opened->entry(5), QStringLiteral("0050: ") + kAscending);
    QCOMPARE(opened->entry(4), QStringLiteral("0040: ") + kErased);
    QCOMPARE(opened->entry(6), QStringLiteral("0060: ") + kErased);
    QCOMPARE(opened->hexList().count(), 128);
    QCOMPARE(opened->hexList().row(opened->hexList().selectedItems().value(0)), 5);
    QCOMPARE(editorText(), QString());
    QCOMPARE(checksumText(), QStringLiteral("КС: 7f008"));
    QCOMPARE(Buffer().unsavedFlag, std::uint8_t{1});
    QVERIFY(opened->window.messages.empty());
  }

  void cyrillicLetterInASeparatorIsAccepted() {
    opened->doubleClickEntry(2);
    QString text = kAscending;
    text[2] = u'ж';  // typed in lower case, shown upper case, one byte in Windows-1251
    opened->type(IDC_LINE_EDIT, text);
    opened->click(IDC_SAVE_LINE);
    QVERIFY(opened->window.messages.empty());
    QCOMPARE(opened->entry(2), QStringLiteral("0020: ") + kAscending);
  }

  void refusedTextsLeaveEverythingAsItWas_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QString badLast = kAscending;
    badLast[46] = u'X';
    QString cyrillicDigit = kAscending;
    cyrillicDigit[0] = u'Б';
    QTest::newRow("empty") << QString() << QString::fromUtf8(kEditLineLengthMessage.data());
    QTest::newRow("bad last character") << badLast << QStringLiteral("Неверная строка. Символ 46 ошибочный !");
    QTest::newRow("Cyrillic digit") << cyrillicDigit << QStringLiteral("Неверная строка. Символ 0 ошибочный !");
  }
  void refusedTextsLeaveEverythingAsItWas() {
    QFETCH(QString, text);
    QFETCH(QString, message);
    opened->doubleClickEntry(1);
    opened->type(IDC_LINE_EDIT, text);
    opened->click(IDC_SAVE_LINE);

    QCOMPARE(opened->window.messages, std::vector<std::string>{message.toStdString()});
    QCOMPARE(editorText(), text.toUpper());
    QCOMPARE(opened->entry(1), QStringLiteral("0010: ") + kErased);
    QCOMPARE(checksumText(), QStringLiteral("КС: 7f800"));
    QCOMPARE(Buffer().unsavedFlag, std::uint8_t{0});
  }

  void saveBeforeAnyDoubleClickGoesToLineZero() {
    opened->type(IDC_LINE_EDIT, kAscending);
    opened->click(IDC_SAVE_LINE);
    QCOMPARE(opened->entry(0), QStringLiteral("0000: ") + kAscending);
  }

  void clearLineErasesTheSelectedLineOnly() {
    for (std::size_t i = 0x20; i < 0x50; ++i) Buffer().workImage[i] = 0x00;
    RenderHexView(opened->dialog);
    opened->doubleClickEntry(2);
    opened->clickEntry(3);
    opened->click(IDC_CLEAR_LINE);

    QCOMPARE(opened->entry(3), QStringLiteral("0030: ") + kErased);
    QCOMPARE(opened->entry(2).mid(6, 2), QStringLiteral("00"));
    QCOMPARE(opened->entry(4).mid(6, 2), QStringLiteral("00"));
    QCOMPARE(opened->hexList().row(opened->hexList().selectedItems().value(0)), 3);
    QCOMPARE(editorText(), QString());
    QCOMPARE(Buffer().unsavedFlag, std::uint8_t{1});
    QCOMPARE(Buffer().editLineIndex, 2);
    QCOMPARE(checksumText(), QStringLiteral("КС: 7d820"));  // 32 bytes still 00
  }

  // After a rebuild no entry is selected, though Qt may keep a current row.
  void withoutASelectedEntryTheLineCommandsDoNothing() {
    opened->doubleClickEntry(7);
    opened->type(IDC_LINE_EDIT, QStringLiteral("kept"));
    opened->type(IDC_RANGE_START, QStringLiteral("0123"));
    RenderHexView(opened->dialog);
    QListWidget& list = opened->hexList();
    list.selectionModel()->setCurrentIndex(list.model()->index(4, 0), QItemSelectionModel::NoUpdate);
    Buffer().workImage[0x40] = 0x00;  // the view does not show it yet

    opened->click(IDC_CLEAR_LINE);
    opened->dialog.OnHexListDblClk();
    opened->dialog.OnHexListSelChange();

    QCOMPARE(Buffer().workImage[0x40], std::uint8_t{0x00});
    QCOMPARE(Buffer().unsavedFlag, std::uint8_t{0});
    QCOMPARE(Buffer().editLineIndex, 7);
    QCOMPARE(editorText(), QStringLiteral("KEPT"));
    QCOMPARE(opened->edit(IDC_RANGE_START).text(), QStringLiteral("0123"));
  }

  // The chip type made smaller after a double-click: the line still takes the
  // bytes, the view keeps showing the chip's lines only.
  void saveLineBeyondASmallerChip() {
    opened->doubleClickEntry(100);
    Buffer().chipSize = 256;
    RenderHexView(opened->dialog);
    opened->type(IDC_LINE_EDIT, kAscending);
    opened->click(IDC_SAVE_LINE);

    QCOMPARE(Buffer().workImage[100 * 16 + 1], std::uint8_t{0x11});
    QCOMPARE(Buffer().unsavedFlag, std::uint8_t{1});
    QCOMPARE(opened->hexList().count(), 16);
    QCOMPARE(checksumText(), QStringLiteral("КС: ff00"));
    QCOMPARE(editorText(), QString());
  }

  // One answer through the real message box, the way a user sees it.
  void refusalShowsARealMessageBox() {
    const ActiveWindowScope real(&opened->dialog.windowOperations());
    QString title, text;
    QMessageBox::StandardButtons buttons;
    const ModalAnswerer<QMessageBox> answerer([&](QMessageBox& box) {
      title = box.windowTitle();
      text = box.text();
      buttons = box.standardButtons();
      box.button(QMessageBox::Ok)->click();
    });
    opened->click(IDC_SAVE_LINE);
    QCOMPARE(title, QStringLiteral("Pavok USB device"));
    QCOMPARE(text, QString::fromUtf8(kEditLineLengthMessage.data()));
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(opened->dialog.isVisible());
  }
};

}  // namespace pavok::test

QTEST_MAIN(pavok::test::LineEditorTest)
#include "LineEditorTest.moc"
