#include "QtProgrammerDlg.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QSignalBlocker>
#include <array>
#include <cstdio>
#include <cstdlib>

#include "DialogBuilder.h"
#include "DialogFonts.h"
#include "DialogTemplate.h"
#include "Notifications.h"
#include "ProgressRange.h"
#include "QtFileDialog.h"
#include "QtTexts.h"
#include "UpperCaseValidator.h"

namespace pavok {

namespace {

// What stands for each notification in Qt (see Notifications.cpp):
//   Clicked    QAbstractButton::clicked; Esc and the close box through reject()
//   DblClk     QListWidget::itemDoubleClicked
//   SelChange  QListWidget::itemSelectionChanged, QComboBox::activated (the
//              user's choice only, never a selection the program makes)
//   KillFocus  QEvent::FocusOut of the field, seen by an event filter; Qt
//              delivers it before the click of the button that took the focus
constexpr std::array kNotifications{Notification::Clicked, Notification::SelChange, Notification::DblClk,
                                    Notification::KillFocus};

QMessageBox::StandardButton RunMessageBox(QWidget& parent, std::string_view text,
                                          QMessageBox::StandardButtons buttons) {
  QMessageBox box(QMessageBox::NoIcon, ToQString(kMessageTitle), ToQString(text), buttons, &parent);
  box.setTextFormat(Qt::PlainText);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void ControlMismatch(ControlId id, const char* expectedClass) {
  std::fprintf(stderr, "pavok: control %d is missing or not a %s\n", id, expectedClass);
  std::abort();
}

QtProgrammerDlg::QtProgrammerDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(ToQString(kMainDialog.caption));
  // A caption with the system menu and the close box only: no minimise,
  // maximise or help button.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFont(MakeDialogFont(kMainDialog.fontFace, kMainDialog.fontPointSize, logicalDpiY()));
  const DialogBaseUnits units = BaseUnitsOf(font());
  setFixedSize(MapDialogSize(units, kMainDialog.width, kMainDialog.height));

  controls_ = BuildControls(*this, kMainDialogControls, units);
  for (std::size_t i = 0; i < kMainDialogControls.size(); ++i) {
    if (kMainDialogControls[i].id != IDC_STATIC) controlsById_[kMainDialogControls[i].id] = controls_[i];
  }
  ConnectNotifications();
}

// Every notification every control can raise goes to the logic, whose
// message map picks the ones it handles.
void QtProgrammerDlg::ConnectNotifications() {
  for (const auto& [id, control] : controlsById_) {
    for (const Notification code : kNotifications) {
      ConnectNotification(*control, code, notificationReceiver_, [this, id, code] { logic_.Notify(id, code); });
    }
  }
}

bool QtProgrammerDlg::OnInitDialog() {
  SetIcons();
  SetFonts();
  return logic_.OnInitDialog();
}

int QtProgrammerDlg::DoModal() {
  const ActiveWindowScope active(&windowOperations());
  OnInitDialog();
  return exec();
}

void QtProgrammerDlg::reject() { logic_.Notify(IDCANCEL, Notification::Clicked); }

void QtProgrammerDlg::EndDialog(int result) { done(result == IDOK ? Accepted : Rejected); }

void QtProgrammerDlg::SetIcons() {
  // The window manager shows the icon on the task bar and for the minimised
  // window, so the dialog paints nothing of its own when minimised.
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/chip32.xpm"), QSize(32, 32));
  icon.addFile(QStringLiteral(":/icons/chip16.xpm"), QSize(16, 16));
  setWindowIcon(icon);
}

void QtProgrammerDlg::SetFonts() {
  GetDlgItem(IDC_CREDIT)->setFont(MakeFont(kCreditFont));
  const QFont fixed = MakeFont(kFixedFont);
  for (const ControlId id : kFixedFontControls) GetDlgItem(id)->setFont(fixed);
}

QWidget* QtProgrammerDlg::GetDlgItem(ControlId id) const {
  const auto found = controlsById_.find(id);
  return found == controlsById_.end() ? nullptr : found->second;
}

std::string QtProgrammerDlg::GetText(ControlId id) {
  const QWidget* control = GetDlgItem(id);
  if (const auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text().toStdString();
  if (const auto* label = qobject_cast<const QLabel*>(control)) return label->text().toStdString();
  if (const auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text().toStdString();
  if (const auto* box = qobject_cast<const QGroupBox*>(control)) return box->title().toStdString();
  return {};
}

void QtProgrammerDlg::SetText(ControlId id, std::string_view utf8) {
  QWidget* control = GetDlgItem(id);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    SetTextAsIs(*edit, ToQString(utf8));
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(ToQString(utf8));
  } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->setText(ToQString(utf8));
  } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
    box->setTitle(ToQString(utf8));
  }
}

void QtProgrammerDlg::SetTextLimit(ControlId id, int characters) { Item<QLineEdit>(id).setMaxLength(characters); }

void QtProgrammerDlg::SetListLines(ControlId id, std::span<const std::string> lines) {
  auto& list = Item<QListWidget>(id);
  QStringList entries;
  entries.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) entries << ToQString(line);
  const QSignalBlocker silent(list);
  list.clear();
  list.addItems(entries);
}

void QtProgrammerDlg::SetListLine(ControlId id, int index, std::string_view utf8) {
  if (QListWidgetItem* entry = Item<QListWidget>(id).item(index)) entry->setText(ToQString(utf8));
}

// The selected entry, which need not be Qt's current row: after a rebuild a
// row can be current while none is selected.
int QtProgrammerDlg::GetListSelection(ControlId id) {
  const auto& list = Item<QListWidget>(id);
  const QList<QListWidgetItem*> selected = list.selectedItems();
  return selected.isEmpty() ? -1 : list.row(selected.constFirst());
}

void QtProgrammerDlg::SetComboItems(ControlId id, std::span<const std::string_view> items) {
  auto& combo = Item<QComboBox>(id);
  combo.clear();
  for (const std::string_view item : items) combo.addItem(ToQString(item));
  combo.setCurrentIndex(-1);
}

bool QtProgrammerDlg::SetComboSelection(ControlId id, int index) {
  auto& combo = Item<QComboBox>(id);
  combo.setCurrentIndex(index);
  return combo.currentIndex() == index;
}

int QtProgrammerDlg::GetComboSelection(ControlId id) { return Item<QComboBox>(id).currentIndex(); }

bool QtProgrammerDlg::IsChecked(ControlId id) {
  const auto* button = qobject_cast<const QAbstractButton*>(GetDlgItem(id));
  return button != nullptr && button->isChecked();
}

void QtProgrammerDlg::SetProgressRange(ControlId id, int minimum, int maximum) {
  SetRangeKeepingPosition(Item<QProgressBar>(id), minimum, maximum);
}

void QtProgrammerDlg::SetProgressPos(ControlId id, int position) {
  SetClampedPosition(Item<QProgressBar>(id), position);
}

void QtProgrammerDlg::EnableControl(ControlId id, bool enabled) {
  if (QWidget* control = GetDlgItem(id)) control->setEnabled(enabled);
}

void QtProgrammerDlg::SetFocus(ControlId id) {
  if (QWidget* control = GetDlgItem(id)) control->setFocus(Qt::OtherFocusReason);
}

ControlId QtProgrammerDlg::GetFocus() {
  const QWidget* focus = focusWidget();
  for (const auto& [id, control] : controlsById_) {
    if (control == focus) return id;
  }
  return IDC_STATIC;
}

bool QtProgrammerDlg::AskYesNo(std::string_view text) {
  return RunMessageBox(*this, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void QtProgrammerDlg::ShowMessage(std::string_view text) { RunMessageBox(*this, text, QMessageBox::Ok); }

FileDialogResult QtProgrammerDlg::ShowFileDialog(const FileDialogRequest& request) {
  return RunFileDialog(this, request);
}

void QtProgrammerDlg::Repaint(ControlId id) {
  if (QWidget* control = GetDlgItem(id)) control->repaint();
}

void QtProgrammerDlg::PumpEvents() { QCoreApplication::processEvents(); }

}  // namespace pavok
