#pragma once
// The window operations for the command-line program: messages and the
// progress bar on the error stream, questions on the user's terminal, check
// boxes and file dialogs answered from the command line.

#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "WindowOperations.h"

namespace pavok {

struct TerminalSettings {
  bool assumeYes = false;    // --yes: every question is answered Yes
  bool fastWrite = false;    // --fast: "Быстрая запись" is ticked
  bool verbose = false;      // show the status texts
  bool progressBar = false;  // draw a progress bar (the error stream is a terminal)
};

// Shows `question` to the user and returns the line typed in answer, or
// nothing when there is no terminal to ask on or it gave no line.
using TerminalPrompt = std::function<std::optional<std::string>(std::string_view question)>;

// Asks on the controlling terminal (/dev/tty), or on the standard input when
// that is a terminal; nothing otherwise.
std::optional<std::string> AskOnControllingTerminal(std::string_view question);

// "y", "yes", "д", "да", in either case.
bool IsYesAnswer(std::string_view answer);

class TerminalWindow final : public WindowOperations {
 public:
  TerminalWindow(TerminalSettings settings, std::ostream& errors, TerminalPrompt prompt = AskOnControllingTerminal);
  ~TerminalWindow() override;
  TerminalWindow(const TerminalWindow&) = delete;
  TerminalWindow& operator=(const TerminalWindow&) = delete;

  // The answers of the open and save file dialogs; an empty path cancels.
  void SetFilePaths(std::string openPath, std::string savePath);
  // A line of the program's own (a note, the reason for a failure), on a
  // line of its own even while the progress bar is drawn.
  void Report(std::string_view line);

  bool AskYesNo(std::string_view text) override;
  void ShowMessage(std::string_view text) override;
  // The message, then what the channel's last open says of the cause.
  void ShowOpenFailure(std::string_view text) override;
  void SetStatusText(std::string_view text) override;
  void SetProgressRange(int minimum, int maximum) override;
  void SetProgressPos(int position) override;
  bool IsChecked(ControlId checkBox) override;
  FileDialogResult ShowFileDialog(const FileDialogRequest& request) override;

 private:
  void DrawProgress(int position);
  void ClearProgress();

  TerminalSettings settings_;
  std::ostream& errors_;
  TerminalPrompt prompt_;
  std::string openPath_;
  std::string savePath_;
  std::string status_;
  int progressMin_ = 0;
  int progressMax_ = 100;
  bool progressShown_ = false;
};

}  // namespace pavok
