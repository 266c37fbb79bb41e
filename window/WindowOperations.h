#pragma once
// The few window operations that the chip transfers and file commands need.
// The Qt dialog, the terminal front end and the tests' scripted window each
// implement them; the core logic never sees a toolkit.

#include <string>
#include <string_view>
#include <vector>

#include "ControlIds.h"

namespace pavok {

// Every message box the system shows carries this title.
inline constexpr std::string_view kMessageTitle = "Pavok USB device";

struct FileFilter {
  std::string displayText;  // e.g. "Прошивки (*.bin)"
  std::string pattern;      // e.g. "*.bin"; several with ';' between them
  // Added on save to a name typed without an extension while this filter
  // is selected; empty: the request's defaultExtension.
  std::string defaultExtension{};
};

enum class FileDialogKind { Open, Save };

// What a file dialog is asked to show. The dialog never checks that an opened
// file exists and never asks before replacing a file: the command reports
// those cases itself.
struct FileDialogRequest {
  FileDialogKind kind = FileDialogKind::Open;
  std::string title;
  std::vector<FileFilter> filters;
  int selectedFilter = 0;        // index into filters
  std::string defaultExtension;  // added to a name typed without one (see FileFilter); empty on open
};

struct FileDialogResult {
  std::string path;            // full path of the chosen file; empty after Cancel
  unsigned long errorCode = 0; // non-zero when the dialog itself failed
};

class WindowOperations {
 public:
  virtual ~WindowOperations() = default;

  // A modal question with Yes and No; true means Yes.
  virtual bool AskYesNo(std::string_view text) = 0;
  // A modal message with an OK button.
  virtual void ShowMessage(std::string_view text) = 0;
  // The same, for the message that the adapter could not be opened; a
  // window that can say why (the device channel's LastDeviceOpen) adds it.
  virtual void ShowOpenFailure(std::string_view text) { ShowMessage(text); }
  virtual void SetStatusText(std::string_view text) = 0;
  virtual void SetProgressRange(int minimum, int maximum) = 0;
  virtual void SetProgressPos(int position) = 0;
  virtual bool IsChecked(ControlId checkBox) = 0;
  virtual FileDialogResult ShowFileDialog(const FileDialogRequest& request) = 0;
};

// The window the commands work on, standing in for the platform's active
// window. Null when no window is active.
WindowOperations* GetActiveWindow();

// Makes `window` the active one for as long as the returned scope lives and
// restores the previous one afterwards.
class ActiveWindowScope {
 public:
  explicit ActiveWindowScope(WindowOperations* window);
  ~ActiveWindowScope();
  ActiveWindowScope(const ActiveWindowScope&) = delete;
  ActiveWindowScope& operator=(const ActiveWindowScope&) = delete;

 private:
  WindowOperations* previous_;
};

// Message helpers that tolerate a missing window, and show each text in the
// selected language (Translation.h): a question without a window
// is answered No (the answer that changes nothing), and a message without a
// window goes to the standard error stream instead of being lost.
bool AskYesNo(WindowOperations* window, std::string_view text);
void ShowMessage(WindowOperations* window, std::string_view text);
void ShowOpenFailure(WindowOperations* window, std::string_view text);
void SetStatusText(WindowOperations* window, std::string_view text);
void SetProgressRange(WindowOperations* window, int minimum, int maximum);
void SetProgressPos(WindowOperations* window, int position);
bool IsChecked(WindowOperations* window, ControlId checkBox);
FileDialogResult ShowFileDialog(WindowOperations* window, const FileDialogRequest& request);

}  // namespace pavok
