#pragma once
// The window operations of the main dialog over its controls: message boxes
// over it, the status field and the progress bar painted at once while a
// chip transfer holds the event loop (see CommandGuard.h), its check boxes,
// and its file dialogs.

#include "CommandGuard.h"
#include "DialogControls.h"
#include "WindowOperations.h"

namespace pavok {

class DialogWindow final : public WindowOperations {
 public:
  DialogWindow(DialogControls& controls, CommandGuard& guard) : controls_(controls), guard_(guard) {}

  bool AskYesNo(std::string_view text) override { return controls_.AskYesNo(text); }
  void ShowMessage(std::string_view text) override { controls_.ShowMessage(text); }
  void SetStatusText(std::string_view text) override;
  void SetProgressRange(int minimum, int maximum) override;
  void SetProgressPos(int position) override;
  bool IsChecked(ControlId checkBox) override { return controls_.IsChecked(checkBox); }
  FileDialogResult ShowFileDialog(const FileDialogRequest& request) override {
    return controls_.ShowFileDialog(request);
  }

 private:
  void ShowChange(ControlId control);

  DialogControls& controls_;
  CommandGuard& guard_;
};

}  // namespace pavok
