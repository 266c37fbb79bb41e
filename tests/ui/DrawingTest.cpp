// What the dialog draws, read back from its pixels: every text and check box
// whole inside its frame at the template's size, as it would be drawn with
// all the room it wants.

#include <QLabel>
#include <QTest>
#include <memory>

#include "DialogTestSupport.h"

namespace pavok::test {

namespace {

// The first and last row of `area` that hold a pixel other than the
// background; first > last when there is none.
struct InkRows {
  int first = 0;
  int last = -1;
  int height() const { return last - first + 1; }
};

InkRows InkIn(const QImage& image, const QRect& area, QRgb background) {
  InkRows ink{area.bottom() + 1, area.top() - 1};
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (image.pixel(x, y) == background) continue;
      ink.first = std::min(ink.first, y);
      ink.last = std::max(ink.last, y);
    }
  }
  return ink;
}

// The part of a control that holds its drawing: inside the frame for a
// framed text, the whole control otherwise.
QRect DrawnArea(const QWidget& control) {
  const auto* frame = qobject_cast<const QFrame*>(&control);
  return frame != nullptr ? frame->contentsRect() : control.rect();
}

// The control's drawing with room to spare below and above it.
InkRows InkWithRoom(QWidget& control, QRgb background) {
  const QSize placed = control.size();
  control.resize(placed.width(), std::max(placed.height(), control.sizeHint().height()) + 16);
  const QImage free = control.grab().toImage();
  const InkRows ink = InkIn(free, DrawnArea(control), background);
  control.resize(placed);
  return ink;
}

}  // namespace

class DrawingTest : public QObject {
  Q_OBJECT

  std::unique_ptr<OpenedDialog> opened;

 private slots:
  void init() {
    opened = std::make_unique<OpenedDialog>();
    QVERIFY(QTest::qWaitForWindowExposed(&opened->dialog));
  }
  void cleanup() { opened.reset(); }

  // Descenders of "р", "у" and "/" are the first to go when a text sits too
  // low; a tick box too tall for its control loses its top and bottom lines.
  void controlsAreDrawnWholeInsideTheirFrames_data() {
    QTest::addColumn<int>("control");
    QTest::addColumn<QString>("status");
    QTest::newRow("status at start-up") << IDC_STATUS << QString();
    QTest::newRow("status open") << IDC_STATUS << QStringLiteral("Порт открыт");
    QTest::newRow("status path") << IDC_STATUS << QStringLiteral("/home/руслан/прошивки/pygmy (2).bin");
    QTest::newRow("A0") << IDC_A0 << QString();
    QTest::newRow("A1") << IDC_A1 << QString();
    QTest::newRow("Быстрая запись") << IDC_FAST_WRITE << QString();
  }
  void controlsAreDrawnWholeInsideTheirFrames() {
    QFETCH(int, control);
    QFETCH(QString, status);
    QtProgrammerDlg& dialog = opened->dialog;
    if (!status.isEmpty()) dialog.windowOperations().SetStatusText(status.toStdString());
    QWidget& widget = *dialog.GetDlgItem(control);
    const QRgb background = dialog.palette().color(QPalette::Window).rgb();

    const QImage drawn = dialog.grab().toImage();
    const QRect area = DrawnArea(widget).translated(widget.pos());
    const InkRows ink = InkIn(drawn, area, background);
    const InkRows whole = InkWithRoom(widget, background);

    QVERIFY2(ink.height() > 0, "nothing drawn");
    QCOMPARE(ink.height(), whole.height());
    if (area != widget.geometry()) {
      // The frame's bottom line is drawn whole, with nothing over it.
      const int frameLine = area.bottom() + 1;
      const QRgb line = drawn.pixel(area.left(), frameLine);
      for (int x = area.left(); x <= area.right(); ++x) QCOMPARE(drawn.pixel(x, frameLine), line);
      QVERIFY(line != background);
    }
  }
};

}  // namespace pavok::test

QTEST_MAIN(pavok::test::DrawingTest)
#include "DrawingTest.moc"
