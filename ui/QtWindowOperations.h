#pragma once
// The window operations of the main dialog: message boxes over it, the status
// field and the progress bar repainted at once while the dialog, busy with a
// chip transfer, handles its other pending events but no input (see
// CommandGuard.h), its check boxes, and Qt's file dialogs.

#include "WindowOperations.h"

class QWidget;

namespace pavok {

class CProgrammerDlg;

class QtWindowOperations final : public WindowOperations {
 public:
  explicit QtWindowOperations(CProgrammerDlg& dialog) : dialog_(dialog) {}

  bool AskYesNo(std::string_view text) override;
  void ShowMessage(std::string_view text) override;
  void SetStatusText(std::string_view text) override;
  void SetProgressRange(int minimum, int maximum) override;
  void SetProgressPos(int position) override;
  bool IsChecked(ControlId checkBox) override;
  FileDialogResult ShowFileDialog(const FileDialogRequest& request) override;

 private:
  void ShowChange(QWidget& control);

  CProgrammerDlg& dialog_;
};

}  // namespace pavok
