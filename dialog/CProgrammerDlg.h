#pragma once
// The main dialog's logic, without any toolkit: its start-up state, the
// message map and the handlers it routes notifications to, the hex view's
// lines, and the transfer guard. It reaches the controls only through
// DialogControls, so every front end shares it. Handlers hold no buffer
// logic; they move texts between the controls and the core functions.
//
// A front end owns one CProgrammerDlg over its controls. While its dialog
// runs, it makes windowOperations() the active window (ActiveWindowScope),
// calls OnInitDialog() once the controls exist, and passes every
// notification to Notify().

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "CommandGuard.h"
#include "ControlIds.h"
#include "DialogControls.h"
#include "DialogWindow.h"

namespace pavok {

class CProgrammerDlg {
 public:
  explicit CProgrammerDlg(DialogControls& controls) : controls_(controls) {}
  CProgrammerDlg(const CProgrammerDlg&) = delete;
  CProgrammerDlg& operator=(const CProgrammerDlg&) = delete;

  // The state the dialog opens with: status, chip-type list, progress range,
  // field limits, the empty buffer, the hex view and the range fields.
  // Returns true: the focus stays where the front end put it (the first tab
  // stop).
  bool OnInitDialog();

  // Runs the handler the message map names for `code` of `control`, unless
  // a transfer is running (then the notification is dropped). A pair
  // without a line in the map does nothing.
  void Notify(ControlId control, Notification code);

  // The window operations the commands reach through GetActiveWindow while
  // the dialog runs: the status field, the progress bar, the check boxes
  // and the modal boxes of these controls.
  WindowOperations& windowOperations() { return window_; }

  // Message handlers (see the message map in CProgrammerDlg.cpp).
  void OnOK();      // "Выход", Enter (in the line editor: saves the line)
  void OnCancel();  // Esc, the close box
  // The hex view and the line editor (HexView.cpp).
  void OnHexListSelChange();
  void OnHexListDblClk();
  void OnSaveLine();
  void OnClearLine();
  // The chip type, the range fields and the clear buttons (RangeCommands.cpp).
  void OnChipTypeChange();
  void OnClearBuffer();
  void OnClearRange();
  void OnKillFocusRangeStart();
  void OnKillFocusRangeEnd();
  // The chip transfers and image files (TransferCommands.cpp).
  void OnChipToBuffer();
  void OnFileToBuffer();
  void OnBufferToFile();
  void OnBufferToChip();
  void OnEraseChip();
  void OnCompare();

  // The hex view (HexView.cpp): rebuilds the list from workImage and
  // chipSize, then the checksum; no entry is selected afterwards.
  void RenderHexView();

 private:
  void EmptyHexView();
  void ShowChecksum();  // "КС: 7f800"
  // Both range fields as four-digit addresses.
  void ShowRange(std::uint16_t start, std::uint16_t end);
  void ShowWholeRange();  // from 0 to the chip's last address
  // A control's text narrowed to Windows-1251, one byte per character, as
  // the hex codec reads it.
  std::string GetDlgItemText(ControlId id) const;
  void SetDlgItemText(ControlId id, std::string_view utf8) { controls_.SetText(id, utf8); }
  void EndIfNothingIsLost(int result);
  void FillChipTypeList();
  void PadRangeField(ControlId field);
  void RedrawLine(int line);

  DialogControls& controls_;
  CommandGuard guard_{controls_};
  DialogWindow window_{controls_, guard_};
  std::vector<std::string> hexLines_;  // what the hex list shows
};

}  // namespace pavok
