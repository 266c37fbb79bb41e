#pragma once
// The main dialog in Qt Widgets: its controls made from the template table,
// looked up by identifier, and the control interface the dialog's logic
// (dialog/CProgrammerDlg.h) works them through. Every notification goes to
// the logic's message map; nothing here touches the buffer.

#include <QDialog>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "BusyInputFilter.h"
#include "CProgrammerDlg.h"
#include "ControlIds.h"
#include "DialogControls.h"

namespace pavok {

class QtProgrammerDlg final : public QDialog, public DialogControls {
 public:
  explicit QtProgrammerDlg(QWidget* parent = nullptr);

  // The logic's start-up state, with the icons and fonts of this toolkit.
  bool OnInitDialog();

  // Initialises the dialog and runs it, as the active window, until the
  // logic ends it ("Выход", Enter, Esc or the close box).
  int DoModal();

  CProgrammerDlg& logic() { return logic_; }
  WindowOperations& windowOperations() { return logic_.windowOperations(); }

  // The control with identifier `id`; nullptr when there is none.
  QWidget* GetDlgItem(ControlId id) const;
  // The control as the class it must be; a mismatch is a programming error
  // and ends the program.
  template <class Control>
  Control& Item(ControlId id) const;
  // All 31 controls in template order, the ones without identifier included.
  const std::vector<QWidget*>& controls() const { return controls_; }

  // Esc and the close box reach the logic as IDCANCEL; it ends the dialog.
  void reject() override;

  // DialogControls
  void SetText(ControlId id, std::string_view utf8) override;
  std::string GetText(ControlId id) override;
  void SetTextLimit(ControlId id, int characters) override;
  void SetListLines(ControlId id, std::span<const std::string> lines) override;
  void SetListLine(ControlId id, int index, std::string_view utf8) override;
  int GetListSelection(ControlId id) override;
  void SetComboItems(ControlId id, std::span<const std::string_view> items) override;
  bool SetComboSelection(ControlId id, int index) override;
  int GetComboSelection(ControlId id) override;
  bool IsChecked(ControlId id) override;
  void SetProgressRange(ControlId id, int minimum, int maximum) override;
  void SetProgressPos(ControlId id, int position) override;
  void EnableControl(ControlId id, bool enabled) override;
  void SetFocus(ControlId id) override;
  ControlId GetFocus() override;
  bool AskYesNo(std::string_view text) override;
  void ShowMessage(std::string_view text) override;
  FileDialogResult ShowFileDialog(const FileDialogRequest& request) override;
  void Repaint(ControlId id) override;
  void SetBusy(bool busy) override { busyInput_.SetBusy(busy); }
  void PumpEvents() override;
  void EndDialog(int result) override;

 private:
  void ConnectNotifications();
  void SetIcons();
  void SetFonts();

  std::vector<QWidget*> controls_;
  std::map<ControlId, QWidget*> controlsById_;
  BusyInputFilter busyInput_{*this};
  CProgrammerDlg logic_{*this};
  // Holds the notifications' connections. Declared last, so destroyed first:
  // Qt still moves the focus out of a field while it tears the dialog down,
  // and no handler may run on a dialog whose members are gone.
  QObject notificationReceiver_;
};

[[noreturn]] void ControlMismatch(ControlId id, const char* expectedClass);

template <class Control>
Control& QtProgrammerDlg::Item(ControlId id) const {
  auto* control = qobject_cast<Control*>(GetDlgItem(id));
  if (control == nullptr) ControlMismatch(id, Control::staticMetaObject.className());
  return *control;
}

}  // namespace pavok
