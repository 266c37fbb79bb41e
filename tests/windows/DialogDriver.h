#pragma once
// Drives the native dialog as a person would, from a thread of its own while
// the dialog runs modally on the test's thread: real messages to its
// controls (BM_CLICK, the notifications the controls send, keys), texts read
// back (WM_GETTEXT, LB_GETTEXT), and its message boxes and file dialogs
// answered. Every wait gives up after ten seconds.

#include <functional>
#include <string>
#include <string_view>

#include "ControlIds.h"

#include <windows.h>

namespace pavok {

class NativeDialog;

namespace test {

class DialogDriver {
 public:
  DialogDriver(HWND dialog, const NativeDialog& native) : dialog_(dialog), native_(native) {}

  HWND dialog() const { return dialog_; }
  HWND item(ControlId id) const { return GetDlgItem(dialog_, id); }

  std::string Text(ControlId id) const;
  std::string ListLine(int index) const;
  int ListCount() const;
  std::string ComboText() const;  // the selected chip type

  // A click whose command opens a message box or file dialog (the button's
  // notification): returns at once, and the box is answered next.
  void Click(ControlId button) const;
  // A click whose command opens nothing (BM_CLICK): returns once handled.
  void Press(ControlId button) const;
  // The notification control `id` sends its dialog (LBN_SELCHANGE...),
  // handled when this returns.
  void Notify(ControlId id, WORD code) const;
  void Type(ControlId field, std::string_view utf8) const;
  void Key(ControlId control, WPARAM key) const;

  // Waits for the message box, answers it with `button` (IDYES, IDNO,
  // IDOK) and gives its text; empty when none came.
  std::string AnswerMessageBox(int button) const;
  // Waits for the file dialog titled `title` and chooses `path`, or cancels
  // it when `path` is empty. False when no such dialog came.
  bool AnswerFileDialog(std::string_view title, std::string_view path) const;
  // Waits until control `id` shows `text`.
  bool WaitForText(ControlId id, std::string_view text) const;
  // Waits until the status field shows `text` and the command that set it
  // has ended.
  bool WaitForStatus(std::string_view text) const;

 private:
  // A click or notification while the last command still ends would be
  // dropped, as a person's would: every new one waits for it.
  void WaitUntilIdle() const;

  HWND dialog_;
  const NativeDialog& native_;
};

// Runs the dialog on this thread and `script` on another; afterwards closes
// whatever the script left open. Returns how the dialog ended (IDOK,
// IDCANCEL).
int RunDialog(const std::function<void(DialogDriver&)>& script);

// A top-level dialog window of this process titled `title`, once it is
// there; nullptr after ten seconds.
HWND WaitForDialogWindow(std::string_view title);

}  // namespace test
}  // namespace pavok
