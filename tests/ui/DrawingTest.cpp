// What the dialog draws, read back from its pixels: every text and check box
// whole inside its frame at the template's size, as it would be drawn with
// all the room it wants.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <memory>

#include "DialogTestSupport.h"
#include "Translation.h"

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

// The width a control's text needs, with the style's frame, margins and tick
// box around it (a group box's title: the indent and padding of its style sheet).
int NeededWidth(const QWidget& control) {
  const QFontMetrics metrics(control.font());
  const QStyle& style = *control.style();
  if (const auto* box = qobject_cast<const QGroupBox*>(&control)) return metrics.horizontalAdvance(box->title()) + 10;
  if (const auto* tick = qobject_cast<const QCheckBox*>(&control)) {
    return style.pixelMetric(QStyle::PM_IndicatorWidth) + style.pixelMetric(QStyle::PM_CheckBoxLabelSpacing) +
           metrics.horizontalAdvance(tick->text());
  }
  if (const auto* button = qobject_cast<const QPushButton*>(&control)) {
    return metrics.horizontalAdvance(button->text()) + style.pixelMetric(QStyle::PM_ButtonMargin) +
           2 * style.pixelMetric(QStyle::PM_DefaultFrameWidth);
  }
  const auto& label = *qobject_cast<const QLabel*>(&control);
  return metrics.horizontalAdvance(label.text()) + 2 * label.frameWidth();
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

  // Every caption of the template whole within its control's width, in
  // every language: a longer translation must be shortened, since the
  // controls stay where the template puts them.
  void captionsFitTheirControls_data() {
    QTest::addColumn<QString>("language");
    for (const Language& language : Languages()) QTest::newRow(language.code.data()) << QString::fromUtf8(language.code);
  }
  void captionsFitTheirControls() {
    QFETCH(QString, language);
    QVERIFY(SelectLanguage(language.toStdString()));
    QtProgrammerDlg dialog;
    SelectLanguage("ru");
    dialog.show();
    int captions = 0;
    for (const QWidget* widget : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      const bool captioned = qobject_cast<const QAbstractButton*>(widget) != nullptr ||
                             qobject_cast<const QGroupBox*>(widget) != nullptr ||
                             qobject_cast<const QLabel*>(widget) != nullptr;
      if (!captioned || widget == dialog.GetDlgItem(IDC_STATUS)) continue;
      ++captions;
      QVERIFY2(NeededWidth(*widget) <= widget->width(), qPrintable(widget->property("text").toString() +
                                                                   widget->property("title").toString()));
    }
    QCOMPARE(captions, 23);
  }
};

}  // namespace pavok::test

QTEST_MAIN(pavok::test::DrawingTest)
#include "DrawingTest.moc"
