#include "WindowOperations.h"

#include <cstdio>

#include "Translation.h"

namespace pavok {

namespace {
WindowOperations* activeWindow = nullptr;
}

WindowOperations* GetActiveWindow() { return activeWindow; }

ActiveWindowScope::ActiveWindowScope(WindowOperations* window) : previous_(activeWindow) {
  activeWindow = window;
}

ActiveWindowScope::~ActiveWindowScope() { activeWindow = previous_; }

bool AskYesNo(WindowOperations* window, std::string_view text) {
  return window != nullptr && window->AskYesNo(Tr(text));
}

void ShowMessage(WindowOperations* window, std::string_view text) {
  const std::string shown = Tr(text);
  if (window != nullptr) {
    window->ShowMessage(shown);
    return;
  }
  std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(kMessageTitle.size()), kMessageTitle.data(), shown.c_str());
}

void ShowOpenFailure(WindowOperations* window, std::string_view text) {
  if (window != nullptr) {
    window->ShowOpenFailure(Tr(text));
    return;
  }
  ShowMessage(window, text);
}

void SetStatusText(WindowOperations* window, std::string_view text) {
  if (window != nullptr) window->SetStatusText(Tr(text));
}

void SetProgressRange(WindowOperations* window, int minimum, int maximum) {
  if (window != nullptr) window->SetProgressRange(minimum, maximum);
}

void SetProgressPos(WindowOperations* window, int position) {
  if (window != nullptr) window->SetProgressPos(position);
}

bool IsChecked(WindowOperations* window, ControlId checkBox) {
  return window != nullptr && window->IsChecked(checkBox);
}

FileDialogResult ShowFileDialog(WindowOperations* window, const FileDialogRequest& request) {
  if (window == nullptr) return {};
  FileDialogRequest shown = request;
  shown.title = Tr(request.title);
  for (FileFilter& filter : shown.filters) filter.displayText = Tr(filter.displayText);
  return window->ShowFileDialog(shown);
}

}  // namespace pavok
