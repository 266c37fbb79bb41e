// pavok, the dialog program: reads the command line, chooses the adapter and
// runs the one dialog until the user ends it.

#include <CLI/CLI.hpp>
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "DialogProgramOptions.h"
#include "LanguageOption.h"
#include "QtProgrammerDlg.h"
#include "QtTexts.h"
#include "StandardStreams.h"
#include "Translation.h"
#include "Version.h"

namespace pavok {

namespace {

struct ProgramOptions {
  TransportOptions transport;
  std::string screenshot;  // --screenshot FILE: render the opened dialog and exit
  std::string language;    // --language CODE
};

// The dialog as it looks once opened, as a PNG file. Nothing runs but the
// start-up, so the program needs no user to end it.
int SaveScreenshot(QtProgrammerDlg& dialog, const std::string& file) {
  const ActiveWindowScope active(&dialog.windowOperations());
  dialog.OnInitDialog();
  dialog.show();
  QApplication::processEvents();
  if (dialog.grab().save(QString::fromStdString(file), "PNG")) return 0;
  std::fprintf(stderr, "pavok: %s\n", FormatText(Tr("cannot write the screenshot to %1"), {file}).c_str());
  return 1;
}

// The application's one run: the dialog on the stack, modal, until it ends.
// It asks before unsaved line edits end with it.
int InitInstance(const ProgramOptions& options) {
  QtProgrammerDlg dialog;
  if (!options.screenshot.empty()) return SaveScreenshot(dialog, options.screenshot);
  dialog.DoModal();
  return 0;
}

// Qt's own buttons and file dialogs in the selected language, from Qt's
// translations where Qt is installed, or beside the program where Qt's
// deployment tool put them. Qt's built-in texts are English; without a
// translation file they stay so.
void TranslateQt(QTranslator& translator) {
  const QLocale language(ToQString(SelectedLanguage()));
  for (const QString& folder : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                QCoreApplication::applicationDirPath() + QStringLiteral("/translations")}) {
    if (translator.load(language, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
      QCoreApplication::installTranslator(&translator);
      return;
    }
  }
}

// Whether Qt has a screen to open the dialog on. Without one it would abort
// with a core dump; a screenshot needs no screen and is drawn off-screen.
bool DisplayAvailable() {
#ifdef _WIN32
  return true;
#else
  return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr ||
         std::getenv("QT_QPA_PLATFORM") != nullptr;
#endif
}

}  // namespace

}  // namespace pavok

namespace {

int Run(int argc, char** argv) {
  using namespace pavok;
  SelectProgramLanguage(LanguageInArguments(argc, argv));
  CLI::App cli{std::string(kDialogProgramDescription), "pavok"};
  ProgramOptions options;
  AddDialogProgramOptions(cli, options.transport, options.language);
  cli.add_option("--screenshot", options.screenshot, Tr("Render the dialog after start-up to a PNG file and exit"))
      ->type_name("FILE");
  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return cli.exit(error);
  }
  SelectProgramLanguage(options.language);

  std::string error;
  const std::unique_ptr<Transport> transport = MakeTransport(options.transport, error);
  if (!transport) {
    std::fprintf(stderr, "pavok: %s\n", error.c_str());
    return 1;
  }
  const TransportScope transportScope(*transport);

  if (!DisplayAvailable()) {
    if (options.screenshot.empty()) {
      std::fprintf(stderr, "pavok: %s\n",
                   Tr("no display to open the dialog on (DISPLAY is not set). Use pavok-cli, or run xvfb-run -a "
                      "pavok ... to try the dialog on a virtual screen.")
                       .c_str());
      return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }

  // Qt reads its own settings from the environment (QT_QPA_PLATFORM and the
  // like); the command line is ours alone.
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  QApplication::setApplicationName(QString::fromUtf8(kProductName.data(), kProductName.size()));
  QApplication::setApplicationVersion(QString::fromUtf8(kFileVersion.data(), kFileVersion.size()));
  // Lets the desktop match the window to its menu entry and icon.
  QGuiApplication::setDesktopFileName(QString::fromUtf8(kAppId.data(), kAppId.size()));
  QTranslator qtTexts;
  TranslateQt(qtTexts);
  return InitInstance(options);
}

}  // namespace

int main(int argc, char** argv) { return pavok::CheckStandardStreams(Run(argc, argv), "pavok", 1); }
