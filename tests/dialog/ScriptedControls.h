#pragma once
// The dialog's logic over a scripted set of controls: each control of the
// template holds its text, entries, selection, tick or bar as a platform's
// control would, and the helpers act on them the way a person does (typing
// upper-cases where the template says so, a click first takes the focus from
// the field that had it). Questions, messages and file dialogs are answered
// by `window`'s script, which also records them.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "BufferState.h"
#include "CProgrammerDlg.h"
#include "ScriptedWindow.h"

namespace pavok::test {

class ScriptedControls final : public DialogControls {
 public:
  struct Control {
    std::string text;
    int limit = 0;  // 0: none
    std::vector<std::string> entries;
    int selection = -1;
    bool checked = false;  // ticked by Click
    bool enabled = true;
    int progressMin = 0, progressMax = 100, progressPos = 0;
  };

  std::map<ControlId, Control> controls;
  ControlId focus = IDOK;  // the first tab stop
  ScriptedWindow window;   // answers modal boxes and file dialogs
  std::vector<std::string> events;  // "busy", "pump", "idle", "repaint: 1003", "end: 1"
  int endedWith = 0;       // what EndDialog was given; 0 while the dialog runs
  // Runs at every PumpEvents, as a person acting while a transfer runs.
  std::function<void()> duringPump;

  // What a user does.
  void Click(ControlId button);
  void Type(ControlId field, std::string_view utf8);  // replaces the text, as typed
  void MoveFocus(ControlId to);                       // KillFocus for a field left
  void SelectEntry(ControlId list, int entry);        // by the user: SelChange
  void DoubleClickEntry(int entry);                   // in the hex list
  void PressEnter();                                  // IDOK, unless a push button has the focus

  const std::string& Text(ControlId id) { return controls[id].text; }
  const std::string& Entry(int line) { return controls[IDC_HEX_LIST].entries.at(static_cast<std::size_t>(line)); }

  // DialogControls
  void SetText(ControlId id, std::string_view utf8) override { controls[id].text = utf8; }
  std::string GetText(ControlId id) override { return controls[id].text; }
  void SetTextLimit(ControlId id, int characters) override { controls[id].limit = characters; }
  void SetListLines(ControlId id, std::span<const std::string> lines) override;
  void SetListLine(ControlId id, int index, std::string_view utf8) override;
  int GetListSelection(ControlId id) override { return controls[id].selection; }
  void SetComboItems(ControlId id, std::span<const std::string_view> items) override;
  bool SetComboSelection(ControlId id, int index) override;
  int GetComboSelection(ControlId id) override { return controls[id].selection; }
  bool IsChecked(ControlId id) override { return controls[id].checked; }
  void SetProgressRange(ControlId id, int minimum, int maximum) override;
  void SetProgressPos(ControlId id, int position) override;
  void EnableControl(ControlId id, bool enabled) override { controls[id].enabled = enabled; }
  void SetFocus(ControlId id) override { focus = id; }
  ControlId GetFocus() override { return focus; }
  bool AskYesNo(std::string_view text) override { return window.AskYesNo(text); }
  void ShowMessage(std::string_view text) override { window.ShowMessage(text); }
  FileDialogResult ShowFileDialog(const FileDialogRequest& request) override { return window.ShowFileDialog(request); }
  void Repaint(ControlId id) override { events.push_back("repaint: " + std::to_string(id)); }
  void SetBusy(bool busy) override { events.emplace_back(busy ? "busy" : "idle"); }
  void PumpEvents() override;
  void EndDialog(int result) override;

  CProgrammerDlg dialog{*this};
};

// The dialog opened as a front end opens it, with a fresh buffer and its own
// window operations active.
struct OpenedDialog {
  OpenedDialog() {
    Buffer() = BufferState{};
    dialog.OnInitDialog();
  }

  ScriptedControls controls;
  CProgrammerDlg& dialog = controls.dialog;
  ScriptedWindow& window = controls.window;
  ActiveWindowScope scope{&dialog.windowOperations()};
};

}  // namespace pavok::test
