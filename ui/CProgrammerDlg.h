#pragma once
// The main dialog: its controls made from the template, looked up by
// identifier, and the handlers its message map routes notifications to.
// Handlers hold no buffer logic; they move texts between the controls and the
// core functions.

#include <QDialog>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "CommandGuard.h"
#include "ControlIds.h"
#include "Notifications.h"
#include "QtWindowOperations.h"

namespace pavok {

class CProgrammerDlg final : public QDialog {
 public:
  explicit CProgrammerDlg(QWidget* parent = nullptr);

  // The state the dialog opens with: icons, status, chip-type list, progress
  // range, fonts and field limits, the empty buffer, the hex view and the
  // range fields. Returns true, leaving the focus on the first tab stop.
  bool OnInitDialog();

  // Initialises the dialog and runs it, as the active window, until one of
  // "Выход", Enter, Esc or the close box ends it.
  int DoModal();

  // The dialog's window operations, the ones the commands reach through
  // GetActiveWindow while the dialog runs.
  WindowOperations& windowOperations() { return windowOperations_; }
  // Runs every handler of the message map; keeps the dialog alive but deaf
  // while a chip transfer runs.
  CommandGuard& commandGuard() { return commandGuard_; }

  // The control with identifier `id`; nullptr when there is none.
  QWidget* GetDlgItem(ControlId id) const;
  // The control as the class it must be; a mismatch is a programming error
  // and ends the program.
  template <class Control>
  Control& Item(ControlId id) const;
  // All 31 controls in template order, the ones without identifier included.
  const std::vector<QWidget*>& controls() const { return controls_; }

  // A control's text narrowed to Windows-1251, one byte per character, as
  // the hex codec reads it.
  std::string GetDlgItemText(ControlId id) const;
  // Replaces a control's text with `text` (UTF-8) exactly as given: the
  // upper-case style applies to typing only.
  void SetDlgItemText(ControlId id, std::string_view text);

  // Message handlers (see the message map in CProgrammerDlg.cpp).
  void OnOK();
  // The hex view and the line editor (HexView.cpp).
  void OnHexListSelChange();
  void OnHexListDblClk();
  void OnSaveLine();
  void OnClearLine();
  // The chip type, the range fields and the clear buttons (RangeCommands.cpp).
  void OnChipTypeChange();
  void OnClearBuffer();
  void OnClearRange();
  void OnKillFocusRangeStart();
  void OnKillFocusRangeEnd();
  // The chip transfers and image files (TransferCommands.cpp).
  void OnChipToBuffer();
  void OnFileToBuffer();
  void OnBufferToFile();
  void OnBufferToChip();
  void OnEraseChip();
  void OnCompare();

 private:
  void ConnectMessageMap();
  void SetIcons();
  void FillChipTypeList();
  void SetFonts();
  void PadRangeField(ControlId field);

  std::vector<QWidget*> controls_;
  std::map<ControlId, QWidget*> controlsById_;
  QtWindowOperations windowOperations_;
  CommandGuard commandGuard_{*this};
  // Holds the message map's connections. Declared last, so destroyed first:
  // Qt still moves the focus out of a field while it tears the dialog down,
  // and no handler may run on a dialog whose members are gone.
  QObject messageMapReceiver_;
};

[[noreturn]] void ControlMismatch(ControlId id, const char* expectedClass);

template <class Control>
Control& CProgrammerDlg::Item(ControlId id) const {
  auto* control = qobject_cast<Control*>(GetDlgItem(id));
  if (control == nullptr) ControlMismatch(id, Control::staticMetaObject.className());
  return *control;
}

}  // namespace pavok
