#pragma once
// The main dialog as a native Win32 dialog: the controls of the one
// template in res/, made by the system's dialog manager from a template
// built in memory, and the dialog's logic (CProgrammerDlg) reaching them
// through DialogControls. This class maps that interface and the dialog's
// notifications to Win32 messages, and nothing more.

#include <atomic>

#include "CProgrammerDlg.h"
#include "DialogControls.h"

#include <windows.h>

namespace pavok {

class NativeDialog final : public DialogControls {
 public:
  explicit NativeDialog(HINSTANCE instance) : instance_(instance) {}
  NativeDialog(const NativeDialog&) = delete;
  NativeDialog& operator=(const NativeDialog&) = delete;
  ~NativeDialog() override;

  // Runs the dialog modally, as the active window, until it ends; returns
  // IDOK or IDCANCEL, or -1 when the dialog could not be made.
  int Run();

  // Whether a notification's handler runs (with the boxes it opens); tests
  // driving the dialog from another thread wait for it to end before the
  // next click, which would otherwise be dropped, as a person's would.
  bool handling() const { return handling_ > 0; }
  CProgrammerDlg& logic() { return logic_; }

  void SetText(ControlId id, std::string_view utf8) override;
  std::string GetText(ControlId id) override;
  void SetTextLimit(ControlId id, int characters) override;
  void SetListLines(ControlId id, std::span<const std::string> lines) override;
  void SetListLine(ControlId id, int index, std::string_view utf8) override;
  int GetListSelection(ControlId id) override;
  void SetComboItems(ControlId id, std::span<const std::string_view> items) override;
  bool SetComboSelection(ControlId id, int index) override;
  int GetComboSelection(ControlId id) override;
  bool IsChecked(ControlId id) override;
  void SetProgressRange(ControlId id, int minimum, int maximum) override;
  void SetProgressPos(ControlId id, int position) override;
  void EnableControl(ControlId id, bool enabled) override;
  void SetFocus(ControlId id) override;
  ControlId GetFocus() override;
  bool AskYesNo(std::string_view text) override;
  void ShowMessage(std::string_view text) override;
  FileDialogResult ShowFileDialog(const FileDialogRequest& request) override;
  void Repaint(ControlId id) override;
  void SetBusy(bool busy) override { busy_ = busy; }
  void PumpEvents() override;
  void EndDialog(int result) override;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnInitDialog(HWND window);
  void OnCommand(ControlId id, WORD code);
  HWND Item(ControlId id) const { return GetDlgItem(window_, id); }

  HINSTANCE instance_;
  HWND window_ = nullptr;
  HWND inactiveFocus_ = nullptr;  // the focus control when the dialog was last active
  HFONT fixedFont_ = nullptr;
  HFONT creditFont_ = nullptr;
  bool busy_ = false;
  std::atomic<int> handling_ = 0;
  bool quiet_ = false;  // the program moves the focus: no notification
  CProgrammerDlg logic_{*this};
};

// The program's one dialog, on the transport in use.
int RunNativeDialog(HINSTANCE instance);

}  // namespace pavok
