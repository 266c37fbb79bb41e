// Transfers through the real Qt dialog on the emulated adapter: input during
// a slow transfer dropped at the level of Qt's events, and the one run
// through Qt's own message boxes and file dialogs. What the handlers chain is
// tested over scripted controls in tests/dialog.

#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <chrono>
#include <memory>
#include <utility>

#include "ChipWrite.h"
#include "DialogBuilder.h"
#include "DialogTestSupport.h"
#include "ImageFiles.h"
#include "SystemTexts.h"
#include "TestEnvironment.h"

namespace pavok::test {

namespace {

// The dialog open over the emulated adapter and a temporary working
// directory.
struct DialogOnEmulatedAdapter {
  TestEnvironment environment;
  OpenedDialog opened;

  std::string PathOf(const std::string& name) const { return (environment.directory / name).string(); }
  QString status() { return opened.dialog.Item<QLabel>(IDC_STATUS).text(); }
};

// A chip whose every byte differs from its neighbours.
std::vector<std::uint8_t> PatternedChip() {
  std::vector<std::uint8_t> bytes(2048);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return bytes;
}

std::string AsString(std::span<const std::uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

// The hex view's entry for line `line` of `bytes`, written out independently.
QString EntryOf(std::span<const std::uint8_t> bytes, int line) {
  QString entry = QStringLiteral("%1:").arg(line * 16, 4, 16, QLatin1Char('0'));
  for (int i = 0; i < 16; ++i) entry += QStringLiteral(" %1").arg(bytes[line * 16 + i], 2, 16, QLatin1Char('0'));
  return entry.toUpper();
}

// The part of a window repainted while it watches, in the window's own
// coordinates, whichever of its controls painted it.
class RepaintWatcher final : public QObject {
 public:
  explicit RepaintWatcher(QWidget& window) : window_(window) { QApplication::instance()->installEventFilter(this); }
  ~RepaintWatcher() override { QApplication::instance()->removeEventFilter(this); }
  QRegion painted;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() == &window_) {
      painted += static_cast<QPaintEvent*>(event)->region().translated(widget->mapTo(&window_, QPoint()));
    }
    return false;
  }

 private:
  QWidget& window_;
};

// Someone who answers the write question Yes and, at the first progress
// step, clicks "Сравнить КС", ticks "Быстрая запись", types into the line
// editor, presses Enter and asks the window to close, all queued as the window
// system queues them while the transfer runs.
class ImpatientPerson final : public WindowOperations {
 public:
  explicit ImpatientPerson(QtProgrammerDlg& dialog)
      : dialog_(dialog),
        watcher_(dialog),
        // From the status field across bare dialog background into the
        // credit: the background is the dialog's own to repaint.
        question_(MapDialogRect(BaseUnitsOf(dialog.font()), 300, 312, 100, 18)) {}

  std::vector<std::string> messages;
  bool questionRepainted = false;  // when the status last changed

  bool AskYesNo(std::string_view text) override {
    ShowMessage(text);
    dialog_.update(question_);  // what the closed question leaves behind
    watcher_.painted = {};
    return true;
  }
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  FileDialogResult ShowFileDialog(const FileDialogRequest& /*request*/) override { return {}; }
  bool IsChecked(ControlId checkBox) override { return real().IsChecked(checkBox); }
  void SetProgressRange(int minimum, int maximum) override { real().SetProgressRange(minimum, maximum); }
  void SetStatusText(std::string_view text) override {
    questionRepainted = QRegion(question_).subtracted(watcher_.painted).isEmpty();
    real().SetStatusText(text);
  }
  void SetProgressPos(int position) override {
    real().SetProgressPos(position);
    if (std::exchange(queued_, true)) return;
    PostClick(*dialog_.GetDlgItem(IDC_COMPARE));
    PostClick(*dialog_.GetDlgItem(IDC_FAST_WRITE));
    QCoreApplication::postEvent(dialog_.GetDlgItem(IDC_LINE_EDIT),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
    QCoreApplication::postEvent(dialog_.GetDlgItem(IDC_HEX_LIST),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
    QCoreApplication::postEvent(&dialog_, new QCloseEvent);
  }

 private:
  static void PostClick(QWidget& control) {
    const QPointF at = QRectF(control.rect()).center();
    QCoreApplication::postEvent(&control, new QMouseEvent(QEvent::MouseButtonPress, at, control.mapToGlobal(at),
                                                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(&control, new QMouseEvent(QEvent::MouseButtonRelease, at, control.mapToGlobal(at),
                                                          Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
  }
  WindowOperations& real() { return dialog_.windowOperations(); }

  QtProgrammerDlg& dialog_;
  RepaintWatcher watcher_;
  QRect question_;  // what the closed question leaves behind
  bool queued_ = false;
};

}  // namespace

class TransferCommandsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<DialogOnEmulatedAdapter> run;
  OpenedDialog& opened() { return run->opened; }
  EmulatedAdapter& adapter() { return run->environment.adapter; }

 private slots:
  void init() { run = std::make_unique<DialogOnEmulatedAdapter>(); }
  void cleanup() { run.reset(); }

  // A slow write keeps the dialog painting, and what a person does to it
  // meanwhile runs nothing, then or later: no second command, no end of the
  // dialog.
  void dialogPaintsButTakesNoInputDuringATransfer() {
    Buffer().chipSize = 256;
    adapter().SetRequestDelay(std::chrono::microseconds(200));
    ImpatientPerson person(opened().dialog);
    const ActiveWindowScope impatient(&person);

    opened().click(IDC_BUFFER_TO_CHIP);
    QCoreApplication::processEvents();  // anything left over would run now

    QVERIFY(person.questionRepainted);
    QCOMPARE(person.messages, std::vector<std::string>{std::string(kWriteQuestion)});
    QCOMPARE(adapter().exchanges(), 128);
    QVERIFY(opened().dialog.isVisible());
    QCOMPARE(opened().dialog.result(), 0);
    QCOMPARE(run->status(), QString::fromUtf8(kPortClosedText.data()));
    QVERIFY(!opened().dialog.windowOperations().IsChecked(IDC_FAST_WRITE));
    QCOMPARE(opened().edit(IDC_LINE_EDIT).text(), QString());
  }

  // The one run through Qt's own message box and file dialog: a read after
  // the unsaved-data question, saved under a name typed without extension,
  // then a load of a file that does not exist.
  void realMessageBoxesAndFileDialogs() {
    const std::vector<std::uint8_t> chip = PatternedChip();
    adapter().chip().Load(chip);
    Buffer().unsavedFlag = 1;
    const ActiveWindowScope real(&opened().dialog.windowOperations());
    QStringList boxes;
    const ModalAnswerer<QMessageBox> answering([&](QMessageBox& box) {
      boxes << box.windowTitle() + u'|' + box.text();
      box.button(box.standardButtons() & QMessageBox::Yes ? QMessageBox::Yes : QMessageBox::Ok)->click();
    });
    QStringList names{QString::fromStdString(run->PathOf("read")), QString::fromStdString(run->PathOf("missing.bin"))};
    QStringList titles;
    const ModalAnswerer<QFileDialog> typing([&](QFileDialog& dialog) {
      titles << dialog.windowTitle();
      TypeFileName(dialog, names.takeFirst());
    });

    opened().click(IDC_CHIP_TO_BUFFER);
    QCOMPARE(ReadFileBytes(run->PathOf("read.bin")), AsString(chip));
    QCOMPARE(run->status(), QString::fromStdString(run->PathOf("read.bin")));
    opened().click(IDC_FILE_TO_BUFFER);

    QCOMPARE(boxes, (QStringList{QStringLiteral("Pavok USB device|Данные не сохранены. Продолжать ?"),
                                 QStringLiteral("Pavok USB device|Невозможно открыть файл")}));
    QCOMPARE(titles, (QStringList{QStringLiteral("Сохранение буфера в файл"), QStringLiteral("Открытие файла")}));
    QCOMPARE(opened().entry(1), EntryOf(chip, 1));
  }
};

}  // namespace pavok::test

QTEST_MAIN(pavok::test::TransferCommandsTest)
#include "TransferCommandsTest.moc"
