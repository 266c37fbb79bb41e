#include "QtWindowOperations.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QProgressBar>

#include "CProgrammerDlg.h"
#include "Narrowing.h"
#include "ProgressRange.h"
#include "QtFileDialog.h"

namespace pavok {

namespace {

QMessageBox::StandardButton RunMessageBox(QWidget& parent, std::string_view text,
                                          QMessageBox::StandardButtons buttons) {
  QMessageBox box(QMessageBox::NoIcon, ToQString(kMessageTitle), ToQString(text), buttons, &parent);
  box.setTextFormat(Qt::PlainText);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

bool QtWindowOperations::AskYesNo(std::string_view text) {
  return RunMessageBox(dialog_, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void QtWindowOperations::ShowMessage(std::string_view text) { RunMessageBox(dialog_, text, QMessageBox::Ok); }

void QtWindowOperations::SetStatusText(std::string_view text) {
  dialog_.SetDlgItemText(IDC_STATUS, text);
  ShowChange(*dialog_.GetDlgItem(IDC_STATUS));
}

void QtWindowOperations::SetProgressRange(int minimum, int maximum) {
  auto& bar = dialog_.Item<QProgressBar>(IDC_PROGRESS);
  SetRangeKeepingPosition(bar, minimum, maximum);
  ShowChange(bar);
}

void QtWindowOperations::SetProgressPos(int position) {
  auto& bar = dialog_.Item<QProgressBar>(IDC_PROGRESS);
  SetClampedPosition(bar, position);
  ShowChange(bar);
}

// A transfer holds the event loop until it ends: the control paints itself
// at once, and whatever else is pending (the region a closed question left,
// the window manager, assistive technology) is handled before the next step.
void QtWindowOperations::ShowChange(QWidget& control) {
  control.repaint();
  dialog_.commandGuard().HandlePendingEvents();
}

bool QtWindowOperations::IsChecked(ControlId checkBox) {
  const auto* button = qobject_cast<const QAbstractButton*>(dialog_.GetDlgItem(checkBox));
  return button != nullptr && button->isChecked();
}

FileDialogResult QtWindowOperations::ShowFileDialog(const FileDialogRequest& request) {
  return RunFileDialog(&dialog_, request);
}

}  // namespace pavok
