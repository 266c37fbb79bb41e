#pragma once
// A window for tests: records every window operation in order, answers
// questions and file dialogs from a script, and remembers what it shows.

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "WindowOperations.h"

namespace pavok::test {

class ScriptedWindow final : public WindowOperations {
 public:
  // One entry per call, e.g. "ask: Записать буфер в м/сх ?", "message: ...",
  // "status: Порт открыт", "range: 0..64", "pos: 3", "checked: 1019",
  // "file: Открытие файла".
  std::vector<std::string> calls;
  std::deque<bool> answers;                    // Yes/No answers, in order; No when empty
  std::deque<FileDialogResult> fileAnswers;    // file dialog answers; Cancel when empty
  std::map<ControlId, bool> checkBoxes;        // unticked when missing
  std::vector<FileDialogRequest> fileRequests;
  std::vector<std::string> messages;           // texts of questions and messages
  std::string status = "Static";
  int progressMin = 0, progressMax = 100, progressPos = 0;
  std::vector<int> progressPositions;          // every position set, in order

  bool AskYesNo(std::string_view text) override;
  void ShowMessage(std::string_view text) override;
  void SetStatusText(std::string_view text) override;
  void SetProgressRange(int minimum, int maximum) override;
  void SetProgressPos(int position) override;
  bool IsChecked(ControlId checkBox) override;
  FileDialogResult ShowFileDialog(const FileDialogRequest& request) override;

  // The calls that start with `prefix`.
  std::vector<std::string> CallsStartingWith(std::string_view prefix) const;
};

}  // namespace pavok::test
