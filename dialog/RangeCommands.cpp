// The commands that change the buffer or its size as a whole: the chip-type
// list, "весь буфер" and "область", and the padding of the range fields when
// they lose the focus.

#include "CProgrammerDlg.h"
#include "HexCodec.h"
#include "Narrowing.h"
#include "RangeEdits.h"

namespace pavok {

void CProgrammerDlg::ShowRange(std::uint16_t start, std::uint16_t end) {
  SetDlgItemText(IDC_RANGE_START, FormatAddress(start));
  SetDlgItemText(IDC_RANGE_END, FormatAddress(end));
}

void CProgrammerDlg::ShowWholeRange() { ShowRange(0, static_cast<std::uint16_t>(Buffer().chipSize - 1)); }

void CProgrammerDlg::OnChipTypeChange() {
  const int index = controls_.GetComboSelection(IDC_CHIP_TYPE);
  EmptyHexView();
  if (!SelectChipType(Buffer(), index)) ShowMessage(GetActiveWindow(), kChipTypeErrorMessage);
  // Both images keep their bytes: a switch to a smaller type and back shows
  // the same lines again.
  RenderHexView();
  ShowWholeRange();
}

void CProgrammerDlg::OnClearBuffer() {
  if (!AskYesNo(GetActiveWindow(), kClearBufferQuestion)) return;
  ResetBuffer(Buffer());
  RenderHexView();
  ShowWholeRange();
}

void CProgrammerDlg::OnClearRange() {
  const ClearRangeResult result =
      ClearRange(Buffer(), GetDlgItemText(IDC_RANGE_START), GetDlgItemText(IDC_RANGE_END));
  if (const auto* refused = std::get_if<RangeRefused>(&result)) {
    ShowMessage(GetActiveWindow(), refused->message);
  } else if (const auto* cleared = std::get_if<RangeCleared>(&result)) {
    ShowRange(cleared->cleared.start, cleared->cleared.end);
    RenderHexView();
  }
  // A range that starts beyond the chip cleared nothing: the fields keep
  // what was typed and the view stays as it is.
}

void CProgrammerDlg::OnKillFocusRangeStart() { PadRangeField(IDC_RANGE_START); }

void CProgrammerDlg::OnKillFocusRangeEnd() { PadRangeField(IDC_RANGE_END); }

// Zeros in front up to four characters, written back even when none was
// added. The characters typed stay as they are (not narrowed and widened
// again); narrowing keeps one byte per character the field shows, so the
// count is the field's.
void CProgrammerDlg::PadRangeField(ControlId id) {
  const std::string text = controls_.GetText(id);
  const std::string narrow = NarrowToWindows1251(text);
  const std::size_t zeros = PadAddressText(narrow).size() - narrow.size();
  SetDlgItemText(id, std::string(zeros, '0') + text);
}

}  // namespace pavok
