#include "CProgrammerDlg.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <array>
#include <cstdio>
#include <cstdlib>

#include "BufferState.h"
#include "DialogBuilder.h"
#include "DialogFonts.h"
#include "DialogTemplate.h"
#include "HexCodec.h"
#include "HexView.h"
#include "Narrowing.h"
#include "ProgressRange.h"
#include "RangeFields.h"
#include "SystemTexts.h"
#include "UpperCaseValidator.h"

namespace pavok {

namespace {

// The message map: which notification of which control runs which handler.
// A handler is added by declaring it in CProgrammerDlg.h and adding its line
// here; no two lines may name the same control and notification.
//
// What stands for each notification in Qt (see Notifications.cpp):
//   Clicked    QAbstractButton::clicked
//   DblClk     QListWidget::itemDoubleClicked
//   SelChange  QListWidget::itemSelectionChanged, QComboBox::activated (the
//              user's choice only, never a selection the program makes)
//   KillFocus  QEvent::FocusOut of the field, seen by an event filter; Qt
//              delivers it before the click of the button that took the focus
// The check boxes have no line: they tick by themselves and are read only
// when a write starts.
struct MessageMapEntry {
  ControlId control;
  Notification code;
  void (CProgrammerDlg::*handler)();
};

constexpr std::array kMessageMap{
    MessageMapEntry{IDC_CHIP_TYPE, Notification::SelChange, &CProgrammerDlg::OnChipTypeChange},
    MessageMapEntry{IDC_HEX_LIST, Notification::DblClk, &CProgrammerDlg::OnHexListDblClk},
    MessageMapEntry{IDC_SAVE_LINE, Notification::Clicked, &CProgrammerDlg::OnSaveLine},
    MessageMapEntry{IDC_BUFFER_TO_FILE, Notification::Clicked, &CProgrammerDlg::OnBufferToFile},
    MessageMapEntry{IDC_CLEAR_BUFFER, Notification::Clicked, &CProgrammerDlg::OnClearBuffer},
    MessageMapEntry{IDC_CLEAR_LINE, Notification::Clicked, &CProgrammerDlg::OnClearLine},
    MessageMapEntry{IDC_CHIP_TO_BUFFER, Notification::Clicked, &CProgrammerDlg::OnChipToBuffer},
    MessageMapEntry{IDC_FILE_TO_BUFFER, Notification::Clicked, &CProgrammerDlg::OnFileToBuffer},
    MessageMapEntry{IDC_BUFFER_TO_CHIP, Notification::Clicked, &CProgrammerDlg::OnBufferToChip},
    MessageMapEntry{IDC_COMPARE, Notification::Clicked, &CProgrammerDlg::OnCompare},
    MessageMapEntry{IDC_ERASE_CHIP, Notification::Clicked, &CProgrammerDlg::OnEraseChip},
    MessageMapEntry{IDC_CLEAR_RANGE, Notification::Clicked, &CProgrammerDlg::OnClearRange},
    MessageMapEntry{IDC_RANGE_START, Notification::KillFocus, &CProgrammerDlg::OnKillFocusRangeStart},
    MessageMapEntry{IDC_RANGE_END, Notification::KillFocus, &CProgrammerDlg::OnKillFocusRangeEnd},
    MessageMapEntry{IDC_HEX_LIST, Notification::SelChange, &CProgrammerDlg::OnHexListSelChange},
    // The dialog's own: "Выход" ends it.
    MessageMapEntry{IDOK, Notification::Clicked, &CProgrammerDlg::OnOK},
};

constexpr bool EachNotificationHasOneHandler() {
  for (std::size_t i = 0; i < kMessageMap.size(); ++i) {
    for (std::size_t j = i + 1; j < kMessageMap.size(); ++j) {
      if (kMessageMap[i].control == kMessageMap[j].control && kMessageMap[i].code == kMessageMap[j].code) {
        return false;
      }
    }
  }
  return true;
}
static_assert(EachNotificationHasOneHandler());

constexpr int kInitialProgressMaximum = 128;

}  // namespace

void ControlMismatch(ControlId id, const char* expectedClass) {
  std::fprintf(stderr, "pavok: control %d is missing or not a %s\n", id, expectedClass);
  std::abort();
}

CProgrammerDlg::CProgrammerDlg(QWidget* parent) : QDialog(parent), windowOperations_(*this) {
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
  ConnectMessageMap();
}

void CProgrammerDlg::ConnectMessageMap() {
  for (const MessageMapEntry& entry : kMessageMap) {
    QWidget* control = GetDlgItem(entry.control);
    const auto handler = entry.handler;
    const auto run = [this, handler] { commandGuard_.Run([this, handler] { (this->*handler)(); }); };
    if (control == nullptr || !ConnectNotification(*control, entry.code, messageMapReceiver_, run)) {
      ControlMismatch(entry.control, "control for its message map entry");
    }
  }
}

QWidget* CProgrammerDlg::GetDlgItem(ControlId id) const {
  const auto found = controlsById_.find(id);
  return found == controlsById_.end() ? nullptr : found->second;
}

std::string CProgrammerDlg::GetDlgItemText(ControlId id) const {
  const QWidget* control = GetDlgItem(id);
  if (const auto* edit = qobject_cast<const QLineEdit*>(control)) return NarrowToWindows1251(edit->text());
  if (const auto* label = qobject_cast<const QLabel*>(control)) return NarrowToWindows1251(label->text());
  if (const auto* button = qobject_cast<const QAbstractButton*>(control)) return NarrowToWindows1251(button->text());
  return {};
}

void CProgrammerDlg::SetDlgItemText(ControlId id, std::string_view text) {
  QWidget* control = GetDlgItem(id);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    SetTextAsIs(*edit, ToQString(text));
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(ToQString(text));
  } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->setText(ToQString(text));
  } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
    box->setTitle(ToQString(text));
  }
}

bool CProgrammerDlg::OnInitDialog() {
  SetIcons();
  SetDlgItemText(IDC_STATUS, kPortClosedText);
  FillChipTypeList();
  SetRangeKeepingPosition(Item<QProgressBar>(IDC_PROGRESS), 0, kInitialProgressMaximum);
  SetFonts();
  ResetBuffer(Buffer());
  RenderHexView(*this);
  ShowRange(0, static_cast<std::uint16_t>(Buffer().chipSize - 1), *this);
  return true;
}

int CProgrammerDlg::DoModal() {
  const ActiveWindowScope active(&windowOperations_);
  OnInitDialog();
  return exec();
}

void CProgrammerDlg::OnOK() { accept(); }

void CProgrammerDlg::SetIcons() {
  // The window manager shows the icon on the task bar and for the minimised
  // window, so the dialog paints nothing of its own when minimised.
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/chip32.xpm"), QSize(32, 32));
  icon.addFile(QStringLiteral(":/icons/chip16.xpm"), QSize(16, 16));
  setWindowIcon(icon);
}

void CProgrammerDlg::FillChipTypeList() {
  auto& chipType = Item<QComboBox>(IDC_CHIP_TYPE);
  chipType.clear();
  for (const ChipType& type : kChipTypes) chipType.addItem(ToQString(type.label));
  // The chip size that goes with this row is the buffer's initial one.
  chipType.setCurrentIndex(kInitialChipTypeIndex);
  if (chipType.currentIndex() != kInitialChipTypeIndex) ShowMessage(GetActiveWindow(), "Error SetCurSel");
}

void CProgrammerDlg::SetFonts() {
  GetDlgItem(IDC_CREDIT)->setFont(MakeFont(kCreditFont));
  const QFont fixed = MakeFont(kFixedFont);
  GetDlgItem(IDC_HEX_LIST)->setFont(fixed);
  GetDlgItem(IDC_HEX_HEADER)->setFont(fixed);
  auto& lineEdit = Item<QLineEdit>(IDC_LINE_EDIT);
  lineEdit.setFont(fixed);
  lineEdit.setMaxLength(static_cast<int>(kEditLineLength));
  for (const ControlId rangeField : {IDC_RANGE_START, IDC_RANGE_END}) {
    auto& field = Item<QLineEdit>(rangeField);
    field.setFont(fixed);
    field.setMaxLength(static_cast<int>(kAddressTextLength));
  }
}

}  // namespace pavok
