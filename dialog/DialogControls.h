#pragma once
// The one seam between the dialog's logic and a toolkit. A front end (Qt,
// Win32) builds the controls of the template in res/DialogTemplate.h and
// implements this interface over them, addressing each control by its
// identifier from res/ControlIds.h; the logic never sees a widget. Every
// user-visible text crosses in UTF-8, both ways.
//
// What the user does comes back as notifications: the front end calls
// CProgrammerDlg::Notify(control, Notification) for each, and the logic's
// message map decides what runs. Nothing the logic does through this
// interface may raise a notification.

#include <span>
#include <string>
#include <string_view>

#include "ControlIds.h"
#include "WindowOperations.h"

namespace pavok {

// What a control reports, as the platform's dialog notifications do.
enum class Notification {
  Clicked,    // a button was pressed. Enter on a control that is not a push
              // button presses IDOK; Esc and the close box (Alt+F4) press
              // IDCANCEL, as the platform's dialog manager does.
  SelChange,  // the user chose another entry of a list or drop-down list
  DblClk,     // the user double-clicked an entry of a list
  KillFocus,  // an edit field lost the keyboard focus
};

class DialogControls {
 public:
  virtual ~DialogControls() = default;

  // --- Texts: edit fields, static texts, buttons, group boxes.
  // Replaces the text exactly as given: an upper-case style applies to
  // typing only, and an edit's limit does not cut what the program sets.
  virtual void SetText(ControlId id, std::string_view utf8) = 0;
  virtual std::string GetText(ControlId id) = 0;
  // The most characters the user can type into edit field `id`.
  virtual void SetTextLimit(ControlId id, int characters) = 0;

  // --- The list box. Entries replaced here keep their order (no sorting);
  // none of these changes raises SelChange.
  // Replaces every entry; afterwards no entry is selected.
  virtual void SetListLines(ControlId id, std::span<const std::string> lines) = 0;
  // Rewrites entry `index` in place; the selection stays where it was.
  virtual void SetListLine(ControlId id, int index, std::string_view utf8) = 0;
  // The selected entry; -1 when none is (after SetListLines, for example).
  virtual int GetListSelection(ControlId id) = 0;

  // --- The drop-down list (combo box).
  // Replaces the entries; afterwards none is selected.
  virtual void SetComboItems(ControlId id, std::span<const std::string_view> items) = 0;
  // Selects entry `index` without notifying; false when it could not.
  virtual bool SetComboSelection(ControlId id, int index) = 0;
  // The selected entry; -1 when none is.
  virtual int GetComboSelection(ControlId id) = 0;

  // --- Check boxes: ticked by the user, read by the program.
  virtual bool IsChecked(ControlId id) = 0;

  // --- The progress bar, as the platform's control behaves: a new range
  // keeps the position, clamped into it, and a position outside the range
  // is clamped.
  virtual void SetProgressRange(ControlId id, int minimum, int maximum) = 0;
  virtual void SetProgressPos(ControlId id, int position) = 0;

  // --- Enabling and the keyboard focus.
  virtual void EnableControl(ControlId id, bool enabled) = 0;
  virtual void SetFocus(ControlId id) = 0;
  // The control with the keyboard focus (while the dialog is not the active
  // window: the one that gets it back); IDC_STATIC when that is no control
  // with an identifier.
  virtual ControlId GetFocus() = 0;

  // --- Modal boxes over the dialog, titled kMessageTitle. They take input
  // as usual, also while the dialog is busy.
  virtual bool AskYesNo(std::string_view text) = 0;  // Yes and No; true for Yes
  virtual void ShowMessage(std::string_view text) = 0;  // OK only
  // A file dialog as WindowOperations.h describes it.
  virtual FileDialogResult ShowFileDialog(const FileDialogRequest& request) = 0;

  // --- What a chip transfer needs while it holds the event loop.
  // Paints control `id` now, without waiting for the event loop.
  virtual void Repaint(ControlId id) = 0;
  // While busy, user input aimed at the dialog (clicks, keys, the wheel,
  // touch) and requests to close it are dropped, not kept for later.
  virtual void SetBusy(bool busy) = 0;
  // Handles what is pending now: paints, the window manager, assistive
  // technology (and, while busy, drops the input), then returns.
  virtual void PumpEvents() = 0;

  // Ends the dialog; its run returns `result` (IDOK or IDCANCEL).
  virtual void EndDialog(int result) = 0;
};

}  // namespace pavok
