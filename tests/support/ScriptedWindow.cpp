#include "ScriptedWindow.h"

namespace pavok::test {

bool ScriptedWindow::AskYesNo(std::string_view text) {
  calls.push_back("ask: " + std::string(text));
  messages.emplace_back(text);
  if (answers.empty()) return false;
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

void ScriptedWindow::ShowMessage(std::string_view text) {
  calls.push_back("message: " + std::string(text));
  messages.emplace_back(text);
}

void ScriptedWindow::SetStatusText(std::string_view text) {
  calls.push_back("status: " + std::string(text));
  status = text;
}

void ScriptedWindow::SetProgressRange(int minimum, int maximum) {
  calls.push_back("range: " + std::to_string(minimum) + ".." + std::to_string(maximum));
  progressMin = minimum;
  progressMax = maximum;
}

void ScriptedWindow::SetProgressPos(int position) {
  calls.push_back("pos: " + std::to_string(position));
  progressPos = position;
  progressPositions.push_back(position);
}

bool ScriptedWindow::IsChecked(ControlId checkBox) {
  calls.push_back("checked: " + std::to_string(checkBox));
  const auto it = checkBoxes.find(checkBox);
  return it != checkBoxes.end() && it->second;
}

FileDialogResult ScriptedWindow::ShowFileDialog(const FileDialogRequest& request) {
  calls.push_back("file: " + request.title);
  fileRequests.push_back(request);
  if (fileAnswers.empty()) return {};
  FileDialogResult answer = fileAnswers.front();
  fileAnswers.pop_front();
  return answer;
}

std::vector<std::string> ScriptedWindow::CallsStartingWith(std::string_view prefix) const {
  std::vector<std::string> result;
  for (const std::string& call : calls) {
    if (call.starts_with(prefix)) result.push_back(call);
  }
  return result;
}

}  // namespace pavok::test
