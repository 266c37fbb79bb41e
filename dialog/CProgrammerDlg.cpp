#include "CProgrammerDlg.h"

#include <array>

#include "BufferState.h"
#include "HexCodec.h"
#include "Narrowing.h"
#include "SystemTexts.h"
#include "Translation.h"

namespace pavok {

namespace {

// The message map: which notification of which control runs which handler.
// A handler is added by declaring it in CProgrammerDlg.h and adding its line
// here; no two lines may name the same control and notification. The check
// boxes have no line: they tick by themselves and are read only when a
// write starts.
struct MessageMapEntry {
  ControlId control;
  Notification code;
  void (CProgrammerDlg::*handler)();
};

constexpr std::array kMessageMap{
    MessageMapEntry{IDC_CHIP_TYPE, Notification::SelChange, &CProgrammerDlg::OnChipTypeChange},
    MessageMapEntry{IDC_HEX_LIST, Notification::DblClk, &CProgrammerDlg::OnHexListDblClk},
    MessageMapEntry{IDC_SAVE_LINE, Notification::Clicked, &CProgrammerDlg::OnSaveLine},
    MessageMapEntry{IDC_BUFFER_TO_FILE, Notification::Clicked, &CProgrammerDlg::OnBufferToFile},
    MessageMapEntry{IDC_CLEAR_BUFFER, Notification::Clicked, &CProgrammerDlg::OnClearBuffer},
    MessageMapEntry{IDC_CLEAR_LINE, Notification::Clicked, &CProgrammerDlg::OnClearLine},
    MessageMapEntry{IDC_CHIP_TO_BUFFER, Notification::Clicked, &CProgrammerDlg::OnChipToBuffer},
    MessageMapEntry{IDC_FILE_TO_BUFFER, Notification::Clicked, &CProgrammerDlg::OnFileToBuffer},
    MessageMapEntry{IDC_BUFFER_TO_CHIP, Notification::Clicked, &CProgrammerDlg::OnBufferToChip},
    MessageMapEntry{IDC_COMPARE, Notification::Clicked, &CProgrammerDlg::OnCompare},
    MessageMapEntry{IDC_ERASE_CHIP, Notification::Clicked, &CProgrammerDlg::OnEraseChip},
    MessageMapEntry{IDC_CLEAR_RANGE, Notification::Clicked, &CProgrammerDlg::OnClearRange},
    MessageMapEntry{IDC_RANGE_START, Notification::KillFocus, &CProgrammerDlg::OnKillFocusRangeStart},
    MessageMapEntry{IDC_RANGE_END, Notification::KillFocus, &CProgrammerDlg::OnKillFocusRangeEnd},
    MessageMapEntry{IDC_HEX_LIST, Notification::SelChange, &CProgrammerDlg::OnHexListSelChange},
    // The dialog's own: "Выход" (and Enter) and Esc (and the close box).
    MessageMapEntry{IDOK, Notification::Clicked, &CProgrammerDlg::OnOK},
    MessageMapEntry{IDCANCEL, Notification::Clicked, &CProgrammerDlg::OnCancel},
};

constexpr bool EachNotificationHasOneHandler() {
  for (std::size_t i = 0; i < kMessageMap.size(); ++i) {
    for (std::size_t j = i + 1; j < kMessageMap.size(); ++j) {
      if (kMessageMap[i].control == kMessageMap[j].control && kMessageMap[i].code == kMessageMap[j].code) {
        return false;
      }
    }
  }
  return true;
}
static_assert(EachNotificationHasOneHandler());

constexpr int kInitialProgressMaximum = 128;

}  // namespace

void CProgrammerDlg::Notify(ControlId control, Notification code) {
  for (const MessageMapEntry& entry : kMessageMap) {
    if (entry.control != control || entry.code != code) continue;
    const auto handler = entry.handler;
    guard_.Run([this, handler] { (this->*handler)(); });
    return;
  }
}

bool CProgrammerDlg::OnInitDialog() {
  SetDlgItemText(IDC_STATUS, Tr(kPortClosedText));
  FillChipTypeList();
  controls_.SetProgressRange(IDC_PROGRESS, 0, kInitialProgressMaximum);
  controls_.SetTextLimit(IDC_LINE_EDIT, static_cast<int>(kEditLineLength));
  for (const ControlId field : {IDC_RANGE_START, IDC_RANGE_END}) {
    controls_.SetTextLimit(field, static_cast<int>(kAddressTextLength));
  }
  ResetBuffer(Buffer());
  RenderHexView();
  ShowWholeRange();
  return true;
}

// Enter in the line editor is the end of a typed line, not of the program:
// it saves the line as "Сохр." does.
void CProgrammerDlg::OnOK() {
  if (controls_.GetFocus() == IDC_LINE_EDIT) {
    OnSaveLine();
    return;
  }
  EndIfNothingIsLost(IDOK);
}

void CProgrammerDlg::OnCancel() { EndIfNothingIsLost(IDCANCEL); }

// Line edits not yet saved anywhere end with the program, so the user is
// asked first; with nothing unsaved it ends at once.
void CProgrammerDlg::EndIfNothingIsLost(int result) {
  if (Buffer().unsavedFlag != 0 && !AskYesNo(GetActiveWindow(), kUnsavedQuestion)) return;
  controls_.EndDialog(result);
}

std::string CProgrammerDlg::GetDlgItemText(ControlId id) const { return NarrowToWindows1251(controls_.GetText(id)); }

void CProgrammerDlg::FillChipTypeList() {
  std::array<std::string_view, kChipTypes.size()> labels{};
  for (std::size_t i = 0; i < kChipTypes.size(); ++i) labels[i] = kChipTypes[i].label;
  controls_.SetComboItems(IDC_CHIP_TYPE, labels);
  // The chip size that goes with this row is the buffer's initial one.
  if (!controls_.SetComboSelection(IDC_CHIP_TYPE, kInitialChipTypeIndex)) {
    ShowMessage(GetActiveWindow(), "Error SetCurSel");
  }
}

}  // namespace pavok
