#pragma once
// The dialog's own status field, progress bar and check boxes, with the
// questions, messages and file dialogs answered by a script: what a chip
// transfer shows lands in the real controls, and a box ticked with the mouse
// is what the transfer reads.

#include "ScriptedWindow.h"
#include "WindowOperations.h"

namespace pavok::test {

class ScriptedAnswers final : public WindowOperations {
 public:
  ScriptedAnswers(ScriptedWindow& script, WindowOperations& dialog) : script_(script), dialog_(dialog) {}

  bool AskYesNo(std::string_view text) override { return script_.AskYesNo(text); }
  void ShowMessage(std::string_view text) override { script_.ShowMessage(text); }
  FileDialogResult ShowFileDialog(const FileDialogRequest& request) override {
    return script_.ShowFileDialog(request);
  }
  void SetStatusText(std::string_view text) override { dialog_.SetStatusText(text); }
  void SetProgressRange(int minimum, int maximum) override { dialog_.SetProgressRange(minimum, maximum); }
  void SetProgressPos(int position) override { dialog_.SetProgressPos(position); }
  bool IsChecked(ControlId checkBox) override { return dialog_.IsChecked(checkBox); }

 private:
  ScriptedWindow& script_;
  WindowOperations& dialog_;
};

}  // namespace pavok::test
