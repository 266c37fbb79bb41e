// The commands that change the buffer or its size as a whole: the chip-type
// list, "весь буфер" and "область", and the padding of the range fields when
// they lose the focus.

#include <QComboBox>
#include <QLineEdit>

#include "CProgrammerDlg.h"
#include "HexView.h"
#include "Narrowing.h"
#include "RangeEdits.h"
#include "RangeFields.h"
#include "UpperCaseValidator.h"

namespace pavok {

namespace {

// The range fields show the whole chip again.
void ShowWholeChip(CProgrammerDlg& dialog) {
  ShowRange(0, static_cast<std::uint16_t>(Buffer().chipSize - 1), dialog);
}

}  // namespace

void CProgrammerDlg::OnChipTypeChange() {
  const int index = Item<QComboBox>(IDC_CHIP_TYPE).currentIndex();
  EmptyHexView(*this);
  if (!SelectChipType(Buffer(), index)) ShowMessage(GetActiveWindow(), kChipTypeErrorMessage);
  // Both images keep their bytes: a switch to a smaller type and back shows
  // the same lines again.
  RenderHexView(*this);
  ShowWholeChip(*this);
}

void CProgrammerDlg::OnClearBuffer() {
  if (!AskYesNo(GetActiveWindow(), kClearBufferQuestion)) return;
  ResetBuffer(Buffer());
  RenderHexView(*this);
  ShowWholeChip(*this);
}

void CProgrammerDlg::OnClearRange() {
  const ClearRangeResult result =
      ClearRange(Buffer(), GetDlgItemText(IDC_RANGE_START), GetDlgItemText(IDC_RANGE_END));
  if (const auto* refused = std::get_if<RangeRefused>(&result)) {
    ShowMessage(GetActiveWindow(), refused->message);
  } else if (const auto* cleared = std::get_if<RangeCleared>(&result)) {
    ShowRange(cleared->cleared.start, cleared->cleared.end, *this);
    RenderHexView(*this);
  }
  // A range that starts beyond the chip cleared nothing: the fields keep
  // what was typed and the view stays as it is.
}

void CProgrammerDlg::OnKillFocusRangeStart() { PadRangeField(IDC_RANGE_START); }

void CProgrammerDlg::OnKillFocusRangeEnd() { PadRangeField(IDC_RANGE_END); }

// Zeros in front up to four characters, written back even when none was
// added. The characters typed stay as they are (not narrowed and widened
// again); narrowing keeps one byte per character, so the count is the same.
void CProgrammerDlg::PadRangeField(ControlId id) {
  auto& field = Item<QLineEdit>(id);
  const QString text = field.text();
  const auto zeros = PadAddressText(NarrowToWindows1251(text)).size() - static_cast<std::size_t>(text.size());
  SetTextAsIs(field, QString(static_cast<qsizetype>(zeros), u'0') + text);
}

}  // namespace pavok
