// Every transfer and file button clicked against the emulated adapter, the
// way a person works: the steps each handler chains, what reaches the chip
// and the files, and what the dialog shows afterwards. The commands' own
// rules are tested in tests/chip and tests/files.

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
#include "DeviceChannel.h"
#include "DialogTestSupport.h"
#include "ImageFiles.h"
#include "ScriptedAnswers.h"
#include "SystemTexts.h"
#include "TestEnvironment.h"

namespace pavok::test {

namespace {

// The dialog open over the emulated adapter and a temporary working
// directory; questions, messages and file dialogs answered by opened.window.
struct DialogOnEmulatedAdapter {
  TestEnvironment environment;
  OpenedDialog opened;
  ScriptedAnswers answers{opened.window, opened.dialog.windowOperations()};
  ActiveWindowScope scope{&answers};

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

const QString kAscending = QStringLiteral("00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF");

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
// step, clicks "Сравнить КС", presses Enter and asks the window to close,
// all queued as the window system queues them while the transfer runs.
class ImpatientPerson final : public WindowOperations {
 public:
  explicit ImpatientPerson(CProgrammerDlg& dialog) : dialog_(dialog), watcher_(dialog) {}

  std::vector<std::string> messages;
  bool questionRepainted = false;  // when the status last changed

  bool AskYesNo(std::string_view text) override {
    ShowMessage(text);
    dialog_.update(kQuestion);  // what the closed question leaves behind
    watcher_.painted = {};
    return true;
  }
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  FileDialogResult ShowFileDialog(const FileDialogRequest& /*request*/) override { return {}; }
  bool IsChecked(ControlId checkBox) override { return real().IsChecked(checkBox); }
  void SetProgressRange(int minimum, int maximum) override { real().SetProgressRange(minimum, maximum); }
  void SetStatusText(std::string_view text) override {
    questionRepainted = QRegion(kQuestion).subtracted(watcher_.painted).isEmpty();
    real().SetStatusText(text);
  }
  void SetProgressPos(int position) override {
    real().SetProgressPos(position);
    if (std::exchange(queued_, true)) return;
    QWidget& compare = *dialog_.GetDlgItem(IDC_COMPARE);
    const QPointF at = QRectF(compare.rect()).center();
    QCoreApplication::postEvent(&compare, new QMouseEvent(QEvent::MouseButtonPress, at, compare.mapToGlobal(at),
                                                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(&compare, new QMouseEvent(QEvent::MouseButtonRelease, at, compare.mapToGlobal(at),
                                                          Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    QCoreApplication::postEvent(dialog_.GetDlgItem(IDC_HEX_LIST),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
    QCoreApplication::postEvent(&dialog_, new QCloseEvent);
  }

 private:
  static constexpr QRect kQuestion{200, 150, 240, 100};
  WindowOperations& real() { return dialog_.windowOperations(); }

  CProgrammerDlg& dialog_;
  RepaintWatcher watcher_;
  bool queued_ = false;
};

}  // namespace

class TransferCommandsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<DialogOnEmulatedAdapter> run;
  OpenedDialog& opened() { return run->opened; }
  ScriptedWindow& script() { return run->opened.window; }
  EmulatedAdapter& adapter() { return run->environment.adapter; }

 private slots:
  void init() { run = std::make_unique<DialogOnEmulatedAdapter>(); }
  void cleanup() { run.reset(); }

  void readThenSave() {
    const std::vector<std::uint8_t> chip = PatternedChip();
    adapter().chip().Load(chip);
    opened().edit(IDC_RANGE_START).setText(QStringLiteral("0123"));
    const std::string path = run->PathOf("chip.bin");
    script().fileAnswers = {{path, 0}};

    opened().click(IDC_CHIP_TO_BUFFER);

    QCOMPARE(script().calls, std::vector<std::string>{"file: " + std::string(kSaveDialogTitle)});
    QCOMPARE(ReadFileBytes(path), AsString(chip));
    QCOMPARE(run->status(), QString::fromStdString(path));
    QCOMPARE(opened().entry(1), EntryOf(chip, 1));
    QCOMPARE(opened().entry(127), EntryOf(chip, 127));
    QCOMPARE(opened().edit(IDC_RANGE_START).text(), QStringLiteral("0123"));
  }

  // The read stopped at its question or at the adapter. After the question
  // the save dialog comes all the same; after a failed read, whose buffer
  // is not the chip's, it does not. The view shows the buffer as it now is.
  void saveDialogFollowsEveryRead_data() {
    QTest::addColumn<bool>("unsaved");
    QTest::addColumn<int>("failAt");  // -1: none, -2: no adapter, else the block
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("saveOffered");
    QTest::addColumn<QString>("firstEntry");
    QTest::newRow("read declined") << true << -1 << QString::fromUtf8(kUnsavedQuestion.data()) << true << "0000: 00 FF";
    QTest::newRow("no adapter") << false << -2 << QString::fromUtf8(kOpenFailedMessage.data()) << false
                                << "0000: 00 FF";
    QTest::newRow("failed at block 8")
        << false << 8
        << QString::fromUtf8("Ошибка чтения микросхемы по адресу 0100: адаптер не отвечает. Буфер прочитан частично.")
        << false << "0000: FF FF";
  }
  void saveDialogFollowsEveryRead() {
    QFETCH(bool, unsaved);
    QFETCH(int, failAt);
    QFETCH(QString, message);
    QFETCH(bool, saveOffered);
    QFETCH(QString, firstEntry);
    Buffer().unsavedFlag = unsaved ? 1 : 0;
    if (failAt != -1) adapter().SetFaultPlan(failAt == -2 ? FaultPlan::Absent() : FaultPlan::FailAt(failAt));
    Buffer().workImage[0] = 0x00;  // not shown yet

    opened().click(IDC_CHIP_TO_BUFFER);

    QCOMPARE(script().messages, std::vector<std::string>{message.toStdString()});
    QCOMPARE(script().CallsStartingWith("file: ").size(), saveOffered ? std::size_t{1} : std::size_t{0});
    if (saveOffered) QCOMPARE(run->status(), QString());  // the save dialog was cancelled
    QVERIFY(opened().entry(0).startsWith(firstEntry));
  }

  void fastWriteSendsTheSavedLineOnly() {
    opened().doubleClickEntry(5);
    opened().type(IDC_LINE_EDIT, kAscending);
    opened().click(IDC_SAVE_LINE);
    opened().click(IDC_FAST_WRITE);
    script().answers = {true};

    opened().click(IDC_BUFFER_TO_CHIP);

    QCOMPARE(script().messages, std::vector<std::string>{std::string(kWriteQuestion)});
    std::vector<std::uint16_t> written;
    for (const RecordedRequest& sent : adapter().requests()) {
      if (sent.request.code() == REQ_WRITE_DATA) written.push_back(sent.request.param1());
    }
    QCOMPARE(written, (std::vector<std::uint16_t>{0x50, 0x54, 0x58, 0x5C}));
    QCOMPARE(adapter().chip().contents()[0x5A], std::uint8_t{0xAA});
    QCOMPARE(adapter().chip().contents()[0x60], std::uint8_t{0xFF});
    QCOMPARE(Buffer().unsavedFlag, std::uint8_t{0});
    QCOMPARE(run->status(), QString::fromUtf8(kPortClosedText.data()));
    QCOMPARE(opened().dialog.Item<QProgressBar>(IDC_PROGRESS).value(), 0);
  }

  void eraseLeavesTheBufferAlone() {
    adapter().chip().Load(PatternedChip());
    Buffer().workImage[0x10] = 0x00;
    script().answers = {true};

    opened().click(IDC_ERASE_CHIP);

    QCOMPARE(script().messages, std::vector<std::string>{std::string(kEraseQuestion)});
    QCOMPARE(AsString(adapter().chip().contents()), std::string(2048, '\xFF'));
    QCOMPARE(Buffer().workImage[0x10], std::uint8_t{0x00});
  }

  void compare_data() {
    QTest::addColumn<bool>("chipDiffers");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("equal") << false << "OK !";
    QTest::newRow("different") << true << "Прошивки не одинаковые !\nРазличных байтов: 1, первый по адресу 0000";
  }
  void compare() {
    QFETCH(bool, chipDiffers);
    QFETCH(QString, verdict);
    if (chipDiffers) adapter().chip().Load(std::vector<std::uint8_t>{0x00});

    opened().click(IDC_COMPARE);

    QCOMPARE(script().messages.size(), std::size_t{1});
    QVERIFY(QString::fromStdString(script().messages[0]).endsWith(verdict));
    QCOMPARE(run->status(), QString::fromUtf8(kPortClosedText.data()));
  }

  void loadAShortFile() {
    const std::string path = run->PathOf("short.bin");
    WriteFileBytes(path, "\x01\x02\x03");
    opened().edit(IDC_RANGE_END).setText(QStringLiteral("0456"));
    script().fileAnswers = {{path, 0}};

    opened().click(IDC_FILE_TO_BUFFER);

    QCOMPARE(opened().entry(0), QStringLiteral("0000: 01 02 03") + QStringLiteral(" FF").repeated(13));
    QCOMPARE(run->status(), QString::fromStdString(path));
    QCOMPARE(opened().edit(IDC_RANGE_END).text(), QStringLiteral("0456"));
    QVERIFY(script().messages.empty());
  }

  // A cancelled load changes nothing, yet the view is redrawn and shows the
  // buffer as it is, with what changed behind it.
  void cancelledLoadShowsTheBufferAsItIs() {
    Buffer().workImage[0x7F0] = 0x00;  // not shown yet

    opened().click(IDC_FILE_TO_BUFFER);

    QCOMPARE(script().calls, std::vector<std::string>{"file: " + std::string(kOpenDialogTitle)});
    QCOMPARE(opened().entry(127), QStringLiteral("07F0: 00") + QStringLiteral(" FF").repeated(15));
    QCOMPARE(opened().edit(IDC_CHECKSUM).text(), QStringLiteral("КС: 7f701"));
    QCOMPARE(run->status(), QString());
  }

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
  }

  // Saving changes no control but the status: the view is not redrawn.
  void saveWritesTheBufferAndLeavesTheView() {
    Buffer().workImage[0] = 0x00;
    const std::string path = run->PathOf("saved.bin");
    script().fileAnswers = {{path, 0}};

    opened().click(IDC_BUFFER_TO_FILE);

    QCOMPARE(ReadFileBytes(path), '\0' + std::string(2047, '\xFF'));
    QCOMPARE(run->status(), QString::fromStdString(path));
    QVERIFY(opened().entry(0).startsWith(QStringLiteral("0000: FF")));
  }

  void checkBoxesRunNothing() {
    for (const ControlId box : {IDC_A0, IDC_A1, IDC_FAST_WRITE}) opened().click(box);
    QVERIFY(script().calls.empty());
    QCOMPARE(adapter().exchanges(), 0);
    QVERIFY(run->answers.IsChecked(IDC_A1));
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
