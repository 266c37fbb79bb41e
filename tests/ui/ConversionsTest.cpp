// The two conversions the dialog makes on its way to the platform's terms:
// typed text to Windows-1251 bytes (checked against Qt's own codec), dialog
// units to pixels.

#include <QStringDecoder>
#include <QTest>

#include "DialogBuilder.h"
#include "Narrowing.h"

namespace pavok::test {

class ConversionsTest : public QObject {
  Q_OBJECT

 private slots:
  void narrowingAgreesWithTheCodePage() {
    QStringDecoder decoder("windows-1251");
    if (!decoder.isValid()) QSKIP("this Qt has no Windows-1251 codec to compare with");
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
      if (byte == 0x98) continue;  // the one byte without a character
      const char narrow = static_cast<char>(byte);
      const QString wide = decoder.decode(QByteArrayView(&narrow, 1));
      QCOMPARE(NarrowToWindows1251(wide.toStdString()), std::string(1, narrow));
    }
  }

  void dialogUnitsRoundLikeThePlatform_data() {
    QTest::addColumn<int>("baseWidth");
    QTest::addColumn<int>("baseHeight");
    QTest::addColumn<QRect>("units");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("6x13, Выход") << 6 << 13 << QRect(7, 306, 119, 18) << QRect(11, 497, 179, 29);
    QTest::newRow("6x12, dialog") << 6 << 12 << QRect(0, 0, 449, 330) << QRect(0, 0, 674, 495);
    QTest::newRow("7x16, hex list") << 7 << 16 << QRect(135, 18, 302, 279) << QRect(236, 36, 529, 558);
  }
  void dialogUnitsRoundLikeThePlatform() {
    QFETCH(int, baseWidth);
    QFETCH(int, baseHeight);
    QFETCH(QRect, units);
    QFETCH(QRect, pixels);
    QCOMPARE(MapDialogRect({baseWidth, baseHeight}, units.x(), units.y(), units.width(), units.height()), pixels);
  }
};

}  // namespace pavok::test

QTEST_MAIN(pavok::test::ConversionsTest)
#include "ConversionsTest.moc"
