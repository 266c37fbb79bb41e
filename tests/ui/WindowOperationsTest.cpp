// The dialog's window operations: real message boxes, the status and progress
// repainted while a transfer holds the event loop, check boxes by identifier,
// and Qt's file dialog answering as the file commands expect.

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QTemporaryDir>
#include <memory>

#include "DialogTestSupport.h"
#include "HexCodec.h"
#include "ImageFiles.h"
#include "QtFileDialog.h"

namespace pavok::test {

namespace {

// Counts the paint events a widget gets.
class PaintCounter final : public QObject {
 public:
  explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

FileDialogRequest ImageFileRequest(FileDialogKind kind) {
  FileDialogRequest request;
  request.kind = kind;
  request.title = kind == FileDialogKind::Open ? "Открытие файла" : "Сохранение буфера в файл";
  request.filters = {{"Прошивки (*.bin)", "*.bin"}, {"Все файлы (*.*)", "*.*"}};
  request.defaultExtension = kind == FileDialogKind::Save ? "bin" : "";
  return request;
}

// Types a name into each file dialog that opens and accepts it; records and
// declines any question asked on the way.
struct FileDialogTyping {
  explicit FileDialogTyping(const QString& name)
      : typing([this, name](QFileDialog& dialog) {
          title = dialog.windowTitle();
          TypeFileName(dialog, name);
        }),
        declining([this](QMessageBox& question) {
          questions << question.text();
          question.close();
        }) {}

  QString title;
  QStringList questions;
  ModalAnswerer<QFileDialog> typing;
  ModalAnswerer<QMessageBox> declining;
};

}  // namespace

class WindowOperationsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<OpenedDialog> opened;
  WindowOperations& operations() { return opened->dialog.windowOperations(); }

 private slots:
  void init() {
    opened = std::make_unique<OpenedDialog>();
    QVERIFY(QTest::qWaitForWindowExposed(&opened->dialog));
  }
  void cleanup() { opened.reset(); }

  void questionsAreAnsweredYesOrNo_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("answer");
    QTest::newRow("Yes") << int(QMessageBox::Yes) << true;
    QTest::newRow("No") << int(QMessageBox::No) << false;
  }
  void questionsAreAnsweredYesOrNo() {
    QFETCH(int, button);
    QFETCH(bool, answer);
    QString title;
    QMessageBox::StandardButtons buttons;
    const ModalAnswerer<QMessageBox> answerer([&](QMessageBox& box) {
      title = box.windowTitle();
      buttons = box.standardButtons();
      box.button(static_cast<QMessageBox::StandardButton>(button))->click();
    });
    QCOMPARE(operations().AskYesNo("Очистить буфер ?"), answer);
    QCOMPARE(title, QStringLiteral("Pavok USB device"));
    QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);
  }

  // A handler's refusal through the real message box, the way a user sees it.
  void refusalShowsARealMessageBox() {
    const ActiveWindowScope real(&operations());
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

  // A transfer runs inside a handler: no event is processed until it ends,
  // so the status and the progress bar must paint themselves.
  void statusAndProgressPaintAtOnce() {
    auto& status = opened->dialog.Item<QLabel>(IDC_STATUS);
    auto& progress = opened->dialog.Item<QProgressBar>(IDC_PROGRESS);
    PaintCounter statusPaints(status);
    PaintCounter progressPaints(progress);

    operations().SetStatusText("Порт открыт");
    QCOMPARE(status.text(), QStringLiteral("Порт открыт"));
    QVERIFY(statusPaints.paints > 0);
    operations().SetProgressRange(0, 64);
    const int paintsAfterRange = progressPaints.paints;
    QVERIFY(paintsAfterRange > 0);
    operations().SetProgressPos(5);
    QVERIFY(progressPaints.paints > paintsAfterRange);
    QCOMPARE(progress.maximum(), 64);
    QCOMPARE(progress.value(), 5);
  }

  // The bar keeps its position, clamped into a new range, as the platform's
  // does: a C16 read stopped at block 40, then a C02 comparison failing at
  // once leaves it full, not empty.
  void progressPositionIsClampedIntoTheRange_data() {
    QTest::addColumn<int>("before");   // position in the range 0..64
    QTest::addColumn<int>("maximum");  // of the new range 0..maximum
    QTest::addColumn<int>("then");     // a position set afterwards; -1: none
    QTest::addColumn<int>("shown");
    QTest::newRow("range shrinks under it") << 40 << 8 << -1 << 8;
    QTest::newRow("range still holds it") << 5 << 8 << -1 << 5;
    QTest::newRow("range grows") << 40 << 512 << -1 << 40;
    QTest::newRow("position past the end") << 0 << 8 << 99 << 8;
  }
  void progressPositionIsClampedIntoTheRange() {
    QFETCH(int, before);
    QFETCH(int, maximum);
    QFETCH(int, then);
    QFETCH(int, shown);
    operations().SetProgressRange(0, 64);
    operations().SetProgressPos(before);

    operations().SetProgressRange(0, maximum);
    if (then >= 0) operations().SetProgressPos(then);

    const auto& progress = opened->dialog.Item<QProgressBar>(IDC_PROGRESS);
    QCOMPARE(progress.maximum(), maximum);
    QCOMPARE(progress.value(), shown);
  }

  void checkBoxesAreReadByIdentifier() {
    opened->click(IDC_A0);
    QVERIFY(operations().IsChecked(IDC_A0));
    QVERIFY(!operations().IsChecked(IDC_A1));
    QVERIFY(!operations().IsChecked(IDC_FAST_WRITE));
    QVERIFY(!operations().IsChecked(IDC_HEX_LIST));
  }

  void nameFilters_data() {
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("filter");
    QTest::newRow("firmware") << "Прошивки (*.bin)" << "*.bin" << "Прошивки (*.bin)";
    QTest::newRow("every file") << "Все файлы (*.*)" << "*.*" << "Все файлы (*)";
    QTest::newRow("two patterns") << "Образы" << "*.bin;*.eep" << "Образы (*.bin *.eep)";
    QTest::newRow("two patterns shown") << "Intel HEX (*.hex *.ihx)" << "*.hex;*.ihx" << "Intel HEX (*.hex *.ihx)";
  }
  void nameFilters() {
    QFETCH(QString, display);
    QFETCH(QString, pattern);
    QFETCH(QString, filter);
    QCOMPARE(QtNameFilter({display.toStdString(), pattern.toStdString()}), filter);
  }

  void openTakesANameThatDoesNotExist() {
    QTemporaryDir directory;
    const QString missing = directory.filePath(QStringLiteral("missing.bin"));
    const FileDialogTyping typing(missing);

    const FileDialogResult result = operations().ShowFileDialog(ImageFileRequest(FileDialogKind::Open));

    QCOMPARE(QString::fromStdString(result.path), missing);
    QCOMPARE(result.errorCode, 0ul);
    QCOMPARE(typing.title, QStringLiteral("Открытие файла"));
    QVERIFY2(typing.questions.isEmpty(), qPrintable(typing.questions.join(u'\n')));
  }

  void saveAddsTheExtensionAndReplacesWithoutAsking() {
    QTemporaryDir directory;
    QFile existing(directory.filePath(QStringLiteral("old.bin")));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    const FileDialogTyping typing(directory.filePath(QStringLiteral("old")));

    const FileDialogResult result = operations().ShowFileDialog(ImageFileRequest(FileDialogKind::Save));

    QCOMPARE(QString::fromStdString(result.path), existing.fileName());
    QVERIFY2(typing.questions.isEmpty(), qPrintable(typing.questions.join(u'\n')));
  }

  // The image files' own dialogs: their filters in order, and the extension
  // a saved name typed without one gets under the filter selected.
  void extensionFollowsTheSelectedFilter_data() {
    QTest::addColumn<bool>("save");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("raw") << true << 0 << "image" << "image.bin";
    QTest::newRow("every file") << true << 1 << "image" << "image.bin";
    QTest::newRow("Intel HEX") << true << 2 << "image" << "image.hex";
    QTest::newRow("S-record") << true << 3 << "image" << "image.s19";
    QTest::newRow("typed extension kept") << true << 2 << "image.dat" << "image.dat";
    QTest::newRow("open adds nothing") << false << 2 << "image" << "image";
  }
  void extensionFollowsTheSelectedFilter() {
    QFETCH(bool, save);
    QFETCH(int, filter);
    QFETCH(QString, typed);
    QFETCH(QString, chosen);
    QTemporaryDir directory;
    QStringList shown;
    QString selectedAtStart;
    const ModalAnswerer<QFileDialog> typing([&](QFileDialog& dialog) {
      shown = dialog.nameFilters();
      selectedAtStart = dialog.selectedNameFilter();
      dialog.selectNameFilter(shown.value(filter));
      TypeFileName(dialog, directory.filePath(typed));
    });

    const FileDialogResult result =
        operations().ShowFileDialog(ImageFileDialogRequest(save ? FileDialogKind::Save : FileDialogKind::Open));

    QCOMPARE(QString::fromStdString(result.path), directory.filePath(chosen));
    QCOMPARE(shown, (QStringList{QStringLiteral("Прошивки (*.bin)"), QStringLiteral("Все файлы (*)"),
                                 QStringLiteral("Intel HEX (*.hex *.ihx)"),
                                 QStringLiteral("Motorola S-record (*.s19 *.srec *.mot)")}));
    QCOMPARE(selectedAtStart, QStringLiteral("Прошивки (*.bin)"));
  }

  void cancelGivesAnEmptyPath() {
    const ModalAnswerer<QFileDialog> cancelling([](QFileDialog& dialog) { dialog.reject(); });
    const FileDialogResult result = operations().ShowFileDialog(ImageFileRequest(FileDialogKind::Open));
    QVERIFY(result.path.empty());
    QCOMPARE(result.errorCode, 0ul);
  }
};

}  // namespace pavok::test

QTEST_MAIN(pavok::test::WindowOperationsTest)
#include "WindowOperationsTest.moc"
