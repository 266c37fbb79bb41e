#include "QtFileDialog.h"

#include <QFileDialog>
#include <QFileInfo>

#include "QtTexts.h"

namespace pavok {

namespace {

QString QtPatterns(const std::string& pattern) {
  QStringList patterns = ToQString(pattern).split(u';', Qt::SkipEmptyParts);
  for (QString& one : patterns) {
    one = one.trimmed();
    if (one == u"*.*") one = QStringLiteral("*");
  }
  return patterns.join(u' ');
}

// The extension a saved name typed without one gets under the filter
// selected when the dialog closed.
QString DefaultSuffix(const FileDialogRequest& request, qsizetype filter) {
  if (filter >= 0 && filter < static_cast<qsizetype>(request.filters.size()) &&
      !request.filters[static_cast<std::size_t>(filter)].defaultExtension.empty()) {
    return ToQString(request.filters[static_cast<std::size_t>(filter)].defaultExtension);
  }
  return ToQString(request.defaultExtension);
}

}  // namespace

QString QtNameFilter(const FileFilter& filter) {
  QString name = ToQString(filter.displayText);
  const QString patterns = QtPatterns(filter.pattern);
  // The display text may show the patterns already, in either spelling.
  for (const QString& shown : {ToQString(filter.pattern), patterns}) {
    const QString shownPatterns = QStringLiteral(" (") + shown + u')';
    if (name.endsWith(shownPatterns)) {
      name.chop(shownPatterns.size());
      break;
    }
  }
  return name + QStringLiteral(" (") + patterns + u')';
}

FileDialogResult RunFileDialog(QWidget* parent, const FileDialogRequest& request) {
  QFileDialog dialog(parent, ToQString(request.title));
  // Qt's own dialog: the platform's would insist that an opened file exists.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(request.kind == FileDialogKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  QStringList filters;
  for (const FileFilter& filter : request.filters) filters << QtNameFilter(filter);
  dialog.setNameFilters(filters);
  if (request.selectedFilter >= 0 && request.selectedFilter < filters.size()) {
    dialog.selectNameFilter(filters[request.selectedFilter]);
  }

  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  QString path = dialog.selectedFiles().constFirst();
  const QString suffix = DefaultSuffix(request, filters.indexOf(dialog.selectedNameFilter()));
  const QFileInfo chosen(path);
  if (!suffix.isEmpty() && !chosen.fileName().contains(u'.') && !chosen.isDir()) path += u'.' + suffix;
  return {path.toStdString(), 0};
}

}  // namespace pavok
