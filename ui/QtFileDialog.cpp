#include "QtFileDialog.h"

#include <QFileDialog>

#include "Narrowing.h"

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

}  // namespace

QString QtNameFilter(const FileFilter& filter) {
  QString name = ToQString(filter.displayText);
  const QString shownPatterns = QStringLiteral(" (") + ToQString(filter.pattern) + u')';
  if (name.endsWith(shownPatterns)) name.chop(shownPatterns.size());
  return name + QStringLiteral(" (") + QtPatterns(filter.pattern) + u')';
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
  if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(ToQString(request.defaultExtension));

  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return {dialog.selectedFiles().constFirst().toStdString(), 0};
}

}  // namespace pavok
