#include "QtFileDialog.h"

#include <QFileDialog>

namespace pavok {

namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString QtPatterns(const std::string& pattern) {
  QStringList patterns = Text(pattern).split(u';', Qt::SkipEmptyParts);
  for (QString& one : patterns) {
    one = one.trimmed();
    if (one == u"*.*") one = QStringLiteral("*");
  }
  return patterns.join(u' ');
}

}  // namespace

QString QtNameFilter(const FileFilter& filter) {
  QString name = Text(filter.displayText);
  const QString shownPatterns = QStringLiteral(" (") + Text(filter.pattern) + u')';
  if (name.endsWith(shownPatterns)) name.chop(shownPatterns.size());
  return name + QStringLiteral(" (") + QtPatterns(filter.pattern) + u')';
}

FileDialogResult RunFileDialog(QWidget* parent, const FileDialogRequest& request) {
  QFileDialog dialog(parent, Text(request.title));
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
  if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(Text(request.defaultExtension));

  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return {dialog.selectedFiles().constFirst().toStdString(), 0};
}

}  // namespace pavok
